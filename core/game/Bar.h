#pragma once
// The bar the player steers: a segment that turns about its pivot by a fixed angle per frame.
// Its motion is a pure function of its start and the per-frame (fast, switch) flags, which is
// what makes replays and ghosts exact. Headless: ui/render/BarDraw.h draws it.
#include "core/base/Color.h"
#include "core/game/Trail.h"
#include "core/stage/Geometry.h"

// An angle in radians with a flag telling whether it is known to lie in [-pi, pi].
// Reading it for a computation wraps it first (in double, stored back as float).
class Angle {
public:
    Angle(float radians = 0.0f) : value_(radians) {}

    // Wrapped. Nearly every frame's angle is in range already: one test, and no wrapping.
    float value() const {
        if (!wrapped_) wrapped_ = value_ >= -Pi && value_ <= Pi;
        return wrapped_ ? value_ : wrap();
    }
    float raw() const { return value_; } // as stored, possibly unwrapped
    bool isWrapped() const { return wrapped_; }
    void set(float radians) {
        value_ = radians;
        wrapped_ = false;
    }

private:
    static constexpr double Pi = 3.141592653589793;
    float wrap() const;
    mutable float value_;
    mutable bool wrapped_ = false;
};

// The part of a bar's state that decides its motion (no colours, no trail): what a search
// needs to branch from a position and what a determinism check hashes.
struct BarPose {
    Vec2 pivot;
    Angle angle;
    bool reversed = false;
};

class Bar {
public:
    static constexpr int MaxTrail = 12;
    static constexpr float SlowStep = 0.034906585f; // 2 degrees per frame
    static constexpr float FastStep = 0.06981317f;  // 4 degrees per frame
    static constexpr float HalfTurn = 3.1415927f;

    Bar(Vec2 pivot, float length, Color32 normalColor, Color32 fastColor, Angle angle);

    Vec2 freeEnd() const { return freeEndKnown_ ? freeEnd_ : workOutFreeEnd(); }
    void step(bool fast, bool switchPivot);
    void reset(Vec2 pivot, float angle);

    Vec2 pivot() const { return pivot_; }
    const Angle& angle() const { return angle_; }
    bool reversed() const { return reversed_; }
    bool fast() const { return fast_; }
    Color32 color() const { return fast_ ? fastColor_ : normalColor_; } // as it shows this frame
    float length() const { return length_; }
    const Trail<MaxTrail>& trail() const { return trail_; }

    BarPose pose() const { return {pivot_, angle_, reversed_}; }
    // Continues from a pose taken with pose(); the trail is left as it is.
    void setPose(const BarPose& p) {
        pivot_ = p.pivot;
        angle_ = p.angle;
        reversed_ = p.reversed;
        freeEndKnown_ = false;
    }

    // Alpha of trail segment i (newest first) for a colour of alpha a.
    static int trailAlpha(int i, int a) { return i == 0 ? a : (13 - i) * a / 12; }

private:
    Vec2 workOutFreeEnd() const;
    void recordTrail();

    Color32 normalColor_;
    Color32 fastColor_;
    bool reversed_ = false;
    bool fast_ = false;
    Vec2 pivot_;
    float length_;
    float nominalLength_;
    Angle angle_;
    // The free end is asked for several times a frame (trail, collision, search); its sine and
    // cosine are worked out once per pose and kept, the same bits every time.
    mutable Vec2 freeEnd_;
    mutable bool freeEndKnown_ = false;
    Trail<MaxTrail> trail_;
};
