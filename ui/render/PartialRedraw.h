#pragma once
// A screen that stands still but for a small moving part (the title's bar) draws only where that
// part is and was, when the window still holds the screen's last frame in its back buffer. A
// software renderer pays for every pixel it fills (a text or panel costs it twenty times a
// clear), so the idle title then costs little more than the swap. A GPU fills the screen for
// next to nothing and would stall on the read this needs, and a browser clears its buffer after
// every frame: both always draw in full.
//
// The back buffer's age is read from the alpha of the window's corner pixel, where each frame
// drawn this way leaves a tag; a frame that cannot be recognised, or whose still part differs,
// is drawn in full.
#include "core/stage/Geometry.h"
#include "ui/render/Draw.h"

#include <array>
#include <cstdint>
#include <vector>

// Only a software renderer whose back buffer has alpha to carry the tag draws in parts.
bool PartialRedrawWorks();

// Said by whoever draws the next frame and presents it exactly as the scene leaves it. A box
// drawn over the scene, or a frame drawn for any other reason, is drawn in full and not tagged.
void ExpectPresentedFrame();

// The bytes of what a frame's still part draws, and anything else it depends on: two frames with
// the same fingerprint show the same still picture.
class Fingerprint {
public:
    template <class T> void Add(const std::vector<T>& items) {
        AddBytes(items.data(), items.size() * sizeof(T));
    }
    void Add(std::uint64_t value) { AddBytes(&value, sizeof value); }
    std::uint64_t Value() const { return hash_; }

private:
    void AddBytes(const void* data, std::size_t size);
    std::uint64_t hash_ = 14695981039346656037ull; // FNV-1a
};

class PartialRedraw {
public:
    // Starts a frame; `moving` covers all that moves in it, in view units under the default
    // camera. Where the back buffer holds an earlier frame of this screen with the same still
    // part, the scissor limits drawing to where the moving part was then and is now.
    void Begin(std::uint64_t still, const Rect& moving);
    // After all of the frame is drawn: tags it if it will be presented as drawn, lifts the scissor.
    void End();

private:
    struct Tagged {
        std::uint64_t swap = 0; // the swap count when it was tagged; 0: none
        std::uint64_t still = 0;
        Rect moving;
    };
    // Swap chains have up to three buffers: the last three frames tagged, newest first.
    std::array<Tagged, 3> tagged_{};
    Tagged current_;
    bool tagging_ = false;
};
