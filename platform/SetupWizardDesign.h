#pragma once
// The Menu Editor's design state.
#include "platform/Design.h"

namespace WizardCtl {
constexpr ControlId sTitle = 0, AppImage = 1, AutoRunReset = 2, Instructions = 3, Update = 4, AddItem = 5,
                    DeleteItem = 6, MoveUp = 7, MoveDown = 8, OKButton = 9, CancelButton = 10, sMenuItems = 11,
                    AppIcon = 12, Color0 = 13, Color1 = 14, HideSetup = 15, Content = 16, CheckMedium = 17;
}

constexpr ColumnDesign kMenuItemColumns[] = {
    {"Button", 1440}, {"Label", 3200}, {"File/Folder", 4000}, {"Action", 800}, {"Image", 1440}};

const WindowDesign& SetupWizardDesign();
