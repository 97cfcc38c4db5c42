#pragma once
// The editor's four tools. Each reacts to the edges of the left and right buttons over the
// stage; the editor routes a frame's edges to the tool of its mode with runTool.
#include "core/game/Bar.h"
#include "core/game/MouseState.h"
#include "core/stage/Camera.h"
#include "core/stage/Stage.h"

#include <array>
#include <cstdint>

enum EditTool : int { PUT = 0, MOVE = 1, DEL = 2, SETTING = 4 }; // 3 is the kind button, not a mode

// Stage units between grid lines; snapping rounds to multiples of it.
inline constexpr float GridStep = 10.0f;

// `p` rounded to the nearest multiple of `step` on both axes; `p` itself when step is 0 (no snap).
Vec2 snapToGrid(Vec2 p, float step);

// What a tool may read and change during one frame.
struct ToolContext {
    Stage& stage;
    Bar& bar;
    int& activePoint;
    std::int32_t kind;
    const MouseState& pointer;
    const Camera& camera;
    int picked;       // the point under the cursor, or -1
    float grid;       // GridStep while snapping is on, else 0
    Vec2& dragOffset; // how far the current left drag has moved what it holds, in stage units

    Vec2 cursor() const { return screenToWorld(pointer.cursor, camera); }
    // Where a new point or the start goes: the cursor, on the grid while snapping is on.
    Vec2 placeCursor() const { return snapToGrid(cursor(), grid); }
    // Stage units of the spot where `button` went down, through the camera as it is now.
    Vec2 pressPoint(int button) const { return screenToWorld(pointer.pressPosition[button], camera); }
    Rect dragRect(int button) const { return Rect(pressPoint(button), cursor()); }
    // The frame's cursor movement as a stage offset.
    Vec2 stageMotion() const;
};

class Tool {
public:
    virtual ~Tool() = default;
    virtual void press(ToolContext&, int /*button*/) {}
    virtual void hold(ToolContext&, int /*button*/) {}
    virtual void release(ToolContext&, int /*button*/) {}
};

// Left click places a point or reuses the one under the cursor and joins it to the last one;
// right click starts a new chain.
class PutTool final : public Tool {
public:
    void press(ToolContext& c, int button) override;
};

// Left click (de)selects, left drag moves the grabbed point or else the selection, right drag
// inverts the selection inside the rectangle. While snapping, a grabbed point lands on the grid
// and a selection moves by whole grid steps, so points on the grid stay on it.
class MoveTool final : public Tool {
public:
    static constexpr float ClickSlack = 0.5f; // view units a click may wander and stay a click
    void press(ToolContext& c, int button) override;
    void hold(ToolContext& c, int button) override;
    void release(ToolContext& c, int button) override;

private:
    static void snappedHold(ToolContext& c);
};

// Left click deletes a point with its lines, a left stroke from empty space deletes the lines it
// crosses, a right drag deletes the points inside the rectangle.
class DelTool final : public Tool {
public:
    void press(ToolContext& c, int button) override;
    void release(ToolContext& c, int button) override;
};

// Press places the bar's start, dragging aims it at the cursor. The stage's start pose follows
// the bar at once, so an undo step holds it.
class SettingTool final : public Tool {
public:
    void press(ToolContext& c, int button) override;
    void hold(ToolContext& c, int button) override;
};

// Presses first, then holds, then releases; left before right in each.
void runTool(Tool& tool, ToolContext& context);

Tool& toolFor(EditTool mode);
