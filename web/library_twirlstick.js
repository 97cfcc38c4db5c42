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

  // An AudioWorklet plays what the page's thread mixes: the worklet asks over its port for the
  // next block as it starts on one, and the mixer answers between frames, on the thread where
  // it always runs, so it needs no lock. Three blocks of 1024 frames (70 ms at 44.1 kHz) stand
  // queued, so a frame being drawn does not starve it. Emscripten's own worklet support needs
  // threads and a later Emscripten than Debian's; this one needs neither. The worklet's script
  // comes from a Blob, so the page works offline and needs no file of its own. Browsers offer
  // AudioWorklet only to secure pages (https, or this machine): elsewhere the game runs silent.
  twirlstick_open_audio__deps: ['malloc'],
  twirlstick_open_audio: function(sampleRate, callback, user) {
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context || !window.AudioWorkletNode) return 0;
    var context;
    try {
      context = new Context({sampleRate: sampleRate});
    } catch (e) {
      return 0;
    }
    var frames = 1024;
    var queued = 3;
    var buffer = _malloc(frames * 2);
    var audio = {context: context, node: null, buffer: buffer};
    var mix = function() {
      {{{ makeDynCall('viii', 'callback') }}}(user, buffer, frames);
      var samples = HEAP16.subarray(buffer >> 1, (buffer >> 1) + frames);
      var block = new Float32Array(frames);
      for (var i = 0; i < frames; ++i) block[i] = samples[i] / 32768;
      audio.node.port.postMessage(block, [block.buffer]);
    };
    var worklet = 'registerProcessor("twirlstick-mixer", class extends AudioWorkletProcessor {' +
      'constructor() { super(); this.blocks = []; this.at = 0;' +
      '  this.port.onmessage = (event) => this.blocks.push(event.data); }' +
      'process(inputs, outputs) {' +
      '  const out = outputs[0][0]; let i = 0;' +
      '  while (i < out.length && this.blocks.length) {' +
      '    const block = this.blocks[0]; const n = Math.min(out.length - i, block.length - this.at);' +
      '    out.set(block.subarray(this.at, this.at + n), i); i += n; this.at += n;' +
      '    if (this.at === block.length) { this.blocks.shift(); this.at = 0; this.port.postMessage(0); }' +
      '  }' +
      '  out.fill(0, i);' + // a late block is heard as a gap, never as stale sound
      '  return true; } });';
    var url = URL.createObjectURL(new Blob([worklet], {type: 'application/javascript'}));
    context.audioWorklet.addModule(url).then(function() {
      URL.revokeObjectURL(url);
      if (Module['twirlstickAudio'] !== audio) return; // closed meanwhile
      audio.node = new AudioWorkletNode(context, 'twirlstick-mixer',
                                        {numberOfInputs: 0, outputChannelCount: [1]});
      audio.node.port.onmessage = mix;
      for (var k = 0; k < queued; ++k) mix();
      audio.node.connect(context.destination);
    }, function(error) {
      err('twirlstick: the browser refused the sound worklet (' + error + '); the game runs silent');
    });
    var resume = function() {
      if (context.state === 'suspended') context.resume();
    };
    ['mousedown', 'keydown', 'touchstart'].forEach(function(type) {
      window.addEventListener(type, resume, true);
    });
    Module['twirlstickAudio'] = audio;
    return 1;
  },

  twirlstick_close_audio__deps: ['free'],
  twirlstick_close_audio: function() {
    var audio = Module['twirlstickAudio'];
    if (!audio) return;
    Module['twirlstickAudio'] = null;
    if (audio.node) {
      audio.node.port.onmessage = null;
      audio.node.disconnect();
    }
    audio.context.close();
    _free(audio.buffer);
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
      status('link', 'The browser did not let the page use the clipboard (' + error + '); the stage was not copied.',
             'ブラウザーがクリップボードを使わせなかったため（' + error + '）、ステージはコピーしていません。');
    };
    if (!navigator.clipboard) return refused('no clipboard');
    navigator.clipboard.writeText(link).then(function() {
      status('link', '');
    }, refused);
  },

  // twirlstick-server marks the page it serves; a page from any other host has no records to
  // read at its origin, and asking would only fill the console with 404s.
  twirlstick_records_at_origin: function() {
    return document.querySelector('meta[name="twirlstick-records"]') ? 1 : 0;
  },

  twirlstick_touch_screen: function() {
    return navigator.maxTouchPoints > 0 ? 1 : 0;
  },

  twirlstick_alert: function(caption, text) {
    window.alert(UTF8ToString(caption) + '\n\n' + UTF8ToString(text));
  },

  twirlstick_hold_unsaved_work: function(holds) {
    var page = Module['twirlstickUnsaved'] = Module['twirlstickUnsaved'] || {
      holds: false,
      ask: function(event) {
        event.preventDefault();
        event.returnValue = ''; // older browsers ask only when this is set
      },
    };
    if (!!holds === page.holds) return;
    page.holds = !!holds;
    if (page.holds) window.addEventListener('beforeunload', page.ask);
    else window.removeEventListener('beforeunload', page.ask);
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
