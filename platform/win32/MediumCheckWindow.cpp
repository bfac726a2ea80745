#include "platform/win32/MediumCheckWindow.h"

#include <commctrl.h>

#include "platform/MediumCheckDesign.h"
#include "platform/win32/Text.h"

using namespace CheckCtl;

MediumCheckWindow::MediumCheckWindow(SetupWizard& editor, Orvelund& main, Services& services, AppState& state)
    : DesignedWindow(MediumCheckDesign()), behaviour_(*this, editor, main, services, state) {}

bool MediumCheckWindow::Create(PictureService& pictures) {
    if (!DesignedWindow::Create(pictures)) return false;
    AddColumns(lvFindings, kFindingColumns);
    return true;
}

void MediumCheckWindow::SetRowCount(int rows) { SetListRowCount(lvFindings, rows); }
int MediumCheckWindow::SelectedRow() const { return ListSelectedRow(lvFindings); }
void MediumCheckWindow::SelectRow(int row) { ListSelectRow(lvFindings, row); }

void MediumCheckWindow::OnCommand(ControlId id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
    case CheckAgain: behaviour_.CheckAgain_Click(); break;
    case WriteWebPage: behaviour_.WriteWebPage_Click(); break;
    case MakeDiscImage: behaviour_.MakeDiscImage_Click(); break;
    case CloseButton: behaviour_.CloseButton_Click(); break;
    default: break;
    }
}

LRESULT MediumCheckWindow::OnNotify(ControlId id, NMHDR* header) {
    if (id != lvFindings) return 0;
    if (header->code == LVN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
        if (info->item.mask & LVIF_TEXT) {
            cell_ = Wide(behaviour_.Cell(info->item.iItem + 1, info->item.iSubItem));
            info->item.pszText = cell_.data();
        }
    } else if (header->code == LVN_ITEMCHANGED) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
        if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
            behaviour_.lvFindings_SelectionChanged();
    } else if (header->code == NM_DBLCLK) {
        behaviour_.lvFindings_DblClick();
    }
    return 0;
}
