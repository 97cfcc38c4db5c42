#include "tests/core/EditorScript.h"

#include "core/editor/GridLines.h"
#include "core/stage/View.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace {
std::pair<int, int> line(const Stage& s, int j) {
    return {s.segments[j].low, s.segments[j].high};
}

class Tools : public ::testing::Test {
protected:
    EditorScript e;
    Stage& stage = e.session.stage;
};
} // namespace

TEST_F(Tools, PutDrawsChainsAndClosesATriangle) {
    e.click({-100, 0});
    e.click({100, 0});
    e.click({0, 100});
    ASSERT_EQ(stage.pointCount(), 3);
    EXPECT_EQ(line(stage, 0), std::make_pair(0, 1));
    EXPECT_EQ(line(stage, 1), std::make_pair(1, 2));
    e.click({-102, 3}); // within 10 units of point 0: reused, closes the triangle
    EXPECT_EQ(stage.pointCount(), 3);
    ASSERT_EQ(stage.segmentCount(), 3);
    EXPECT_EQ(line(stage, 2), std::make_pair(0, 2));
    e.click({0, 100}); // point 2 right after: the pair is joined already
    EXPECT_EQ(stage.segmentCount(), 3);
    EXPECT_EQ(e.session.activePoint, 2);

    e.session.kind = GOAL;
    e.rightClick({300, 300});
    EXPECT_EQ(e.session.activePoint, -1);
    e.click({100, 0}); // a new chain starts at an existing point without a line
    EXPECT_EQ(stage.segmentCount(), 3);
    e.click({200, 0});
    ASSERT_EQ(stage.segmentCount(), 4);
    EXPECT_EQ(line(stage, 3), std::make_pair(1, 3));
    EXPECT_EQ(stage.segments[3].kind, GOAL);
    EXPECT_EQ(stage.segments[0].kind, WALL);
}

TEST_F(Tools, PutOnAFullTableAddsNothing) {
    for (int i = 0; i < MaxPoints; ++i)
        stage.addPoint({float(i % 32) * 30.0f + 2000.0f, float(i / 32) * 30.0f});
    e.click({0, 0});
    EXPECT_EQ(e.session.activePoint, -1);
    EXPECT_EQ(stage.segmentCount(), 0);
}

TEST_F(Tools, MoveClickSelectsUnselectsAndClearsTheSelection) {
    e.session.mode = MOVE;
    const int a = stage.addPoint({0, 0});
    const int b = stage.addPoint({100, 0});
    e.click({0.3f, 0});
    EXPECT_EQ(stage.pointState[a], PointState::Selected);
    e.click({100, 0});
    EXPECT_EQ(stage.pointState[b], PointState::Selected);
    e.click({0, 0});
    EXPECT_EQ(stage.pointState[a], PointState::Placed);
    e.click({50, 200}); // empty space: everything unselected
    EXPECT_EQ(stage.pointState[b], PointState::Placed);
    EXPECT_EQ(stage.points[b], (Vec2{100, 0}));
    EXPECT_EQ(e.session.activePoint, -1);
}

TEST_F(Tools, MoveGrabsOnePointOrDragsTheSelectionAtZoomTwo) {
    e.session.mode = MOVE;
    e.session.editCamera.zoom = 2.0f;
    const int a = stage.addPoint({20, 20});
    const int b = stage.addPoint({200, 0});
    const int c = stage.addPoint({-200, 0});
    stage.pointState[b] = PointState::Selected;
    stage.pointState[c] = PointState::Selected;

    e.drag({10, 10}, {40, 10}); // on unselected a: only a moves, by twice the view distance
    EXPECT_EQ(stage.points[a], (Vec2{80, 20}));
    EXPECT_EQ(stage.pointState[a], PointState::Placed);
    EXPECT_EQ(stage.points[b], (Vec2{200, 0}));

    e.drag({0, -50}, {5, -40}); // from empty space: the whole selection, same stage offset
    EXPECT_EQ(stage.points[b], (Vec2{210, 20}));
    EXPECT_EQ(stage.points[c], (Vec2{-190, 20}));
    EXPECT_EQ(stage.points[a], (Vec2{80, 20}));
    EXPECT_EQ(stage.pointState[b], PointState::Selected); // a drag is no click
}

