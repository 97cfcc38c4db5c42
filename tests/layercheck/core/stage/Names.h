#pragma once
// Not compiled: a stage header that reaches up to the language folder, which includes it back,
// for the test that the layer check catches the circle.
#include "core/lang/Words.h"
