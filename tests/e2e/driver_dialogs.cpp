// The driver's message boxes, pop-up menus and list views.
#include "driver_internal.h"

namespace e2e {

using namespace internal;

namespace {

Icon IdentifyIcon(HWND owner, HICON icon) {
    if (!icon) return Icon::None;
    agent::IconBlock block{icon, 0};
    if (!CallAgent(ProcessOf(owner), agent::kIdentifyIcon, &block, sizeof(block))) return Icon::Unknown;
    switch (block.which) {  // the IDI_* resource numbers
    case 32516: return Icon::Information;  // IDI_ASTERISK
    case 32515: return Icon::Exclamation;  // IDI_EXCLAMATION
    case 32513: return Icon::Critical;     // IDI_HAND
    case 32514: return Icon::Question;     // IDI_QUESTION
    default: return Icon::Unknown;
    }
}

constexpr int kMessageTextId = 0xFFFF;  // the message's static in Windows' and Wine's box

}  // namespace

// ---------------------------------------------------------------- message boxes

const char* IconName(Icon icon) {
    switch (icon) {
    case Icon::None: return "none";
    case Icon::Information: return "information";
    case Icon::Exclamation: return "exclamation";
    case Icon::Critical: return "critical";
    case Icon::Question: return "question";
    default: return "unknown";
    }
}

std::vector<std::string> MessageBoxInfo::ButtonCaptions() const {
    std::vector<std::string> out;
    for (const auto& b : buttons) out.push_back(StripMenuText(b.second));
    return out;
}

// A message box holds nothing but its message (one static with id 0xFFFF),
// perhaps an icon, and buttons with the standard ids; any other dialog, even
// one whose labels use id -1 (0xFFFF) too, fails one of these.
MessageBoxInfo ReadMessageBox(HWND dialog) {
    MessageBoxInfo box;
    int texts = 0;
    HICON icon = nullptr;
    std::vector<std::pair<LONG, std::pair<int, std::string>>> buttons;
    for (const auto& c : Controls(dialog)) {
        if (!c.visible) continue;
        if (c.className == "Static" && c.id == kMessageTextId) {
            box.text = c.text;
            ++texts;
        } else if (c.className == "Static" && (c.style & SS_TYPEMASK) == SS_ICON) {
            icon = reinterpret_cast<HICON>(c.image);
        } else if (c.className == "Button" && c.id >= IDOK && c.id <= IDCONTINUE) {
            buttons.push_back({c.rect.left, {c.id, c.text}});
        } else {
            return {};
        }
    }
    if (texts != 1 || buttons.empty()) return {};
    std::sort(buttons.begin(), buttons.end());
    for (auto& b : buttons) box.buttons.push_back(b.second);
    box.hwnd = dialog;
    box.title = TextOf(dialog);
    box.icon = IdentifyIcon(dialog, icon);
    return box;
}

MessageBoxInfo WaitForMessageBox(int timeoutMs, DWORD pid) {
    MessageBoxInfo box;
    // A box can be seen while Wine is still filling it in (on a cold, busy start its title, text
    // and button captions read empty for a moment): only a box whose buttons are labelled counts.
    auto complete = [](const MessageBoxInfo& b) {
        if (!b || b.buttons.empty() || (b.title.empty() && b.text.empty())) return false;
        for (const auto& button : b.buttons)
            if (button.second.empty()) return false;
        return true;
    };
    WaitUntil([&] {
        for (HWND h : TopLevelWindows(pid))
            if (ClassOf(h) == "#32770" && complete(box = ReadMessageBox(h))) return true;
        box = MessageBoxInfo{};
        return false;
    }, timeoutMs, 50);
    return box;
}

bool Answer(const MessageBoxInfo& box, int buttonId) {
    for (const auto& c : Controls(box.hwnd))
        if (c.className == "Button" && c.id == buttonId && c.visible)
            return Click(c.hwnd) && WaitClosed(box.hwnd, 3000);
    return false;
}

bool CloseBox(const MessageBoxInfo& box) {
    if (!IsWindow(box.hwnd)) return false;
    PostMessageW(box.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    return WaitClosed(box.hwnd, 3000);
}

// ---------------------------------------------------------------- pop-up menus

std::vector<std::string> PopupMenu::Texts() const {
    std::vector<std::string> out;
    for (const auto& item : items)
        if (!item.separator) out.push_back(StripMenuText(item.text));
    return out;
}

namespace {

HWND VisiblePopupMenu() {
    for (HWND h : TopLevelWindows())
        if (ClassOf(h) == "#32768") return h;
    return nullptr;
}

struct ReadMenu {
    PopupMenu menu;
    std::vector<RECT> rects;
};

ReadMenu ReadPopup(HWND window) {
    ReadMenu out;
    DWORD_PTR handle = 0;
    if (!SendMessageTimeoutW(window, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, 2000, &handle) || !handle)
        return out;
    auto block = std::make_unique<agent::MenuBlock>();
    block->menu = reinterpret_cast<HMENU>(handle);
    block->window = window;
    if (!CallAgent(ProcessOf(window), agent::kReadMenu, block.get(), sizeof(*block))) return out;
    out.menu.hwnd = window;
    for (int i = 0; i < block->count; ++i) {
        const agent::MenuItem& src = block->items[i];
        MenuItem item;
        item.text = Narrow(src.text);
        item.separator = (src.type & MFT_SEPARATOR) != 0;
        item.enabled = (src.state & MFS_DISABLED) == 0;
        item.checked = (src.state & MFS_CHECKED) != 0;
        item.id = src.id;
        out.menu.items.push_back(item);
        out.rects.push_back(src.rect);
    }
    return out;
}

}  // namespace

PopupMenu WaitForPopupMenu(int timeoutMs) {
    PopupMenu menu;
    WaitUntil([&] {
        HWND h = VisiblePopupMenu();
        return h && (menu = ReadPopup(h).menu);
    }, timeoutMs, 50);
    return menu;
}

bool ChooseMenuItem(const PopupMenu& menu, const std::string& text) {
    if (!IsWindow(menu.hwnd)) return false;
    // Read again: the rectangles are only known while the menu shows.
    const ReadMenu now = ReadPopup(menu.hwnd);
    for (size_t i = 0; i < now.menu.items.size(); ++i) {
        const MenuItem& item = now.menu.items[i];
        if (item.separator || !item.enabled || StripMenuText(item.text) != text) continue;
        const RECT& r = now.rects[i];
        if (!SendMouse({(r.left + r.right) / 2, (r.top + r.bottom) / 2},
                       {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}))
            return false;
        return WaitClosed(menu.hwnd, 3000);
    }
    return false;
}

bool DismissMenus(int timeoutMs) {
    return WaitUntil([] {
        if (!VisiblePopupMenu()) return true;
        PressKey(VK_ESCAPE);
        return false;
    }, timeoutMs, 100);
}

// ---------------------------------------------------------------- list views

namespace {

RECT ItemRect(HWND list, int row, int code) {
    RECT r{code, 0, 0, 0};
    RemoteBuffer remote(ProcessOf(list), sizeof(RECT));
    if (!remote || !remote.Write(&r, sizeof(r))) return {};
    if (!SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.At())) ||
        !remote.Read(&r, sizeof(r)))
        return {};
    return r;
}

POINT CentreOfRow(HWND list, int row) {
    SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
    const RECT r = ItemRect(list, row, LVIR_LABEL);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

int ListRowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

std::vector<std::string> ListColumns(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int count = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    constexpr int kChars = 512;
    RemoteBuffer remote(ProcessOf(list), sizeof(LVCOLUMNW) + kChars * sizeof(wchar_t));
    std::vector<std::string> out;
    for (int i = 0; remote && i < count; ++i) {
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT;
        col.pszText = reinterpret_cast<LPWSTR>(remote.At(sizeof(LVCOLUMNW)));
        col.cchTextMax = kChars;
        wchar_t text[kChars] = {};
        remote.Write(&col, sizeof(col));
        remote.Write(text, sizeof(wchar_t), sizeof(LVCOLUMNW));
        SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(remote.At()));
        remote.Read(text, sizeof(text), sizeof(LVCOLUMNW));
        text[kChars - 1] = 0;
        out.push_back(Narrow(text));
    }
    return out;
}

std::string ListCell(HWND list, int row, int column) {
    constexpr int kChars = 1024;
    RemoteBuffer remote(ProcessOf(list), sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    if (!remote) return {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<LPWSTR>(remote.At(sizeof(LVITEMW)));
    item.cchTextMax = kChars;
    remote.Write(&item, sizeof(item));
    const auto len = SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote.At()));
    std::wstring text(static_cast<size_t>(std::clamp<LRESULT>(len, 0, kChars - 1)), L'\0');
    if (!text.empty()) remote.Read(text.data(), text.size() * sizeof(wchar_t), sizeof(LVITEMW));
    return Narrow(text);
}

std::vector<std::vector<std::string>> ListRows(HWND list) {
    const int rows = ListRowCount(list);
    const size_t columns = std::max<size_t>(1, ListColumns(list).size());
    std::vector<std::vector<std::string>> out(rows);
    for (int r = 0; r < rows; ++r)
        for (size_t c = 0; c < columns; ++c) out[r].push_back(ListCell(list, r, static_cast<int>(c)));
    return out;
}

int ListSelectedRow(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool ListSelectRow(HWND list, int row) {
    if (row < 0 || row >= ListRowCount(list)) return false;
    return ClickAt(list, CentreOfRow(list, row)) &&
           WaitUntil([&] { return ListSelectedRow(list) == row; }, 2000);
}

bool ListDoubleClickRow(HWND list, int row) {
    if (row < 0 || row >= ListRowCount(list)) return false;
    return DoubleClickAt(list, CentreOfRow(list, row));
}

RECT ListRowRect(HWND list, int row) { return ItemRect(list, row, LVIR_BOUNDS); }

// ---------------------------------------------------------------- file dialogs

HWND WaitForFileDialog(const std::string& caption, int timeoutMs, DWORD pid) {
    return WaitForWindow(caption, timeoutMs, pid, "#32770");
}

bool ChooseInFileDialog(HWND dialog, const std::string& path) {
    constexpr int kFileName = 0x480;  // the dialog's file name box (edt1)
    HWND name = FindControl(dialog, kFileName);
    if (!name || !IsWindowVisible(name)) return false;
    if (!ReplaceEditText(name, WinPathFromUnix(path))) return false;
    PressButton(FindControl(dialog, IDOK));
    return WaitClosed(dialog, 10000);
}

}  // namespace e2e