TEST_F(Tools, MoveRightDragInvertsTheSelectionInside) {
    e.session.mode = MOVE;
    const int a = stage.addPoint({10, 10});
    const int b = stage.addPoint({20, 20});
    const int outside = stage.addPoint({100, 100});
    stage.pointState[a] = PointState::Selected;
    e.drag({0, 0}, {50, 50}, true);
    EXPECT_EQ(stage.pointState[a], PointState::Placed);
    EXPECT_EQ(stage.pointState[b], PointState::Selected);
    EXPECT_EQ(stage.pointState[outside], PointState::Placed);
}

TEST_F(Tools, DelStrokeRectangleAndPoint) {
    e.session.mode = DEL;
    const int p0 = stage.addPoint({-50, 100}), p1 = stage.addPoint({-50, -100});
    const int p2 = stage.addPoint({0, 100}), p3 = stage.addPoint({0, -100});
    const int p4 = stage.addPoint({50, 100}), p5 = stage.addPoint({50, -100});
    stage.addSegment(p0, p1, WALL);
    stage.addSegment(p2, p3, WALL);
    stage.addSegment(p4, p5, GOAL);
    const int kept = stage.addSegment(p0, p2, WALL);
    e.drag({-100, 0}, {100, 0}); // across two walls and a goal
    EXPECT_EQ(stage.segmentCount(), 1);
    EXPECT_NE(stage.segments[kept].kind, FreeSegment);
    EXPECT_EQ(stage.pointCount(), 6);

    e.drag({0, 100}, {0, 200}); // a press on a point deletes it (with its line), and no stroke
    EXPECT_FALSE(stage.holdsPoint(p2));
    EXPECT_EQ(stage.segmentCount(), 0);
    EXPECT_EQ(stage.pointCount(), 5);

    e.drag({-60, -110}, {60, -90}, true);
    EXPECT_EQ(stage.pointCount(), 2);
    EXPECT_TRUE(stage.holdsPoint(p0));
    EXPECT_TRUE(stage.holdsPoint(p4));
}

TEST_F(Tools, DelPressOnAPointCancelsTheStrokeOfThatPress) {
    e.session.mode = DEL;
    const int a = stage.addPoint({0, 0});
    const int p = stage.addPoint({100, -50}), q = stage.addPoint({100, 50});
    stage.addSegment(p, q, WALL);
    e.drag({0, 0}, {200, 0}); // from point a, across the wall
    EXPECT_FALSE(stage.holdsPoint(a));
    EXPECT_EQ(stage.segmentCount(), 1);
}

TEST_F(Tools, SettingClickAndDragAimTheStart) {
    e.session.mode = SETTING;
    e.click({30, 40});
    EXPECT_EQ(e.session.bar.pivot(), (Vec2{30, 40}));
    EXPECT_EQ(e.session.bar.angle().value(), 0.0f);
    e.drag({0, 0}, {0, 50});
    EXPECT_EQ(e.session.bar.pivot(), (Vec2{0, 0}));
    EXPECT_FLOAT_EQ(e.session.bar.angle().value(), float(M_PI / 2));
    EXPECT_FLOAT_EQ(stage.initialAngle, float(M_PI / 2));
    EXPECT_TRUE(e.session.bar.trail().empty());
}

TEST_F(Tools, ZoomStepsAndClamps) {
    Camera c;
    EditSession::zoom(c, 1);
    EXPECT_FLOAT_EQ(c.zoom, 0.9f);
    c.zoom = 1.0f;
    EditSession::zoom(c, 3);
    EXPECT_FLOAT_EQ(c.zoom, 0.7f);
    c.zoom = 0.1f;
    EditSession::zoom(c, 1);
    EXPECT_FLOAT_EQ(c.zoom, 0.1f);
    c.zoom = 4.8f;
    EditSession::zoom(c, -1);
    EXPECT_FLOAT_EQ(c.zoom, 5.0f);
    EXPECT_FALSE(EditSession::zoom(c, 0));
}

