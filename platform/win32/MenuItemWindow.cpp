#include "platform/win32/MenuItemWindow.h"

#include "platform/MenuItemDesign.h"
#include "platform/win32/DroppedFiles.h"
#include "platform/win32/Text.h"

using namespace ItemCtl;

MenuItemWindow::MenuItemWindow(SetupWizard& editor, Orvelund& main, Services& services, AppState& state)
    : DesignedWindow(MenuItemDesign()), behaviour_(*this, editor, main, services, state) {}

bool MenuItemWindow::Create(PictureService& pictures) {
    if (!DesignedWindow::Create(pictures)) return false;
    for (const char* verb : kActionVerbs)
        SendMessageW(Control(mAction), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(verb).c_str()));
    AcceptDroppedFiles(hwnd());
    return true;
}

LRESULT MenuItemWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_DROPFILES) return DesignedWindow::OnMessage(msg, wp, lp);
    const DroppedFiles dropped = TakeDroppedFiles(reinterpret_cast<HDROP>(wp));
    HWND child = ChildAt(hwnd(), dropped.at);
    ControlId at = -1;
    for (ControlId id = 0; child && id < static_cast<ControlId>(design_.controls.size()); ++id)
        if (Control(id) == child) at = id;
    behaviour_.Form_DropFiles(at, dropped.paths);
    return 0;
}

void MenuItemWindow::OnCommand(ControlId id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
    case OKButton: behaviour_.OKButton_Click(); break;
    case CancelButton: behaviour_.CancelButton_Click(); break;
    case Refresh: behaviour_.Refresh_Click(); break;
    case mTest: behaviour_.mTest_Click(); break;
    case BrowseFile: behaviour_.BrowseFile_Click(); break;
    case BrowseFolder: behaviour_.BrowseFolder_Click(); break;
    default: break;
    }
}
