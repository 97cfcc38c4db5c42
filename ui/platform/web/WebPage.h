#pragma once
// The page's side of the browser layer, written in JavaScript (web/library_twirlstick.js).
#include <cstdint>

extern "C" {
// A WebGL context on the canvas through the legacy GL emulation's own maker; 0 when the browser
// refuses one.
int twirlstick_create_context();
// Resizes the canvas to its CSS size times the pixel ratio; 1 when the size changed.
int twirlstick_fit_canvas();
// Web Audio through a worklet, started by the page's first click or key (browsers refuse it
// earlier): `callback` fills mono 16-bit frames into its buffer. 0 without an AudioWorklet.
int twirlstick_open_audio(int sampleRate, void (*callback)(void*, std::int16_t*, int), void* user);
void twirlstick_close_audio();
// The text of the page's last paste event, as a new UTF-8 string the caller frees.
char* twirlstick_pasted_text();
// The file a #stage= link carried (at start or pasted since), as a new UTF-8 string the caller
// frees; null without a new one.
char* twirlstick_linked_stage();
// A line under the canvas, in place of the last one under the same key ("" removes it).
void twirlstick_show_status(const char* key, const char* text);
// Writes this page's address with #stage= and the bytes in base64url to the clipboard; the page
// says so when the browser refuses.
void twirlstick_copy_stage_link(const char* bytes, int size);
void twirlstick_alert(const char* caption, const char* text);
// The game ended: the page says so in place of the canvas.
void twirlstick_game_ended();
// 1 while closing the page would lose the editor's unsaved work: the browser asks first.
void twirlstick_hold_unsaved_work(int holds);
// 1 when the browser says the page's screen takes touches.
int twirlstick_touch_screen();
// 1 when the page came from twirlstick-server, which marks the pages it serves.
int twirlstick_records_at_origin();
// The next file dropped on the page, written into the page's file system: its path as a new
// UTF-8 string the caller frees, or null when none is waiting.
char* twirlstick_next_drop();
// Called as each frame's input is polled. A test that plays by input hooks the page here, so its
// events for frame n arrive just before frame n reads them, as a player's would have.
void twirlstick_input_poll();
// The game's first frame is drawn: the files the first download left out are fetched once it is
// on screen.
void twirlstick_first_frame();
// Fetches a data file the first download left out (web/library_late.js); 1 when it will come.
int twirlstick_fetch_later(const char* path);
// twirlstick_open_audio once the first frame is on the screen; 0 without Web Audio. A failure
// then is said on the console, and the game runs silent.
int twirlstick_open_audio_later(int sampleRate, void (*callback)(void*, std::int16_t*, int), void* user);
// Web Audio is no longer wanted: an open still waiting for the first frame is dropped.
void twirlstick_cancel_audio_later();
// A glyph the font subset lacks is on screen: the full font is fetched now, not after the first
// frame.
void twirlstick_want_full_font();
// The next fetched file written into the page's file system: its path as a new UTF-8 string the
// caller frees, or null when none has arrived.
char* twirlstick_next_arrival();
// Sleeps, yielding to the browser, until the next animation frame or `ms` milliseconds,
// whichever is later.
void twirlstick_wait_frame(double ms);
}
