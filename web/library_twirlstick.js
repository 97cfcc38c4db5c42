// The page's side of the browser platform layer (ui/platform/web/WebPage.h declares it).
mergeInto(LibraryManager.library, {
  // Browser.createContext also starts the legacy GL emulation's immediate mode, which a context
  // made through html5.h would leave unset.
  twirlstick_create_context__deps: ['$Browser', '$GL'],
  twirlstick_create_context: function() {
    var attributes = {antialias: false, alpha: false, depth: false, stencil: false, majorVersion: 1,
                      enableExtensionsByDefault: false};
    return Browser.createContext(Module['canvas'], true, true, attributes) ? 1 : 0;
  },

  twirlstick_fit_canvas: function() {
    var canvas = Module['canvas'];
    var ratio = window.devicePixelRatio || 1;
    var width = Math.max(1, Math.round(canvas.clientWidth * ratio));
    var height = Math.max(1, Math.round(canvas.clientHeight * ratio));
    if (canvas.width === width && canvas.height === height) return 0;
    canvas.width = width;
    canvas.height = height;
    return 1;
  },

  // ScriptProcessorNode runs on the page's thread, so the mixer needs no lock; 2048 frames
  // (46 ms at 44.1 kHz) keep it from starving while a frame is drawn.
  twirlstick_open_audio__deps: ['malloc'],
  twirlstick_open_audio: function(sampleRate, callback, user) {
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return 0;
    var context;
    try {
      context = new Context({sampleRate: sampleRate});
    } catch (e) {
      return 0;
    }
    var frames = 2048;
    var buffer = _malloc(frames * 2);
    var node = context.createScriptProcessor(frames, 0, 1);
    node.onaudioprocess = function(event) {
      {{{ makeDynCall('viii', 'callback') }}}(user, buffer, frames);
      var out = event.outputBuffer.getChannelData(0);
      var samples = HEAP16.subarray(buffer >> 1, (buffer >> 1) + frames);
      for (var i = 0; i < frames; ++i) out[i] = samples[i] / 32768;
    };
    node.connect(context.destination);
    var resume = function() {
      if (context.state === 'suspended') context.resume();
    };
    ['mousedown', 'keydown', 'touchstart'].forEach(function(type) {
      window.addEventListener(type, resume, true);
    });
    Module['twirlstickAudio'] = {context: context, node: node, buffer: buffer};
    return 1;
  },

  twirlstick_close_audio__deps: ['free'],
  twirlstick_close_audio: function() {
    var audio = Module['twirlstickAudio'];
    if (!audio) return;
    audio.node.onaudioprocess = null;
    audio.node.disconnect();
    audio.context.close();
    _free(audio.buffer);
    Module['twirlstickAudio'] = null;
  },

  twirlstick_pasted_text__deps: ['$stringToNewUTF8'],
  twirlstick_pasted_text: function() {
    return stringToNewUTF8(Module['twirlstickPasted'] || '');
  },

  twirlstick_linked_stage__deps: ['$stringToNewUTF8'],
  twirlstick_linked_stage: function() {
    var path = Module['twirlstickLinkedStage'];
    Module['twirlstickLinkedStage'] = null;
    return path ? stringToNewUTF8(path) : 0;
  },

  twirlstick_show_status: function(key, text) {
    if (Module['setStatus']) Module['setStatus'](UTF8ToString(key), UTF8ToString(text));
  },

  twirlstick_copy_stage_link: function(bytes, size) {
    var binary = '';
    for (var i = 0; i < size; ++i) binary += String.fromCharCode(HEAPU8[bytes + i]);
    var link = window.location.origin + window.location.pathname + '#stage=' +
               btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
    var status = Module['setStatus'] || function() {};
    var refused = function(error) {
      status('link', 'The browser did not let the page use the clipboard (' + error + '); the stage was not copied.');
    };
    if (!navigator.clipboard) return refused('no clipboard');
    navigator.clipboard.writeText(link).then(function() {
      status('link', '');
    }, refused);
  },

  twirlstick_alert: function(caption, text) {
    window.alert(UTF8ToString(caption) + '\n\n' + UTF8ToString(text));
  },

  twirlstick_game_ended: function() {
    if (Module['onGameEnded']) Module['onGameEnded']();
  },

  twirlstick_next_drop__deps: ['$stringToNewUTF8'],
  twirlstick_next_drop: function() {
    var drops = Module['twirlstickDrops'];
    return drops && drops.length ? stringToNewUTF8(drops.shift()) : 0;
  },

  twirlstick_input_poll: function() {
    if (Module['onInputPoll']) Module['onInputPoll']();
  },

  // Hidden tabs get no animation frames: the game sleeps until the player comes back.
  twirlstick_wait_frame__deps: ['$Asyncify'],
  // Module.twirlstickFrames counts the yields and the milliseconds the game worked between them,
  // for measuring: the page's CPU per frame.
  twirlstick_wait_frame: function(ms) {
    return Asyncify.handleSleep(function(wakeUp) {
      var start = performance.now();
      var frames = Module['twirlstickFrames'] = Module['twirlstickFrames'] || {count: 0, busyMs: 0, woke: start};
      frames.count++;
      frames.busyMs += start - frames.woke;
      requestAnimationFrame(function() {
        var left = ms - (performance.now() - start);
        var wake = function() {
          frames.woke = performance.now();
          wakeUp();
        };
        if (left >= 1) setTimeout(wake, left);
        else wake();
      });
    });
  },
});
