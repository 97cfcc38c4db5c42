#pragma once
// The line the editor shows about its stage check: how to start one, its progress, its answer.
#include "core/editor/StageCheck.h"

#include <string>

std::u16string stageCheckText(const StageCheck& check);
