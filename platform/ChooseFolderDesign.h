#pragma once
// The relocation window's design state.
#include "platform/Design.h"

namespace ChooseCtl {
constexpr ControlId OKButton = 0, CancelButton = 1, Drive1 = 2, Dir1 = 3;
}

const WindowDesign& ChooseFolderDesign();
