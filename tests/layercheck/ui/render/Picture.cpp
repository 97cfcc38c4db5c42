// Not compiled: drawing that reaches up to the hub above it, by include and by its global, and a
// header named without its root (ui/editor or core/editor?), for the test that the layer check
// catches each.
#include "ui/render/Picture.h"
#include "editor/Tool.h"
#include "ui/system/Hub.h"

float pictureScale() {
    return TheGameSystem->scale;
}
