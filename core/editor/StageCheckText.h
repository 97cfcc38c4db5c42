#pragma once
// The line the editor shows about its stage check: how to start one, its progress, its answer
// (an answer with a route has a second line, after a newline, with the route's details).
#include "core/editor/StageCheck.h"

#include <string>

std::u16string stageCheckText(const StageCheck& check);
