// What the page puts off until its first frame is on the screen. Web Audio: making its context
// costs tens of milliseconds, and browsers hold its sound back until the first click anyway.
// The files the page's first download leaves out (the full font, the sounds): fetched once the
// first frame is on screen, or at once when the game needs one sooner, from the same path beside
// the page as in the game folder; written into the page's file system and then announced to the
// game as it polls its events. A file that cannot be fetched (the page was opened offline) is
// tried again when the browser says it is back online, and when the game asks for it again.
mergeInto(LibraryManager.library, {
  $TwirlstickLate__deps: ['$FS', 'twirlstick_open_audio'],
  $TwirlstickLate: {
    font: 'IPAfont00203/ipagp.ttf',
    // A file many times the size of the font is not one of ours.
    maxBytes: 64 * 1024 * 1024,
    retryMs: 5000,
    shown: false,
    files: {}, // path -> 'waiting' (for the first frame), 'fetching', 'failed', 'arrived'
    lastTry: {},
    arrived: [],

    fetchFile: function(path) {
      var files = TwirlstickLate.files;
      files[path] = 'fetching';
      TwirlstickLate.lastTry[path] = performance.now();
      fetch(path).then(function(response) {
        if (!response.ok) throw new Error('HTTP ' + response.status);
        if (TwirlstickLate.keeps()) {
          var copy = response.clone(); // taken before the page reads the body
          TwirlstickLate.keep(function(cache) {
            return cache.put(path, copy);
          });
        }
        return response.arrayBuffer();
      }).then(function(buffer) {
        if (buffer.byteLength > TwirlstickLate.maxBytes) throw new Error('too large');
        var slash = path.lastIndexOf('/');
        if (slash > 0) FS.mkdirTree('/' + path.slice(0, slash));
        FS.writeFile('/' + path, new Uint8Array(buffer));
        files[path] = 'arrived';
        TwirlstickLate.arrived.push(path);
      }).catch(function() {
        files[path] = 'failed';
      });
    },

    // `now`: the game needs the file for what it shows, so it need not wait for the first frame.
    want: function(path, now) {
      var state = TwirlstickLate.files[path];
      if (state === 'fetching' || state === 'arrived') return;
      if (state === 'failed' && performance.now() - TwirlstickLate.lastTry[path] < TwirlstickLate.retryMs) return;
      if (TwirlstickLate.shown || now) TwirlstickLate.fetchFile(path);
      else TwirlstickLate.files[path] = 'waiting';
    },

    audio: null, // the arguments of an open waiting for the first frame

    openAudio: function() {
      var audio = TwirlstickLate.audio;
      TwirlstickLate.audio = null;
      if (audio && !_twirlstick_open_audio(audio[0], audio[1], audio[2]))
        err('twirlstick: the browser gives this page no Web Audio; the game runs silent');
    },

    // For a visit without a network, which web/offline.js answers from what is kept: the page's
    // own files as they are now, each late file as it arrives. Once the worker answers the page
    // it keeps what it answers, so nothing is fetched twice. Best effort: a page that cannot keep
    // them (a full store, a page not served securely) plays on while it is online.
    keeps: function() {
      return !!navigator.serviceWorker && !navigator.serviceWorker.controller && !!window.caches;
    },
    keep: function(what) {
      if (TwirlstickLate.keeps()) caches.open('twirlstick').then(what).catch(function() {});
    },

    start: function() {
      TwirlstickLate.shown = true;
      TwirlstickLate.openAudio();
      if (navigator.serviceWorker) navigator.serviceWorker.register('offline.js').catch(function() {});
      TwirlstickLate.keep(function(cache) {
        return cache.addAll([location.pathname, 'twirlstick.js', 'twirlstick.wasm', 'twirlstick.data']);
      });
      TwirlstickLate.want(TwirlstickLate.font, false);
      for (var path in TwirlstickLate.files)
        if (TwirlstickLate.files[path] === 'waiting') TwirlstickLate.fetchFile(path);
      window.addEventListener('online', function() {
        for (var path in TwirlstickLate.files)
          if (TwirlstickLate.files[path] === 'failed') TwirlstickLate.fetchFile(path);
      });
    },
  },

  twirlstick_open_audio_later__deps: ['$TwirlstickLate'],
  twirlstick_open_audio_later: function(sampleRate, callback, user) {
    if (!window.AudioWorkletNode) return 0; // old browsers, and pages not served securely
    TwirlstickLate.audio = [sampleRate, callback, user];
    if (TwirlstickLate.shown) TwirlstickLate.openAudio();
    return 1;
  },

  twirlstick_cancel_audio_later__deps: ['$TwirlstickLate'],
  twirlstick_cancel_audio_later: function() {
    TwirlstickLate.audio = null;
  },

  // Module.twirlstickFirstFrameMs: when the first frame reached the screen, in the page's clock
  // (milliseconds after navigation), for measuring.
  twirlstick_first_frame__deps: ['$TwirlstickLate'],
  twirlstick_first_frame: function() {
    if (TwirlstickLate.shown) return;
    requestAnimationFrame(function() {
      Module['twirlstickFirstFrameMs'] = performance.now();
      setTimeout(TwirlstickLate.start, 0);
    });
  },

  twirlstick_fetch_later__deps: ['$TwirlstickLate'],
  twirlstick_fetch_later: function(path) {
    TwirlstickLate.want(UTF8ToString(path), false);
    return 1;
  },

  twirlstick_want_full_font__deps: ['$TwirlstickLate'],
  twirlstick_want_full_font: function() {
    TwirlstickLate.want(TwirlstickLate.font, true);
  },

  twirlstick_next_arrival__deps: ['$TwirlstickLate', '$stringToNewUTF8'],
  twirlstick_next_arrival: function() {
    var arrived = TwirlstickLate.arrived;
    return arrived.length ? stringToNewUTF8(arrived.shift()) : 0;
  },
});