TEST_F(Tools, OverTheToolBarNoToolActsAndAMiddleDragPans) {
    e.session.mode = DEL;
    stage.addPoint({10, 10});
    e.frame({0, 0});
    e.frame({0, 0}, false, true);
    e.frame({50, 250}, false, true);
    e.frame({50, 250}, false, false, false, 0, true); // released over the tool bar
    EXPECT_EQ(stage.pointCount(), 1);

    e.session.editCamera.zoom = 2.0f;
    e.frame({0, 250}, false, false, false, 0, true);
    e.frame({0, 250}, false, false, true, 0, true);
    e.frame({10, 240}, false, false, true, 0, true);
    EXPECT_EQ(e.session.editCamera.x, -20.0f);
    EXPECT_EQ(e.session.editCamera.y, 20.0f);
}

TEST_F(Tools, APressOnTheToolBarSlidOntoTheStageIsNoDrag) {
    e.session.mode = DEL;
    const int p = stage.addPoint({100, -50}), q = stage.addPoint({100, 50});
    stage.addSegment(p, q, WALL);
    e.frame({0, 250}, false, false, false, 0, true);
    e.frame({0, 250}, true, false, false, 0, true); // a button's press
    e.frame({150, 0}, true);
    EXPECT_FALSE(e.session.toolPointer().Held(MouseLeft)); // so no stroke is drawn either
    e.frame({150, -100}); // released over the stage: the stroke from the press would cross the wall
    EXPECT_EQ(stage.segmentCount(), 1);
    e.frame({150, -100}, false, false, false, 0, true);
    e.frame({150, -100}, false, true, false, 0, true); // a right press on the bar
    e.frame({150, 0}, false, true);
    EXPECT_FALSE(e.session.toolPointer().Held(MouseRight)); // no rectangle

    e.session.mode = MOVE;
    stage.pointState[p] = PointState::Selected;
    e.frame({0, 250}, true, false, false, 0, true);
    e.frame({50, 0}, true);
    e.frame({60, 0});
    EXPECT_EQ(stage.points[p], (Vec2{100, -50}));
    EXPECT_EQ(stage.pointState[p], PointState::Selected);
}

TEST_F(Tools, UndoWaitsForTheDragToEnd) {
    e.session.mode = MOVE;
    const int a = stage.addPoint({0, 0});
    e.frame({0, 0});
    e.frame({0, 0}, true);
    e.frame({20, 0}, true);
    EXPECT_FALSE(e.session.undo());
    e.frame({30, 0}, true);
    EXPECT_EQ(stage.points[a], (Vec2{30, 0})); // still the grabbed point that moves
    e.frame({30, 0});
    EXPECT_TRUE(e.session.undo());
    EXPECT_EQ(stage.points[a], (Vec2{0, 0}));
}

TEST_F(Tools, SnappingPutsMovesAndStartsOnTheGrid) {
    e.session.snapping = true;
    e.click({13, -26}); // PUT
    const int a = stage.pickPoint({10, -30}, 1.0f);
    ASSERT_GE(a, 0);
    EXPECT_EQ(stage.points[a], (Vec2{10, -30}));

    e.session.mode = MOVE;
    e.drag({12, -28}, {33.5f, -5}); // grabbed: lands on the grid nearest where it was carried
    EXPECT_EQ(stage.points[a], (Vec2{30, -10}));
    const int b = stage.addPoint({1.5f, 2.5f}); // off the grid: moved by whole steps
    stage.pointState[b] = PointState::Selected;
    e.drag({200, 200}, {223, 188});
    EXPECT_EQ(stage.points[b], (Vec2{21.5f, -7.5f}));
    EXPECT_EQ(stage.points[a], (Vec2{30, -10})); // not selected

    e.session.mode = SETTING;
    e.drag({-104, 57}, {-50, 57});
    EXPECT_EQ(stage.initialPivot, (Vec2{-100, 60}));
}

