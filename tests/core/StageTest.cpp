#include "core/stage/Stage.h"
#include "core/game/PlayTexts.h"
#include "core/stage/View.h"

#include <gtest/gtest.h>

TEST(Stage, SlotsAreReusedLastFreedFirst) {
    Stage s;
    EXPECT_EQ(s.addPoint({0, 0}), 0);
    EXPECT_EQ(s.addPoint({1, 0}), 1);
    EXPECT_EQ(s.addPoint({2, 0}), 2);
    s.deletePoint(1);
    EXPECT_EQ(s.addPoint({3, 0}), 1);
    s.deletePoint(0);
    s.deletePoint(2);
    EXPECT_EQ(s.addPoint({4, 0}), 2);
    EXPECT_EQ(s.addPoint({5, 0}), 0);
}

TEST(Stage, SegmentsStoreLowFirstAndRefuseASecondLineBetweenTheSamePoints) {
    Stage s;
    for (int i = 0; i < 6; ++i)
        s.addPoint({float(i), 0});
    const int j = s.addSegment(5, 3, WALL);
    ASSERT_EQ(j, 0);
    EXPECT_EQ(s.segments[0].low, 3);
    EXPECT_EQ(s.segments[0].high, 5);
    EXPECT_EQ(s.addSegment(3, 5, GOAL), -1);
    EXPECT_EQ(s.segmentCount(), 1);
}

TEST(Stage, FullTablesRefuseAndChangeNothing) {
    Stage s;
    for (int i = 0; i < MaxPoints; ++i)
        ASSERT_EQ(s.addPoint({float(i), 0}), i);
    EXPECT_EQ(s.addPoint({9, 9}), -1);
    EXPECT_EQ(s.pointCount(), MaxPoints);
    for (int i = 0; i < MaxSegments; ++i)
        ASSERT_GE(s.addSegment(i, (i + 1) % MaxPoints, WALL), 0);
    EXPECT_EQ(s.addSegment(0, 100, GOAL), -1);
}

TEST(Stage, DeletingAPointFreesItsLinesHighestReusedFirst) {
    Stage s;
    for (int i = 0; i < 4; ++i)
        s.addPoint({float(i), 0});
    s.addSegment(0, 1, WALL); // 0
    s.addSegment(2, 3, WALL); // 1: not using point 0
    s.addSegment(0, 2, WALL); // 2
    s.addSegment(0, 3, GOAL); // 3
    s.deletePoint(0);
    EXPECT_EQ(s.segments[1].kind, WALL);
    for (int j : {0, 2, 3})
        EXPECT_EQ(s.segments[j].kind, FreeSegment);
    EXPECT_EQ(s.addSegment(1, 2, WALL), 3);
    EXPECT_EQ(s.addPoint({9, 9}), 0);
    s.deletePoint(0);
    s.deletePoint(0); // a second delete must not push the slot twice
    EXPECT_EQ(s.addPoint({1, 1}), 0);
    EXPECT_EQ(s.addPoint({1, 1}), 4);
}

TEST(Stage, PickRadiusIsStrictAndTheHighestSlotWins) {
    Stage s;
    s.addPoint({100, 100});
    s.addPoint({100, 100});
    EXPECT_EQ(s.addPoint({0, 0}), 2);
    for (int i = 3; i < 7; ++i)
        s.addPoint({500, 500});
    EXPECT_EQ(s.addPoint({3, 0}), 7);
    EXPECT_EQ(s.pickPoint({1, 0}, 1.0f), 7);
    Stage single;
    single.addPoint({0, 0});
    EXPECT_EQ(single.pickPoint({10, 0}, 1.0f), -1);
    EXPECT_EQ(single.pickPoint({19.9f, 0}, 2.0f), 0);
}

TEST(Stage, RectangleBordersAreOutside) {
    Stage s;
    s.addPoint({0, 0});
    s.addPoint({10, 5});
    s.addPoint({5, 5});
    const Rect r(0, 0, 10, 10);
    s.toggleSelectionInRect(r);
    EXPECT_EQ(s.pointState[0], PointState::Placed);
    EXPECT_EQ(s.pointState[1], PointState::Placed);
    EXPECT_EQ(s.pointState[2], PointState::Selected);
    s.toggleSelectionInRect(r);
    EXPECT_EQ(s.pointState[2], PointState::Placed);
    s.deletePointsInRect(r);
    EXPECT_TRUE(s.holdsPoint(0));
    EXPECT_FALSE(s.holdsPoint(2));
}

TEST(Stage, MoveSelectedMovesOnlySelectedPoints) {
    Stage s;
    s.addPoint({0, 0});
    s.addPoint({1, 1});
    s.pointState[1] = PointState::Selected;
    s.moveSelected({10, -10});
    EXPECT_EQ(s.points[0], (Vec2{0, 0}));
    EXPECT_EQ(s.points[1], (Vec2{11, -9}));
}

