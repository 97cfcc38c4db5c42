// A stage carried in the page's link, as #stage= and the stage file in base64url: decoded into the
// page's file system for the game to take in at start (through the same reader as a dropped file).
var Module = typeof Module != 'undefined' ? Module : {};
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  var MaxBytes = 64 * 1024; // the largest stage file
  var hash = window.location.hash;
  if (hash.indexOf('#stage=') !== 0) return;
  // Taken once: a reload must not add the same stage again.
  history.replaceState(null, '', window.location.pathname + window.location.search);
  var status = Module['setStatus'] || function() {};
  var text = hash.slice('#stage='.length);
  if (text.length > Math.ceil(MaxBytes / 3) * 4 + 4) {
    status('link', 'The stage in this link is larger than any stage; nothing was added.');
    return;
  }
  var bare = text.replace(/=+$/, '');
  if (!/^[A-Za-z0-9_-]*={0,2}$/.test(text) || bare.length % 4 === 1) {
    status('link', 'The stage in this link is damaged; nothing was added.');
    return;
  }
  var binary = atob(bare.replace(/-/g, '+').replace(/_/g, '/') + '==='.slice((bare.length + 3) % 4));
  var bytes = new Uint8Array(binary.length);
  for (var i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
  FS.mkdirTree('/tmp/linked');
  FS.writeFile('/tmp/linked/stage-from-link', bytes);
  Module['twirlstickLinkedStage'] = '/tmp/linked/stage-from-link';
});
