#pragma once
// What the platform under the game can do, in the one place that knows which platform it is:
// the rest of the code asks these, never the compiler's platform macros.

#ifdef __EMSCRIPTEN__
// A plain page has no threads (they need a cross-origin isolated page, which a static server
// does not give) and its file system no hard links.
inline constexpr bool PlatformHasThreads = false;
inline constexpr bool PlatformHasHardLinks = false;
#else
inline constexpr bool PlatformHasThreads = true;
inline constexpr bool PlatformHasHardLinks = true;
#endif