TEST(Stage, StrokesDeleteTheLinesTheyCross) {
    Stage s;
    const int a = s.addPoint({-5, 0}), b = s.addPoint({5, 0});
    const int c = s.addPoint({0, 5}), d = s.addPoint({3, 5});
    const int e = s.addPoint({0, -20}), f = s.addPoint({0, -10});
    s.addSegment(a, b, WALL);
    s.addSegment(c, d, WALL); // ends exactly on the stroke's end
    s.addSegment(e, f, WALL); // collinear with the stroke
    s.deleteSegmentsCrossing({0, 0}, {0, 0});
    EXPECT_EQ(s.segmentCount(), 3);
    s.deleteSegmentsCrossing({0, -5}, {0, 5});
    EXPECT_EQ(s.segments[0].kind, FreeSegment);
    EXPECT_EQ(s.segments[1].kind, FreeSegment);
    EXPECT_EQ(s.segments[2].kind, WALL);
}

TEST(Stage, CompactClosesGapsAndRenumbersLines) {
    Stage s;
    for (int i = 0; i < 10; ++i)
        s.addPoint({float(i), float(i * i)});
    for (int i = 0; i < 10; ++i)
        if (i != 0 && i != 3 && i != 9) s.deletePoint(i);
    s.addSegment(9, 0, WALL);
    s.addSegment(3, 9, GOAL);
    s.deleteSegment(0);
    s.addSegment(0, 3, WALL); // reuses line slot 0
    s.pointState[9] = PointState::Selected;
    s.compact();
    EXPECT_EQ(s.pointCount(), 3);
    EXPECT_EQ(s.points[1], (Vec2{3, 9}));
    EXPECT_EQ(s.points[2], (Vec2{9, 81}));
    EXPECT_EQ(s.pointState[2], PointState::Selected);
    EXPECT_EQ(s.segments[0].low, 0);
    EXPECT_EQ(s.segments[0].high, 1);
    EXPECT_EQ(s.segments[1].low, 1);
    EXPECT_EQ(s.segments[1].high, 2);
    EXPECT_EQ(s.segments[1].kind, GOAL);
    EXPECT_EQ(s.addPoint({0, 0}), 3);
    EXPECT_EQ(s.addSegment(0, 2, WALL), 2);
}

TEST(Geometry, RectsAreNormalisedWithTheirCentre) {
    const Rect a(400, 300, -400, -300), b(-400, -300, 400, 300);
    for (const Rect& r : {a, b}) {
        EXPECT_EQ(r.left, -400);
        EXPECT_EQ(r.bottom, -300);
        EXPECT_EQ(r.right, 400);
        EXPECT_EQ(r.top, 300);
        EXPECT_EQ(r.centerX, 0);
        EXPECT_EQ(r.centerY, 0);
    }
    const Rect fromPoints(Vec2{5, 1}, Vec2{1, 9});
    EXPECT_EQ(fromPoints.left, 1);
    EXPECT_EQ(fromPoints.top, 9);
    EXPECT_EQ(fromPoints.centerX, 3);
}

TEST(Geometry, ScreenToWorldFollowsTheCamera) {
    const Camera zoomed{100, 50, 2};
    const Vec2 corner = screenToWorld({400, 300}, zoomed);
    EXPECT_EQ(corner.x, 900);
    EXPECT_EQ(corner.y, 650);
    const Vec2 same = screenToWorld({-123.5f, 77.25f}, DefaultCamera);
    EXPECT_EQ(same.x, -123.5f);
    EXPECT_EQ(same.y, 77.25f);
}

TEST(Viewport, LetterboxKeepsFourToThreeCentred) {
    struct Case {
        int clientWidth, clientHeight;
        Viewport expected;
    };
    const Case cases[] = {
        {1280, 1024, {0, 32, 1280, 960, 1.6f}}, // taller: bars above and below
        {1440, 900, {120, 0, 1200, 900, 1.5f}}, // wider: bars left and right
        {800, 600, {0, 0, 800, 600, 1.0f}},
    };
    for (const Case& c : cases) {
        const Viewport v = ComputeViewport(c.clientWidth, c.clientHeight, 800, 600);
        EXPECT_FLOAT_EQ(v.scale, c.expected.scale) << c.clientWidth;
        EXPECT_EQ(v.x, c.expected.x) << c.clientWidth;
        EXPECT_EQ(v.y, c.expected.y) << c.clientWidth;
        EXPECT_EQ(v.width, c.expected.width) << c.clientWidth;
        EXPECT_EQ(v.height, c.expected.height) << c.clientWidth;
    }
    // The surface limit: the renderer's smaller viewport side when it reports one under 16384.
    EXPECT_EQ(surfaceSideLimit(0, 0), 16384);
    EXPECT_EQ(surfaceSideLimit(32768, 32768), 16384);
    EXPECT_EQ(surfaceSideLimit(8192, 16384), 8192);
    EXPECT_EQ(surfaceSideLimit(-1, 4096), 4096);
}

TEST(PlayTexts, LongTitlesAreCutToTheTitleBuffer) {
    const std::u16string longTitle(100, u'長');
    const std::u16string text = FormatStageTitle(9, longTitle);
    EXPECT_EQ(text.size(), 65u);
    EXPECT_EQ(text.substr(0, 7), u"ステージ10 ");
    EXPECT_EQ(FormatStageTitle(0, u"abc"), u"ステージ1 abc");
    EXPECT_EQ(FormatSeconds(754), u"12.57");
    EXPECT_EQ(FormatSeconds(std::int64_t(INT32_MAX) * 10), u"357913941.17"); // ten bests summed
    EXPECT_EQ(FormatOwnStageTitle(std::string(40, 'n'), u"t"), std::u16string(24, u'n') + u" t");
}
