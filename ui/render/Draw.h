#pragma once
// The drawing primitives every picture of the game is made of: OpenGL 1.1 client arrays under
// an orthographic projection set per camera. All calls belong between a frame's start and swap.
#include "core/base/Color.h"
#include "core/stage/Camera.h"
#include "core/stage/Geometry.h"

#include <GL/glew.h>

#include <cstdint>
#include <vector>

using VertexList = std::vector<Vec2>;

// 12 bytes: colour first, then position; the trail draws these as one strip.
struct ColorVertex {
    std::uint8_t r, g, b, a;
    float x, y;
};
static_assert(sizeof(ColorVertex) == 12);
using ColorVertexList = std::vector<ColorVertex>;

// Last-in-first-out cameras, each applied as the projection when it becomes the top one; the
// bottom entry is DefaultCamera while a scene draws.
class CameraStack {
public:
    void PushCamera(const Camera& c);
    void PopCamera(); // back to the camera below, or DefaultCamera when none is left
    void ResetView(); // DefaultCamera alone
    std::size_t size() const { return cameras_.size(); }

private:
    std::vector<Camera> cameras_;
};

void ClearScreen(Color32 c);
void SetColor(Color32 c);
// Untextured, whatever the last label left: these turn texturing off themselves.
void DrawVertices(const VertexList& vertices, GLenum mode);
void DrawColorVertices(const ColorVertexList& vertices, GLenum mode);
// For lists whose every colour is opaque: blended, they give the same pixels, but a software
// renderer reads each pixel under them first.
void DrawOpaqueColorVertices(const ColorVertexList& vertices, GLenum mode);
void FillRect(const Rect& r, Color32 c);
void DrawOutline(const Rect& r, Color32 c);
// For the GL_POINTS lists drawn after it, in pixels.
void SetPointSize(float size);
// Two triangles filling `r`, for a GL_TRIANGLES list that fills many rectangles in one call
// (each draw call costs the software renderer as much as a large fill).
void AppendRect(ColorVertexList& triangles, const Rect& r, Color32 c);
void ApplyCamera(const Camera& c);
