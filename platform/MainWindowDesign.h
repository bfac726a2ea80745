#pragma once
// The main window's design state: every control with its twips position, font and colours.
#include "platform/Design.h"

namespace MainCtl {
constexpr ControlId Picture1 = 0;
constexpr ControlId BtnMenu(int k) { return 1 + 2 * k; }
constexpr ControlId LblMenu(int k) { return 2 + 2 * k; }
constexpr ControlId BtnPrev = 21;
constexpr ControlId BtnNext = 22;
constexpr int kMenuButtons = 10;
}  // namespace MainCtl

// The frame the main window's heights are given for: a 315-twip title bar and top edge, and
// 45-twip edges.
constexpr HeightFrame kMainFrame{315, 45};

const WindowDesign& MainWindowDesign();
