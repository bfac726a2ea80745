// The virtual list views of the designs: the behaviour class holds the rows, the list asks for
// the cells it shows (LVN_GETDISPINFO), so thousands of rows open at once.
#include "platform/win32/DesignedWindow.h"

#include <commctrl.h>

#include "platform/win32/Text.h"

void DesignedWindow::AddColumns(ControlId list, const ColumnDesign* columns, std::size_t count) {
    HWND h = Control(list);
    ListView_SetExtendedListViewStyle(h, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_INFOTIP);
    for (std::size_t i = 0; i < count; ++i) {
        std::wstring header = Wide(columns[i].header);
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        lvc.pszText = header.data();
        lvc.cx = Px(columns[i].width);
        lvc.iSubItem = static_cast<int>(i);
        ListView_InsertColumn(h, static_cast<int>(i), &lvc);
    }
    listColumns_.push_back({list, columns, count});
}

void DesignedWindow::SizeColumns() {
    for (const auto& l : listColumns_)
        for (std::size_t i = 0; i < l.count; ++i)
            ListView_SetColumnWidth(Control(l.list), static_cast<int>(i), Px(l.columns[i].width));
}

void DesignedWindow::SetListRowCount(ControlId list, int rows) {
    HWND h = Control(list);
    // Wine sizes a virtual list right only through LVM_SETITEMCOUNT.
    ListView_SetItemCountEx(h, rows, LVSICF_NOSCROLL);
    InvalidateRect(h, nullptr, TRUE);
}

int DesignedWindow::ListSelectedRow(ControlId list) const {
    return ListView_GetNextItem(Control(list), -1, LVNI_SELECTED) + 1;
}

void DesignedWindow::ListSelectRow(ControlId list, int row) {
    HWND h = Control(list);
    ListView_SetItemState(h, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (row < 1) return;
    ListView_SetItemState(h, row - 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(h, row - 1, FALSE);
}
