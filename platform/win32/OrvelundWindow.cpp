#include "platform/win32/OrvelundWindow.h"

#include "app/PopupMenu.h"
#include "platform/MainWindowDesign.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Text.h"

OrvelundWindow::OrvelundWindow(Services& services, AppState& state)
    : DesignedWindow(MainWindowDesign()), behaviour_(*this, services, state) {}

PopupCommand OrvelundWindow::ShowPopupMenu(int x, int y) {
    const std::vector<PopupItem> items = PopupMenuItems(setupMenuVisible_);
    MenuHandle menu(CreatePopupMenu());
    // Each item's command id is its place in the list plus one: TrackPopupMenu answers 0 for no pick.
    for (std::size_t i = 0; i < items.size(); ++i)
        AppendMenuW(menu.get(), MF_STRING, i + 1, Wide(items[i].text).c_str());
    POINT p{x, y};
    ClientToScreen(Control(MainCtl::Picture1), &p);
    SetForegroundWindow(hwnd());
    const int chosen =
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, p.x, p.y, 0, hwnd(), nullptr);
    return PopupChoice(items, chosen - 1);
}

void OrvelundWindow::OnCommand(ControlId id, int code) {
    if (code != BN_CLICKED) return;
    if (id == MainCtl::BtnNext) behaviour_.btnNext_Click();
    else if (id == MainCtl::BtnPrev) behaviour_.btnPrev_Click();
    else if (id >= MainCtl::BtnMenu(0) && id <= MainCtl::BtnMenu(9) && (id - MainCtl::BtnMenu(0)) % 2 == 0)
        behaviour_.btnMenu_Click((id - MainCtl::BtnMenu(0)) / 2);
}

void OrvelundWindow::OnMouseDown(ControlId id, int buttons, int x, int y) {
    if (id == MainCtl::Picture1) behaviour_.Picture1_MouseDown(buttons, 0, x, y);
}

void OrvelundWindow::OnActivate() { behaviour_.Form_Activate(); }

void OrvelundWindow::OnContextMenuKey(ControlId id) {
    // The menu key or Shift+F10 on the main picture opens the same pop-up as a right click,
    // at the picture's corner.
    if (id == MainCtl::Picture1) behaviour_.Picture1_MouseDown(2, 0, 8, 8);
}
