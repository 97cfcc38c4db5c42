#include "ui/render/PartialRedraw.h"

#include "core/stage/View.h"
#include "ui/platform/Platform.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {
// The swap count when the frame now drawn was said to be presented as drawn; an expectation
// left over from an earlier frame, which no screen of this kind took, never counts.
std::uint64_t presentedAt = ~std::uint64_t(0);

// Tags run from 1 to 254, the swap count they were written at: 0 and 255 are what clears leave.
std::uint8_t tagOf(std::uint64_t swap) {
    return std::uint8_t(1 + swap % 254);
}

std::uint8_t readCornerTag() {
    std::uint8_t pixel[4] = {0, 0, 0, 0};
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return pixel[3];
}

void writeCornerTag(std::uint8_t tag) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 1, 1);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, float(tag) / 255.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

// Window pixels covering `r` (view units), a pixel more on every side for the lines' rounding.
void scissorTo(const Rect& r) {
    GLint v[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, v);
    const float scale = float(v[2]) / float(ViewWidth);
    const int left = int(std::floor((r.left - ViewRect.left) * scale)) - 2;
    const int bottom = int(std::floor((r.bottom - ViewRect.bottom) * scale)) - 2;
    const int right = int(std::ceil((r.right - ViewRect.left) * scale)) + 2;
    const int top = int(std::ceil((r.top - ViewRect.bottom) * scale)) + 2;
    glEnable(GL_SCISSOR_TEST);
    glScissor(v[0] + left, v[1] + bottom, std::max(right - left, 0), std::max(top - bottom, 0));
}

Rect unite(const Rect& a, const Rect& b) {
    return Rect(std::min(a.left, b.left), std::min(a.bottom, b.bottom), std::max(a.right, b.right),
                std::max(a.top, b.top));
}
} // namespace

// The browser's buffer is cleared after every frame it shows.
bool PartialRedrawWorks() {
#ifdef __EMSCRIPTEN__
    return false;
#else
    static const bool works = [] {
        const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
        const std::string renderer = name ? name : "";
        GLint alphaBits = 0;
        glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
        const bool software = renderer.find("llvmpipe") != std::string::npos ||
                              renderer.find("softpipe") != std::string::npos ||
                              renderer.find("Software") != std::string::npos;
        return software && alphaBits >= 8;
    }();
    return works;
#endif
}

void ExpectPresentedFrame() {
    presentedAt = platform::swapCount();
}

void Fingerprint::AddBytes(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i)
        hash_ = (hash_ ^ bytes[i]) * 1099511628211ull;
}

void PartialRedraw::Begin(std::uint64_t still, const Rect& moving) {
    tagging_ = presentedAt == platform::swapCount() && PartialRedrawWorks();
    presentedAt = ~std::uint64_t(0);
    current_ = {platform::swapCount() + 1, still, moving};
    if (!tagging_) return;
    const std::uint8_t tag = readCornerTag();
    for (const Tagged& earlier : tagged_) {
        // The buffer is at most as old as the swap chain is long.
        if (earlier.swap == 0 || current_.swap - earlier.swap > tagged_.size()) break;
        if (tagOf(earlier.swap) != tag) continue;
        if (earlier.still == still) scissorTo(unite(earlier.moving, moving));
        return;
    }
}

void PartialRedraw::End() {
    if (tagging_) {
        writeCornerTag(tagOf(current_.swap));
        std::rotate(tagged_.rbegin(), tagged_.rbegin() + 1, tagged_.rend());
        tagged_[0] = current_;
    }
    glDisable(GL_SCISSOR_TEST);
}
