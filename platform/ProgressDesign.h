#pragma once
// The progress window's design state: what a long task is doing, a bar, and Cancel.
#include "platform/Design.h"

namespace ProgressCtl {
constexpr ControlId CancelButton = 0, lText = 1, Bar = 2;
}

const WindowDesign& ProgressDesign();
