#include "core/game/Bar.h"

#include <cmath>

namespace {
constexpr double TwoPi = 6.283185307179586;
// Beyond this the add/subtract loop would take too long (or forever, for infinities); such
// angles only come from damaged stage files.
constexpr double LoopWrapLimit = 1.0e6;
} // namespace

float Angle::wrap() const {
    double v = value_;
    if (!std::isfinite(v)) v = 0.0;
    if (std::fabs(v) > LoopWrapLimit) v = std::fmod(v, TwoPi);
    while (v < -Pi)
        v += TwoPi;
    while (v > Pi)
        v -= TwoPi;
    value_ = float(v);
    wrapped_ = true;
    return value_;
}

Bar::Bar(Vec2 pivot, float length, Color32 normalColor, Color32 fastColor, Angle angle)
    : normalColor_(normalColor), fastColor_(fastColor), pivot_(pivot), length_(length),
      nominalLength_(length), angle_(angle) {
    angle_.value();
}

Vec2 Bar::workOutFreeEnd() const {
    const float a = angle_.value();
    freeEnd_ = {pivot_.x + length_ * std::cos(a), pivot_.y + length_ * std::sin(a)};
    freeEndKnown_ = true;
    return freeEnd_;
}

void Bar::step(bool fast, bool switchPivot) {
    if (switchPivot) {
        pivot_ = freeEnd();
        angle_.set(angle_.value() + HalfTurn);
        freeEndKnown_ = false;
        reversed_ = !reversed_;
        recordTrail();
    }
    fast_ = fast;
    const float delta = fast ? FastStep : SlowStep;
    angle_.set(angle_.value() + (reversed_ ? -delta : delta));
    freeEndKnown_ = false;
    recordTrail();
}

void Bar::reset(Vec2 pivot, float angle) {
    pivot_ = pivot;
    length_ = nominalLength_;
    angle_.set(angle);
    freeEndKnown_ = false;
    reversed_ = false;
    fast_ = false;
    trail_.clear();
}

void Bar::recordTrail() {
    trail_.pushFront({pivot_, freeEnd()});
}
