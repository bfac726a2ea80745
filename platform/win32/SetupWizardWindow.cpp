#include "platform/win32/SetupWizardWindow.h"

#include <commctrl.h>

#include "platform/SetupWizardDesign.h"
#include "platform/win32/DroppedFiles.h"
#include "platform/win32/Text.h"

using namespace WizardCtl;

SetupWizardWindow::SetupWizardWindow(Orvelund& main, Services& services, AppState& state)
    : DesignedWindow(SetupWizardDesign()), behaviour_(*this, main, services, state) {}

bool SetupWizardWindow::Create(PictureService& pictures) {
    if (!DesignedWindow::Create(pictures)) return false;
    AddColumns(sMenuItems, kMenuItemColumns);
    AcceptDroppedFiles(hwnd());
    return true;
}

LRESULT SetupWizardWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg != WM_DROPFILES) return DesignedWindow::OnMessage(msg, wp, lp);
    const DroppedFiles dropped = TakeDroppedFiles(reinterpret_cast<HDROP>(wp));
    // The row under the pointer; below the last row, or off the list, none.
    int row = 0;
    HWND list = Control(sMenuItems);
    if (ChildAt(hwnd(), dropped.at) == list) {
        LVHITTESTINFO hit{};
        hit.pt = dropped.at;
        MapWindowPoints(hwnd(), list, &hit.pt, 1);
        row = ListView_HitTest(list, &hit) + 1;
    }
    behaviour_.sMenuItems_DropFiles(dropped.paths, row);
    return 0;
}

bool SetupWizardWindow::Checked(ControlId id) const {
    return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SetupWizardWindow::SetChecked(ControlId id, bool checked) {
    SendMessageW(Control(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void SetupWizardWindow::SetRowCount(int rows) { SetListRowCount(sMenuItems, rows); }
int SetupWizardWindow::SelectedRow() const { return ListSelectedRow(sMenuItems); }
void SetupWizardWindow::SelectRow(int row) { ListSelectRow(sMenuItems, row); }

void SetupWizardWindow::OnCommand(ControlId id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
    case AddItem: behaviour_.AddItem_Click(); break;
    case DeleteItem: behaviour_.DeleteItem_Click(); break;
    case MoveUp: behaviour_.MoveUp_Click(); break;
    case MoveDown: behaviour_.MoveDown_Click(); break;
    case OKButton: behaviour_.OKButton_Click(); break;
    case Color0: behaviour_.Color_Click(0); break;
    case Color1: behaviour_.Color_Click(1); break;
    case AutoRunReset: behaviour_.AutoRunReset_Click(); break;
    case AppImage: behaviour_.AppImage_Click(); break;
    case Content: behaviour_.Content_Click(); break;
    case Instructions: behaviour_.Instructions_Click(); break;
    case Update: behaviour_.Update_Click(); break;
    case CancelButton: behaviour_.CancelButton_Click(); break;
    case CheckMedium: behaviour_.CheckMedium_Click(); break;
    default: break;
    }
}

LRESULT SetupWizardWindow::OnNotify(ControlId id, NMHDR* header) {
    if (id != sMenuItems) return 0;
    if (header->code == LVN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
        if (info->item.mask & LVIF_TEXT) {
            cell_ = Wide(behaviour_.Cell(info->item.iItem + 1, info->item.iSubItem));
            info->item.pszText = cell_.data();
        }
    } else if (header->code == NM_DBLCLK) {
        behaviour_.sMenuItems_DblClick();
    }
    return 0;
}
