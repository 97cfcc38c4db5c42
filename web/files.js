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
    status('files', 'Best runs and stages cannot be kept in this browser (' + e + ').',
           'このブラウザーではベスト記録とステージを保存できません（' + e + '）。');
    return;
  }
  // IndexedDB says that a store is full (or over the site's quota) by aborting the transaction,
  // and that another page of the site holds the store open at an older version by a blocked
  // open; Emscripten's IDBFS listens for neither, so its answer never came and saving stopped
  // for good. Both now end the sync under way with their reason.
  var current = null; // the answer of the sync under way
  var finish = function(error) {
    if (current) current(error);
  };
  var stores = IDBFS.indexedDB;
  IDBFS.indexedDB = function() {
    var indexedDB = stores();
    return {
      open: function(name, version) {
        var request = indexedDB.open(name, version);
        request.addEventListener('blocked', function() {
          finish('another page of this site holds the store open; close it and reload');
        });
        request.addEventListener('success', function() {
          var db = request.result;
          // A newer page of the site asks for the store: this page lets go rather than block it.
          db.onversionchange = function() {
            db.close();
            delete IDBFS.dbs[name];
          };
          var transaction = db.transaction;
          db.transaction = function() {
            var made = transaction.apply(db, arguments);
            made.addEventListener('abort', function() {
              finish(made.error ? made.error.name + ': ' + made.error.message : 'the store refused it');
            });
            return made;
          };
        });
        return request;
      },
    };
  };
  var syncfs = function(populate, callback) {
    var answered = false;
    var answer = function(error) {
      if (answered) return; // a late answer of a sync already ended
      answered = true;
      if (current === answer) current = null;
      callback(error);
    };
    current = answer;
    try {
      FS.syncfs(populate, answer);
    } catch (e) {
      answer(e);
    }
  };
  var syncing = false, again = false, lost = false, unread = false, shared = false;
  var sync = function() {
    // Stored files that could not be read must not be overwritten by this page's few, nor the
    // files another tab saved since this one read them by this tab's older copy.
    if (unread || shared) return;
    if (syncing) {
      again = true;
      return;
    }
    syncing = true;
    Module['twirlstickSaving'] = true;
    syncfs(false, function(error) {
      syncing = false;
      if (error && !lost) {
        lost = true; // a full or blocked store: said once, and the game plays on
        status('files', 'Saving in the browser failed (' + error + '); best runs and stages last until the page closes.',
               'ブラウザーへの保存に失敗しました（' + error + '）。ベスト記録とステージはページを閉じるまでしか残りません。');
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
  syncfs(true, function(error) {
    if (error) {
      unread = true;
      status('files', 'Stored best runs and stages could not be read (' + error +
                      '); starting without them, and nothing is saved until the page is reloaded.',
             '保存したベスト記録とステージを読めませんでした（' + error +
             '）。それなしで始め、ページを再読み込みするまで何も保存しません。');
    }
    removeRunDependency('twirlstick-files');
  });
  // A sync writes this tab's whole copy of the folder over the store, deleting what is not in
  // it: a second tab of the page would delete what the first saved after the second opened.
  // The first tab holds the store's lock while it is open; a later one reads but keeps nothing.
  // The game starts once that is known. Browsers give locks to secure pages only (https, or this
  // machine).
  if (!navigator.locks) return;
  addRunDependency('twirlstick-lock');
  var known = function() {
    removeRunDependency('twirlstick-lock');
  };
  navigator.locks.request(folder, {ifAvailable: true}, function(lock) {
    if (!lock) {
      shared = true;
      status('files', 'The game is open in another tab, which keeps the best runs and stages: what you do ' +
                      'here lasts only until this tab closes. Close the other tab and reload this one to keep it.',
             'ゲームは別のタブでも開いていて、ベスト記録とステージはそちらが保存します。このタブでの記録は' +
             'タブを閉じると消えます。残すには別のタブを閉じて、このタブを再読み込みしてください。');
    }
    known();
    return lock && new Promise(function() {}); // held until the page closes
  }).catch(known);
});
