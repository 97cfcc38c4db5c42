// Not compiled: drawing that reaches up to the hub above it, for the test that the layer check
// catches that.
#include "render/Picture.h"
#include "system/Hub.h"
