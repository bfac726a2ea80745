#include "platform/win32/ChooseFolderWindow.h"

#include <algorithm>

#include "platform/ChooseFolderDesign.h"
#include "platform/win32/Text.h"

using namespace ChooseCtl;

namespace {

// "C:\a\b" -> "C:\", "C:\a", "C:\a\b".
std::vector<std::string> PathAndAncestors(const std::string& path) {
    std::vector<std::string> out;
    if (path.size() < 3) return out;
    out.push_back(path.substr(0, 3));
    for (std::size_t i = 3; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '\\') out.push_back(path.substr(0, i));
    if (out.size() > 1 && out.back() == out[out.size() - 2]) out.pop_back();
    return out;
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

std::string CurrentFolder() {
    wchar_t buffer[MAX_PATH * 4];
    const DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(std::size(buffer)), buffer);
    return n && n < std::size(buffer) ? Utf8(std::wstring(buffer, n)) : std::string("C:\\");
}

}  // namespace

ChooseFolderWindow::ChooseFolderWindow(Services& services, AppState& state)
    : DesignedWindow(ChooseFolderDesign()), behaviour_(*this, services, state) {}

bool ChooseFolderWindow::Create(PictureService& pictures) {
    if (!DesignedWindow::Create(pictures)) return false;
    const std::string current = CurrentFolder();
    HWND drives = Control(Drive1);
    wchar_t letters[256];
    const DWORD n = GetLogicalDriveStringsW(static_cast<DWORD>(std::size(letters)), letters);
    for (const wchar_t* d = letters; n && *d; d += wcslen(d) + 1) {
        std::wstring item(d, 2);  // "C:"
        wchar_t label[MAX_PATH + 1] = L"";
        // Only fixed drives are asked for their label: an empty disc drive would make the list wait.
        if (GetDriveTypeW(d) == DRIVE_FIXED && GetVolumeInformationW(d, label, MAX_PATH, nullptr, nullptr, nullptr,
                                                                      nullptr, 0) && *label)
            item += std::wstring(L" [") + label + L"]";
        const auto index = SendMessageW(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        if (_wcsnicmp(d, Wide(current).c_str(), 2) == 0) SendMessageW(drives, CB_SETCURSEL, index, 0);
    }
    SetFolderPath(current);
    return true;
}

std::string ChooseFolderWindow::Drive() const {
    HWND drives = Control(Drive1);
    const auto index = SendMessageW(drives, CB_GETCURSEL, 0, 0);
    if (index < 0) return path_.substr(0, 2);
    wchar_t text[MAX_PATH + 8] = L"";
    SendMessageW(drives, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return Utf8(std::wstring(text, 2));
}

bool ChooseFolderWindow::SetFolderPath(const std::string& requested) {
    std::string path = requested;
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    std::vector<std::string> children;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW(Wide(Join(path, "*")).c_str(), FindExInfoBasic, &found,
                                     FindExSearchLimitToDirectories, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;  // e.g. no disc in the drive
    } else {
        do {
            const std::wstring name = found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
                children.push_back(Join(path, Utf8(name)));
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    std::sort(children.begin(), children.end());

    path_ = path;
    HWND list = Control(Dir1);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    itemPaths_ = PathAndAncestors(path);
    const std::size_t depth = itemPaths_.size();
    itemPaths_.insert(itemPaths_.end(), children.begin(), children.end());
    for (std::size_t i = 0; i < itemPaths_.size(); ++i) {
        const std::string& p = itemPaths_[i];
        const std::string name = i == 0 ? p : p.substr(p.find_last_of('\\') + 1);
        const std::size_t level = std::min(i, depth);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(std::string(2 * level, ' ') + name).c_str()));
    }
    SendMessageW(list, LB_SETCURSEL, depth - 1, 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    return true;
}

void ChooseFolderWindow::OnCommand(ControlId id, int code) {
    if (id == OKButton && code == BN_CLICKED) behaviour_.OKButton_Click();
    else if (id == CancelButton && code == BN_CLICKED) behaviour_.CancelButton_Click();
    else if (id == Drive1 && code == CBN_SELCHANGE) behaviour_.Drive1_Change();
    else if (id == Dir1 && code == LBN_DBLCLK) {
        const auto index = SendMessageW(Control(Dir1), LB_GETCURSEL, 0, 0);
        if (index >= 0 && static_cast<std::size_t>(index) < itemPaths_.size()) SetFolderPath(itemPaths_[index]);
    }
}
