// Files dropped on the page, and the clipboard's text as the browser hands it over (a paste
// event; pages may not read the clipboard whenever they like).
var Module = typeof Module != 'undefined' ? Module : {};
Module['twirlstickDrops'] = [];
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  // Larger than any stage: kept to this many bytes plus one, so the game's reader still refuses
  // it as too large without the page holding the whole file.
  var KeptBytes = 1 << 20;
  // A drop of thousands would hold them all in memory at once.
  var TakenAtOnce = 100;
  var folder = '/tmp/dropped';
  var count = 0;
  FS.mkdirTree(folder);
  var take = function(file) {
    var reader = new FileReader();
    reader.onload = function() {
      // Each in its own folder, so two files of one name both arrive under that name.
      var place = folder + '/' + (++count);
      var name = file.name.replace(/[\/\0]/g, '_').slice(0, 200) || 'stage';
      FS.mkdir(place);
      FS.writeFile(place + '/' + name, new Uint8Array(reader.result));
      Module['twirlstickDrops'].push(place + '/' + name);
    };
    reader.readAsArrayBuffer(file.slice(0, KeptBytes + 1));
  };
  var canvas = Module['canvas'];
  canvas.addEventListener('dragover', function(event) {
    event.preventDefault();
  });
  canvas.addEventListener('drop', function(event) {
    event.preventDefault();
    var files = event.dataTransfer ? event.dataTransfer.files : [];
    for (var i = 0; i < files.length && i < TakenAtOnce; ++i) take(files[i]);
    // The rest are not taken: the player hears which, so none is thought imported.
    var left = [];
    for (var j = TakenAtOnce; j < files.length; ++j) left.push(files[j].name);
    var status = Module['setStatus'] || function() {};
    var names = left.slice(0, 3).join(', ') + (left.length > 3 ? ', …' : '');
    if (!left.length) status('drop', '');
    else
      status('drop', 'Only ' + TakenAtOnce + ' files are taken in at once: the other ' + left.length + ' (' + names +
                     ') were not. Drop them again.',
             '一度に取り込めるのは ' + TakenAtOnce + ' ファイルまでです。残りの ' + left.length + ' ファイル（' + names +
             '）は取り込んでいません。もう一度ドロップしてください。');
  });
  document.addEventListener('paste', function(event) {
    if (event.clipboardData) Module['twirlstickPasted'] = event.clipboardData.getData('text/plain');
  });
  canvas.addEventListener('contextmenu', function(event) {
    event.preventDefault(); // the right button is the game's fast button
  });
});
