#include "core/stage/View.h"

#include <algorithm>

Viewport ComputeViewport(int viewWidth, int viewHeight, int baseWidth, int baseHeight) {
    const float sx = float(viewWidth) / float(baseWidth);
    const float sy = float(viewHeight) / float(baseHeight);
    Viewport v;
    if (sy < sx) { // wider than 4:3: bars left and right
        v.scale = sy;
        const float w = sy * float(viewWidth) / sx;
        v.x = int((float(viewWidth) - w) * 0.5f);
        v.y = 0;
        v.width = int(w);
        v.height = viewHeight;
    } else { // taller than (or exactly) 4:3: bars above and below
        v.scale = sx;
        const float h = sx * float(viewHeight) / sy;
        v.x = 0;
        v.y = int((float(viewHeight) - h) * 0.5f);
        v.width = viewWidth;
        v.height = int(h);
    }
    return v;
}

int surfaceSideLimit(int maxViewportWidth, int maxViewportHeight) {
    int side = MaxSurfaceSide;
    for (int reported : {maxViewportWidth, maxViewportHeight})
        if (reported > 0) side = std::min(side, reported);
    return side;
}
