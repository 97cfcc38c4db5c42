// A stage carried in the page's link, as #stage= and the stage file in base64url: decoded into the
// page's file system for the game to take in (through the same reader as a dropped file), at
// start and whenever such a link is pasted into the open tab. The game's reader judges the file
// and says what became of it in the player's language: text that is not base64url arrives as an
// empty file, one too large as it is (the address bar bounds it), and the reader refuses both.
var Module = typeof Module != 'undefined' ? Module : {};
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  var takeLink = function() {
    var hash = window.location.hash;
    if (hash.indexOf('#stage=') !== 0) return;
    // Taken once: a reload must not add the same stage again.
    history.replaceState(null, '', window.location.pathname + window.location.search);
    var text = hash.slice('#stage='.length);
    var bare = text.replace(/=+$/, '');
    var binary = '';
    if (/^[A-Za-z0-9_-]*={0,2}$/.test(text) && bare.length % 4 !== 1)
      binary = atob(bare.replace(/-/g, '+').replace(/_/g, '/') + '==='.slice((bare.length + 3) % 4));
    var bytes = new Uint8Array(binary.length);
    for (var i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
    FS.mkdirTree('/tmp/linked');
    FS.writeFile('/tmp/linked/stage-from-link', bytes);
    Module['twirlstickLinkedStage'] = '/tmp/linked/stage-from-link';
  };
  takeLink();
  window.addEventListener('hashchange', takeLink);
});
