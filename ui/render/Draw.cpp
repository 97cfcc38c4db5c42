#include "ui/render/Draw.h"

#include "core/stage/View.h"

void ClearScreen(Color32 c) {
    glClearColor(colorRed(c) / 255.0f, colorGreen(c) / 255.0f, colorBlue(c) / 255.0f, colorAlpha(c) / 255.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

void SetColor(Color32 c) {
    glColor4ub(colorRed(c), colorGreen(c), colorBlue(c), colorAlpha(c));
}

void DrawVertices(const VertexList& vertices, GLenum mode) {
    if (vertices.empty()) return;
    glDisable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(Vec2), vertices.data());
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDrawArrays(mode, 0, GLsizei(vertices.size()));
}

void DrawColorVertices(const ColorVertexList& vertices, GLenum mode) {
    if (vertices.empty()) return;
    glDisable(GL_TEXTURE_2D);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(ColorVertex), &vertices[0].r);
    glVertexPointer(2, GL_FLOAT, sizeof(ColorVertex), &vertices[0].x);
    glDrawArrays(mode, 0, GLsizei(vertices.size()));
    glDisableClientState(GL_COLOR_ARRAY);
}

void DrawOpaqueColorVertices(const ColorVertexList& vertices, GLenum mode) {
    glDisable(GL_BLEND);
    DrawColorVertices(vertices, mode);
    glEnable(GL_BLEND);
}

void FillRect(const Rect& r, Color32 c) {
    const VertexList quad = {{r.left, r.top}, {r.left, r.bottom}, {r.right, r.top}, {r.right, r.bottom}};
    SetColor(c);
    DrawVertices(quad, GL_TRIANGLE_STRIP);
}

void DrawOutline(const Rect& r, Color32 c) {
    SetColor(c);
    DrawVertices({{r.left, r.bottom}, {r.right, r.bottom}, {r.right, r.top}, {r.left, r.top}}, GL_LINE_LOOP);
}

void SetPointSize(float size) {
    glPointSize(size);
}

void AppendRect(ColorVertexList& triangles, const Rect& r, Color32 c) {
    const auto corner = [c](float x, float y) {
        return ColorVertex{colorRed(c), colorGreen(c), colorBlue(c), colorAlpha(c), x, y};
    };
    const ColorVertex a = corner(r.left, r.bottom), b = corner(r.right, r.bottom), d = corner(r.left, r.top),
                      e = corner(r.right, r.top);
    triangles.insert(triangles.end(), {a, b, d, d, b, e});
}

void ApplyCamera(const Camera& c) {
    const float hw = float(ViewWidth) * c.zoom * 0.5f;
    const float hh = float(ViewHeight) * c.zoom * 0.5f;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(c.x - hw, c.x + hw, c.y - hh, c.y + hh, 1.0, 0.0);
}

void CameraStack::PushCamera(const Camera& c) {
    ApplyCamera(c);
    cameras_.push_back(c);
}

void CameraStack::PopCamera() {
    if (!cameras_.empty()) cameras_.pop_back();
    ApplyCamera(cameras_.empty() ? DefaultCamera : cameras_.back());
}

void CameraStack::ResetView() {
    cameras_.clear();
    PushCamera(DefaultCamera);
}
