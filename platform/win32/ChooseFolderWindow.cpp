#include "platform/win32/ChooseFolderWindow.h"

#include "platform/ChooseFolderDesign.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Text.h"

using namespace ChooseCtl;

namespace {

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
    const std::string path = OpenedFolderPath(requested);
    std::vector<std::string> subfolders;
    WIN32_FIND_DATAW found;
    const FindHandle search(FindFirstFileExW(Wide(FolderChild(path, "*")).c_str(), FindExInfoBasic, &found,
                                             FindExSearchLimitToDirectories, nullptr, 0));
    if (!search) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;  // e.g. no disc in the drive
    } else {
        do {
            const std::wstring name = found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
                subfolders.push_back(Utf8(name));
        } while (FindNextFileW(search.get(), &found));
    }

    path_ = path;
    folders_ = MakeFolderList(path, subfolders);
    HWND list = Control(Dir1);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const FolderRow& row : folders_.rows)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(row.text).c_str()));
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(folders_.selected), 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    return true;
}

void ChooseFolderWindow::OnCommand(ControlId id, int code) {
    if (id == OKButton && code == BN_CLICKED) behaviour_.OKButton_Click();
    else if (id == CancelButton && code == BN_CLICKED) behaviour_.CancelButton_Click();
    else if (id == Drive1 && code == CBN_SELCHANGE) behaviour_.Drive1_Change();
    else if (id == Dir1 && code == LBN_DBLCLK) {
        const auto row = SendMessageW(Control(Dir1), LB_GETCURSEL, 0, 0);
        if (const auto folder = folders_.Opened(static_cast<int>(row))) SetFolderPath(*folder);
    }
}
