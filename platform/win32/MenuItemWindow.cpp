#include "platform/win32/MenuItemWindow.h"

#include "platform/MenuItemDesign.h"
#include "platform/win32/Text.h"

using namespace ItemCtl;

MenuItemWindow::MenuItemWindow(SetupWizard& editor, Orvelund& main, Services& services, AppState& state)
    : DesignedWindow(MenuItemDesign()), behaviour_(*this, editor, main, services, state) {}

bool MenuItemWindow::Create(PictureService& pictures) {
    if (!DesignedWindow::Create(pictures)) return false;
    for (const char* verb : kActionVerbs)
        SendMessageW(Control(mAction), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(verb).c_str()));
    return true;
}

void MenuItemWindow::OnCommand(ControlId id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
    case OKButton: behaviour_.OKButton_Click(); break;
    case CancelButton: behaviour_.CancelButton_Click(); break;
    case Refresh: behaviour_.Refresh_Click(); break;
    case mTest: behaviour_.mTest_Click(); break;
    default: break;
    }
}