TEST_F(Tools, APasteStopsAtFullTablesAndHomeFitsTheStage) {
    for (int i = 0; i < MaxPoints - 2; ++i)
        stage.addPoint({float(i), 0});
    const int p = stage.addPoint({0, 500}), q = stage.addPoint({900, -400});
    stage.addSegment(p, q, GOAL);
    e.session.fitView();
    const Camera& c = e.session.editCamera;
    for (Vec2 far : {Vec2{0, 500}, Vec2{900, -400}, Vec2{-60, 0}}) { // -60: the bar's circle
        const Vec2 view{(far.x - c.x) / c.zoom, (far.y - c.y) / c.zoom};
        EXPECT_TRUE(view.x >= -381 && view.x <= 381 && view.y >= -271 && view.y <= 191)
            << view.x << " " << view.y;
    }
    EditorScript limit; // a stage at the float limit: the view's centre stays finite
    limit.session.stage.initialPivot = {FLT_MAX, -FLT_MAX};
    limit.session.fitView();
    EXPECT_EQ(limit.session.editCamera.x, FLT_MAX);
    EXPECT_EQ(limit.session.editCamera.y, -FLT_MAX);
    e.session.mode = MOVE;
    e.session.selectAll();
    ASSERT_EQ(e.session.copySelection(), MaxPoints);
    EXPECT_FALSE(e.session.paste().complete); // the table is full: nothing fits
    EXPECT_EQ(stage.pointCount(), MaxPoints);
    stage.deletePoint(p);
    stage.deletePoint(q);
    const PasteResult some = e.session.paste();
    EXPECT_EQ(some.points, 2);
    EXPECT_EQ(some.lines, 0); // the copied line joins p and q, the last two copied points
    EXPECT_FALSE(some.complete);
}

// Cameras a stage file, Home on a far stage or the float limits give the editor: a few hundred
// grid lines at most, none where floats cannot keep neighbours apart; and the zoom a view takes.
TEST(GridLines, HostileCamerasGiveFewLinesOrNoneAndTheirZoomIsTamed) {
    const float inf = INFINITY, nan = NAN;
    // 81 + 61: every 10 units across the view (50 at zoom 5), 2: the axes alone; none at 2e9 and
    // 1.7e8 (floats 128 and 16 apart), none for no zoom, nor where the view leaves the floats.
    const struct {
        Camera cam;
        std::int64_t lines;
        float tamed;
    } cases[] = {{{0, 0, 1}, 81 + 61, 1},
                 {{0, 0, 5}, 81 + 61, 5},
                 {{1e5f, -1e5f, 0.1f}, 9 + 7, 0.1f},
                 {{0, 0, 1e-30f}, 2, 0.1f},
                 {{0, 0, 1e30f}, 71 + 53, 5},
                 {{2e9f, 2e9f, 1}, 0, 1},
                 {{1.7e8f, -1.7e8f, 5}, 0, 5},
                 {{0, 0, -1}, 0, 1},
                 {{0, 0, 0}, 0, 1},
                 {{0, 0, nan}, 0, 1},
                 {{0, 0, inf}, 0, 5},
                 {{0, 0, FLT_MAX}, 0, 5},
                 {{FLT_MAX, -FLT_MAX, 5}, 0, 5},
                 {{0, -inf, 1}, 0, 1}};
    for (const auto& c : cases) {
        const GridLines g = gridLines(c.cam, ViewRect, GridStep, 6.0f);
        EXPECT_EQ(g.count(), c.lines) << c.cam.x << " " << c.cam.zoom;
        EXPECT_EQ(sanitizedZoom(c.cam.zoom), c.tamed) << c.cam.zoom;
        if (g.count() == 0) continue;
        const auto at = [&](std::int64_t k) { return float(double(k) * g.step); };
        EXPECT_LT(at(g.firstX), at(g.firstX + 1)); // neighbours apart as floats
        EXPECT_GE(at(g.firstX), c.cam.x + ViewRect.left * c.cam.zoom);
        EXPECT_GE(g.step / c.cam.zoom, 6.0);
    }
    // A view that would need more lines than any screen draws gets none.
    EXPECT_EQ(gridLines(DefaultCamera, Rect(-1e4f, -1e4f, 1e4f, 1e4f), GridStep, 6.0f).count(), 0);
}
