// Not compiled: drawing that reaches up to the hub above it, and a header named without its root
// (ui/editor or core/editor?), for the test that the layer check catches both.
#include "ui/render/Picture.h"
#include "editor/Tool.h"
#include "ui/system/Hub.h"
