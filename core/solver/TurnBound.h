#pragma once
// What one measurement proves about a bar turning about a fixed pivot: at another angle no point
// of it has moved farther than its length times the angle turned, so the distances it keeps from
// the lines shrink by no more than that. A search turns such a bar a frame at a time through a
// whole turn, and measures only where this bound no longer tells enough.
#include <cmath>
#include <limits>

class TurnBound {
public:
    explicit TurnBound(double length) : length_(length) {}
    void forget() { known_ = false; }
    void measured(float angle, double toWall, double toLine) {
        known_ = true;
        angle_ = angle, toWall_ = toWall, toLine_ = toLine;
    }
    bool measuredAt(float angle) const { return known_ && angle == angle_; }
    // The wall distance measured last, as it was measured.
    double measuredToWall() const { return toWall_; }
    // Distances the bar at `angle` keeps at least from the walls, and from any line.
    double toWall(float angle) const { return toWall_ - loss(angle); }
    double toLine(float angle) const { return toLine_ - loss(angle); }

private:
    double loss(float angle) const {
        // A float bar's ends are rounded: far less than this within the grid's reach.
        constexpr double Rounding = 0.5;
        return known_ ? length_ * std::fabs(double(angle) - angle_) + Rounding
                      : std::numeric_limits<double>::infinity();
    }
    double length_;
    bool known_ = false;
    float angle_ = 0;
    double toWall_ = 0, toLine_ = 0;
};
