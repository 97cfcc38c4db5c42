#include "core/solver/WalledIn.h"

#include "core/game/Bar.h"
#include "core/game/GameConstants.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numeric>
#include <optional>
#include <vector>

// Whether the walls enclose the start is decided by parity along a ray from the start: a closed
// walk along the walls that winds around the start crosses the ray an odd number of times, and
// the walls of one connected piece enclose the start exactly when they hold such a walk (a
// connected drawing's inner faces are discs). Each wall gets an unknown bit, its label at its
// first end; the label flips where the wall crosses the ray; two walls that meet must agree on
// the label of their meeting point. Labels that cannot agree mean an odd walk, so an enclosure.
// Walls of different pieces never enclose together what none of them encloses alone, so the
// pieces are tested one by one (union-find with parity).
namespace {
struct Wall {
    Vec2 a, b;
};

struct Spot { // a point where two walls meet, kept in double
    double x, y;
};

// Every sign the proof uses must be sure: a value within `tolerance` of zero is doubtful, and a
// doubt abandons the proof (a wrong sign could call an open stage closed).
int sureSign(double v, double tolerance) {
    return v > tolerance ? 1 : v < -tolerance ? -1 : 0;
}

double cross(double ax, double ay, double bx, double by) {
    return ax * by - ay * bx;
}

// The sign of the turn a -> b -> c, or 0 when doubtful.
int turn(Vec2 a, Vec2 b, Vec2 c) {
    const double l = (double(b.x) - a.x) * (double(c.y) - a.y), r = (double(b.y) - a.y) * (double(c.x) - a.x);
    return sureSign(l - r, 1e-12 * (std::fabs(l) + std::fabs(r)));
}

bool same(Vec2 p, Vec2 q) {
    return p.x == q.x && p.y == q.y;
}

class ParityUnion {
public:
    explicit ParityUnion(int n)
        : parent_(std::size_t(n)), parity_(std::size_t(n), 0), odd_(std::size_t(n), false) {
        std::iota(parent_.begin(), parent_.end(), 0);
    }
    // Records that the labels of x and y differ by `bits`.
    void join(int x, int y, int bits) {
        const auto [rx, px] = find(x);
        const auto [ry, py] = find(y);
        if (rx == ry) {
            if ((px ^ py) != bits) odd_[std::size_t(rx)] = true;
            return;
        }
        parent_[std::size_t(ry)] = rx;
        parity_[std::size_t(ry)] = px ^ py ^ bits;
        if (odd_[std::size_t(ry)]) odd_[std::size_t(rx)] = true;
    }
    int root(int x) { return find(x).first; }
    bool odd(int x) { return odd_[std::size_t(root(x))]; }

private:
    std::pair<int, int> find(int x) {
        int bits = 0, r = x;
        while (parent_[std::size_t(r)] != r) {
            bits ^= parity_[std::size_t(r)];
            r = parent_[std::size_t(r)];
        }
        // Path compression keeps each node's parity to the root.
        int b = bits;
        while (parent_[std::size_t(x)] != x) {
            const int next = parent_[std::size_t(x)], nextBits = b ^ parity_[std::size_t(x)];
            parent_[std::size_t(x)] = r;
            parity_[std::size_t(x)] = b;
            x = next;
            b = nextBits;
        }
        return {r, bits};
    }
    std::vector<int> parent_, parity_;
    std::vector<bool> odd_;
};

struct Box {
    static constexpr double Far = std::numeric_limits<double>::infinity();
    double left = Far, bottom = Far, right = -Far, top = -Far;
    void add(Vec2 p) {
        left = std::min(left, double(p.x));
        right = std::max(right, double(p.x));
        bottom = std::min(bottom, double(p.y));
        top = std::max(top, double(p.y));
    }
    void intersect(const Box& o) {
        left = std::max(left, o.left);
        bottom = std::max(bottom, o.bottom);
        right = std::min(right, o.right);
        top = std::min(top, o.top);
    }
    // Distance from a segment to the box, at least: 0 when they may meet.
    double distanceFrom(Vec2 p, Vec2 q) const {
        const double dx = std::max({left - std::max(p.x, q.x), std::min(p.x, q.x) - right, 0.0});
        const double dy = std::max({bottom - std::max(p.y, q.y), std::min(p.y, q.y) - top, 0.0});
        return std::hypot(dx, dy);
    }
};

// The parity test along one ray from the start; the box the enclosing pieces leave the start
// in, an empty optional when the walls do not enclose it, or nothing sure (`doubt`).
class RayParity {
public:
    RayParity(const std::vector<Wall>& walls, Vec2 start, double angle, double scale)
        : walls_(walls), start_(start), dx_(std::cos(angle)), dy_(std::sin(angle)), tolerance_(1e-7 * scale) {
    }

    bool doubt = false;

