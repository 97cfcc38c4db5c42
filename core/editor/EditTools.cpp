#include "core/editor/EditTools.h"

#include <cmath>

Vec2 snapToGrid(Vec2 p, float step) {
    if (step <= 0.0f) return p;
    return {std::round(p.x / step) * step, std::round(p.y / step) * step};
}

Vec2 ToolContext::stageMotion() const {
    const Vec2 m = pointer.Motion();
    return {m.x * camera.zoom, m.y * camera.zoom};
}

void PutTool::press(ToolContext& c, int button) {
    if (button == MouseRight) {
        c.activePoint = -1;
        return;
    }
    const int previous = c.activePoint;
    int picked = c.picked;
    if (picked < 0) picked = c.stage.addPoint(c.placeCursor());
    c.activePoint = picked;
    // A refused line (the pair is joined already, or the table is full) is simply not drawn.
    if (picked >= 0 && previous >= 0 && picked != previous) c.stage.addSegment(previous, picked, c.kind);
}

void MoveTool::press(ToolContext& c, int button) {
    if (button != MouseLeft) return;
    c.activePoint = c.picked;
    c.dragOffset = {};
}

void MoveTool::hold(ToolContext& c, int button) {
    if (button != MouseLeft) return;
    if (c.grid > 0.0f) {
        snappedHold(c);
        return;
    }
    const Vec2 d = c.stageMotion();
    if (c.stage.holdsPoint(c.activePoint))
        c.stage.points[c.activePoint] += d;
    else
        c.stage.moveSelected(d);
}

// Measured from the press rather than added up frame by frame, so the rounding never drifts.
void MoveTool::snappedHold(ToolContext& c) {
    const Vec2 travel = c.cursor() - c.pressPoint(MouseLeft);
    if (c.stage.holdsPoint(c.activePoint)) {
        // A grabbed point only jumps onto the grid once the cursor moves; a click leaves it be.
        if (travel.x == 0.0f && travel.y == 0.0f) return;
        Vec2& p = c.stage.points[c.activePoint];
        const Vec2 origin = p - c.dragOffset;
        const Vec2 target = snapToGrid(origin + travel, c.grid);
        c.dragOffset = target - origin;
        p = target;
        return;
    }
    const Vec2 offset = snapToGrid(travel, c.grid);
    c.stage.moveSelected(offset - c.dragOffset);
    c.dragOffset = offset;
}

void MoveTool::release(ToolContext& c, int button) {
    if (button == MouseRight) {
        c.stage.toggleSelectionInRect(c.dragRect(MouseRight));
        return;
    }
    const Vec2 travel = c.pointer.cursor - c.pointer.pressPosition[MouseLeft];
    const bool moved = std::sqrt(travel.x * travel.x + travel.y * travel.y) > ClickSlack;
    if (!moved) {
        if (c.stage.holdsPoint(c.activePoint)) {
            PointState& s = c.stage.pointState[c.activePoint];
            s = s == PointState::Placed ? PointState::Selected : PointState::Placed;
        } else {
            for (PointState& s : c.stage.pointState)
                if (s == PointState::Selected) s = PointState::Placed;
        }
    }
    c.activePoint = -1;
}

void DelTool::press(ToolContext& c, int button) {
    if (button != MouseLeft) return;
    c.activePoint = c.picked;
    if (c.picked >= 0) c.stage.deletePoint(c.picked);
}

void DelTool::release(ToolContext& c, int button) {
    if (button == MouseRight)
        c.stage.deletePointsInRect(c.dragRect(MouseRight));
    else if (c.activePoint < 0)
        c.stage.deleteSegmentsCrossing(c.pressPoint(MouseLeft), c.cursor());
}

void SettingTool::press(ToolContext& c, int button) {
    if (button == MouseLeft) c.bar.reset(c.placeCursor(), c.bar.angle().value());
}

void SettingTool::hold(ToolContext& c, int button) {
    if (button != MouseLeft) return;
    const Vec2 pivot = c.bar.pivot();
    const Vec2 cursor = c.cursor();
    c.bar.reset(pivot, std::atan2(cursor.y - pivot.y, cursor.x - pivot.x));
    c.stage.initialPivot = pivot;
    c.stage.initialAngle = c.bar.angle().value();
}

void runTool(Tool& tool, ToolContext& context) {
    const MouseState& p = context.pointer;
    for (int b : {MouseLeft, MouseRight})
        if (p.Pressed(b)) tool.press(context, b);
    for (int b : {MouseLeft, MouseRight})
        if (p.Held(b)) tool.hold(context, b);
    for (int b : {MouseLeft, MouseRight})
        if (p.Released(b)) tool.release(context, b);
}

Tool& toolFor(EditTool mode) {
    static PutTool put;
    static MoveTool move;
    static DelTool del;
    static SettingTool setting;
    switch (mode) {
    case MOVE:
        return move;
    case DEL:
        return del;
    case SETTING:
        return setting;
    default:
        return put;
    }
}
