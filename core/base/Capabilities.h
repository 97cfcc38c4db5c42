#pragma once
// What the platform under the game can do, in the one place that knows which platform it is:
// the rest of the code asks these, never the compiler's platform macros.

#ifdef __EMSCRIPTEN__
// A plain page has no threads (they need a cross-origin isolated page, which a static server
// does not give) and its file system no hard links.
inline constexpr bool PlatformHasThreads = false;
inline constexpr bool PlatformHasHardLinks = false;
// A page talks to the server that served it, its own origin (and, served by twirlstick-server,
// reads its records unasked: platform::recordsAtOrigin); the desktop game talks to no server
// until told to.
inline constexpr bool PlatformIsServedPage = true;
#else
inline constexpr bool PlatformHasThreads = true;
inline constexpr bool PlatformHasHardLinks = true;
inline constexpr bool PlatformIsServedPage = false;
#endif
