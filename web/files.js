// Before the game starts: the working folder comes back from IndexedDB, and from then on every
// file the game places (it writes a temporary file and renames it over the old one) or deletes
// is written back to IndexedDB.
var Module = typeof Module != 'undefined' ? Module : {};
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  // The game's own default for $XDG_DATA_HOME; the page's HOME is Emscripten's /home/web_user.
  var folder = '/home/web_user/.local/share/TWIRLSTICK_FILES';
  var status = Module['setStatus'] || function() {};
  FS.mkdirTree(folder);
  try {
    FS.mount(IDBFS, {}, folder);
  } catch (e) {
    status('files', 'Best runs and stages cannot be kept in this browser (' + e + ').');
    return;
  }
  var syncing = false, again = false, lost = false;
  var sync = function() {
    if (syncing) {
      again = true;
      return;
    }
    syncing = true;
    Module['twirlstickSaving'] = true;
    FS.syncfs(false, function(error) {
      syncing = false;
      if (error && !lost) {
        lost = true; // a full or blocked store: said once, and the game plays on
        status('files', 'Saving in the browser failed (' + error + '); best runs and stages last until the page closes.');
      }
      if (again) {
        again = false;
        sync();
      } else {
        Module['twirlstickSaving'] = false;
      }
    });
  };
  var inFolder = function(path) {
    return typeof path == 'string' && path.indexOf(folder + '/') === 0;
  };
  ['rename', 'unlink'].forEach(function(name) {
    var call = FS[name];
    FS[name] = function(path, other) {
      var result = call.apply(FS, arguments);
      if (inFolder(path) || inFolder(other)) sync();
      return result;
    };
  });
  // A save not yet in IndexedDB is lost with the page: the browser asks before closing it.
  window.addEventListener('beforeunload', function(event) {
    if (!Module['twirlstickSaving']) return;
    event.preventDefault();
    event.returnValue = '';
  });
  addRunDependency('twirlstick-files');
  FS.syncfs(true, function(error) {
    if (error) status('files', 'Stored best runs and stages could not be read (' + error + '); starting without them.');
    removeRunDependency('twirlstick-files');
  });
});
