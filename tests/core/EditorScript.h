#pragma once
// Drives an EditSession frame by frame the way the editor scene does: press, hold and release
// edges from a scripted mouse, then pan and zoom.
#include "core/editor/EditSession.h"

#include <string>

class EditorScript {
public:
    explicit EditorScript(std::string savePath = {}, std::string loadPath = {})
        : session(std::move(savePath), std::move(loadPath)) {}

    // One frame with these buttons held and the cursor at `view` (view units).
    void frame(Vec2 view, bool left = false, bool right = false, bool middle = false, int wheel = 0,
               bool overToolBar = false) {
        p.previousCursor = p.cursor;
        p.cursor = view;
        const bool held[3] = {left, right, middle};
        for (int b = 0; b < 3; ++b) {
            p.previousDown[b] = p.down[b];
            p.down[b] = held[b];
            if (p.Pressed(b)) p.pressPosition[b] = view;
        }
        p.wheel = wheel;
        Camera& cam = session.camera();
        session.applyTool(p, cam, overToolBar);
        EditSession::pan(cam, p);
        EditSession::zoom(cam, wheel);
    }
    // Move there, press and release on the spot.
    void click(Vec2 view) {
        frame(view);
        frame(view, true);
        frame(view);
    }
    void rightClick(Vec2 view) {
        frame(view);
        frame(view, false, true);
        frame(view);
    }
    // Press at `from`, move to `to` in `steps` frames holding, release there.
    void drag(Vec2 from, Vec2 to, bool right = false, int steps = 4) {
        frame(from);
        frame(from, !right, right);
        for (int i = 1; i <= steps; ++i) {
            const float t = float(i) / float(steps);
            frame({from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t}, !right, right);
        }
        frame(to);
    }

    EditSession session;
    MouseState p;
};
