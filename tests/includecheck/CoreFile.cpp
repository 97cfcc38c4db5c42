// Not compiled: a core file that looks clean but reaches drawing, SDL and a scene through the
// header beside it, for the test that the core include check catches that.
#include "LeakyHeader.h"
#include "core/stage/Stage.h"