    std::optional<Box> enclosure() {
        const int n = int(walls_.size());
        std::vector<int> firstSide(walls_.size());
        std::vector<bool> crossesRay(walls_.size());
        for (int i = 0; i < n; ++i) {
            const Wall& w = walls_[std::size_t(i)];
            const int sa = side({w.a.x, w.a.y}), sb = side({w.b.x, w.b.y});
            firstSide[std::size_t(i)] = sa;
            crossesRay[std::size_t(i)] = sa != sb && ahead(w);
        }
        ParityUnion labels(n);
        for (int i = 0; i < n && !doubt; ++i)
            for (int j = i + 1; j < n && !doubt; ++j)
                if (const std::optional<Spot> x = meeting(walls_[std::size_t(i)], walls_[std::size_t(j)])) {
                    const int s = side(*x);
                    const int fi = crossesRay[std::size_t(i)] && s != firstSide[std::size_t(i)];
                    const int fj = crossesRay[std::size_t(j)] && s != firstSide[std::size_t(j)];
                    labels.join(i, j, fi ^ fj);
                }
        if (doubt) return std::nullopt;
        std::optional<Box> room;
        std::vector<Box> pieces(walls_.size());
        for (int i = 0; i < n; ++i) {
            pieces[std::size_t(labels.root(i))].add(walls_[std::size_t(i)].a);
            pieces[std::size_t(labels.root(i))].add(walls_[std::size_t(i)].b);
        }
        for (int i = 0; i < n; ++i) {
            if (labels.root(i) != i || !labels.odd(i)) continue;
            if (!room)
                room = pieces[std::size_t(i)];
            else
                room->intersect(pieces[std::size_t(i)]);
        }
        return room;
    }

private:
    // Which side of the ray's line p lies on.
    int side(Spot p) {
        const int s = sureSign(cross(dx_, dy_, p.x - start_.x, p.y - start_.y), tolerance_);
        doubt = doubt || s == 0;
        return s;
    }
    // Whether a wall whose ends lie on the line's two sides crosses it ahead of the start.
    bool ahead(const Wall& w) {
        const double ca = cross(dx_, dy_, double(w.a.x) - start_.x, double(w.a.y) - start_.y);
        const double cb = cross(dx_, dy_, double(w.b.x) - start_.x, double(w.b.y) - start_.y);
        const double t = ca / (ca - cb);
        const double rx = w.a.x + t * (double(w.b.x) - w.a.x) - start_.x;
        const double ry = w.a.y + t * (double(w.b.y) - w.a.y) - start_.y;
        const int s = sureSign(rx * dx_ + ry * dy_, tolerance_);
        doubt = doubt || s == 0;
        return s > 0;
    }
    // A point the two walls share, when they meet; walls that share an end meet there (what
    // else they share is joined to it along both).
    std::optional<Spot> meeting(const Wall& v, const Wall& w) {
        for (Vec2 p : {v.a, v.b})
            for (Vec2 q : {w.a, w.b})
                if (same(p, q)) return Spot{p.x, p.y};
        const int o1 = turn(v.a, v.b, w.a), o2 = turn(v.a, v.b, w.b);
        const int o3 = turn(w.a, w.b, v.a), o4 = turn(w.a, w.b, v.b);
        if ((o1 != 0 && o1 == o2) || (o3 != 0 && o3 == o4)) return std::nullopt; // sure apart
        // An end on (or a hair from) the other wall, or walls along one line: left unjoined.
        // A meeting left out can only hide an enclosure, never make one up.
        if (o1 == 0 || o2 == 0 || o3 == 0 || o4 == 0) return std::nullopt;
        // A sure crossing: where, from v's ends' distances to w's line.
        const double ea =
            cross(double(w.b.x) - w.a.x, double(w.b.y) - w.a.y, double(v.a.x) - w.a.x, double(v.a.y) - w.a.y);
        const double eb =
            cross(double(w.b.x) - w.a.x, double(w.b.y) - w.a.y, double(v.b.x) - w.a.x, double(v.b.y) - w.a.y);
        const double t = ea / (ea - eb);
        return Spot{v.a.x + t * (double(v.b.x) - v.a.x), v.a.y + t * (double(v.b.y) - v.a.y)};
    }

    const std::vector<Wall>& walls_;
    Vec2 start_;
    double dx_, dy_, tolerance_;
};
} // namespace

Hopeless provenHopeless(const Stage& stage) {
    std::vector<Wall> walls;
    std::vector<Wall> goals;
    for (const Segment& s : stage.segments) {
        const Wall line{stage.points[s.low], stage.points[s.high]};
        // A line of no length is never touched (the game's crossing test sees no crossing), so
        // it neither blocks nor clears.
        if (s.kind == FreeSegment || same(line.a, line.b)) continue;
        (s.kind == GOAL ? goals : walls).push_back(line);
    }
    if (goals.empty()) return Hopeless::NoGoal;
    Bar bar(stage.initialPivot, BarLength, 0, 0, Angle(stage.initialAngle));
    bar.reset(stage.initialPivot, stage.initialAngle);
    const Wall start{bar.pivot(), bar.freeEnd()};
    double scale = 1;
    for (const Wall& w : walls)
        for (Vec2 p : {w.a, w.b}) {
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) return Hopeless::No;
            scale = std::max({scale, std::fabs(double(p.x)), std::fabs(double(p.y))});
        }
    const auto surelyApart = [](const Wall& v, const Wall& w) {
        return turn(v.a, v.b, w.a) * turn(v.a, v.b, w.b) == 1 ||
               turn(w.a, w.b, v.a) * turn(w.a, w.b, v.b) == 1;
    };
    // The start bar must be clear of every wall, surely: one across a wall has a foot each side.
    if (!std::all_of(walls.begin(), walls.end(), [&](const Wall& w) { return surelyApart(w, start); }))
        return Hopeless::No;
    // The first ray that meets no doubt decides; a few directions are tried, none special.
    for (double angle : {0.3141, 1.7321, 2.7183, 4.1416, 5.5}) {
        RayParity ray(walls, start.a, angle, scale);
        const std::optional<Box> room = ray.enclosure();
        if (ray.doubt) continue;
        if (!room) return Hopeless::No;
        // A goal closer than a bar's length could be touched by a bar pivoting inside.
        for (const Wall& g : goals)
            if (!(room->distanceFrom(g.a, g.b) > BarLength + 2)) return Hopeless::No;
        return Hopeless::WalledIn;
    }
    return Hopeless::No;
}
