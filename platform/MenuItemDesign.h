#pragma once
// The item editor's design state.
#include "platform/Design.h"

namespace ItemCtl {
constexpr ControlId OKButton = 0, CancelButton = 1, mButton = 2, mLabel = 3, mFileFolder = 4, mAction = 5,
                    mImage = 6, lButton = 7, lLabel = 8, lFileFolder = 9, lAction = 10, Label1 = 11, lImage = 12,
                    Frame1 = 13, Refresh = 14, mTest = 15, BrowseFile = 16, BrowseFolder = 17;
}

// The verbs the action box offers, in this order.
constexpr const char* kActionVerbs[] = {"open", "edit", "print", "explore"};

const WindowDesign& MenuItemDesign();
