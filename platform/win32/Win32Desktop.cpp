#include "platform/win32/Win32Desktop.h"

#include <windows.h>

#include "platform/win32/Text.h"

void Win32Shell::Execute(std::intptr_t owner, const std::string& verb, const std::string& file) {
    const std::wstring v = Wide(verb), f = Wide(file);
    // The result is deliberately not looked at: the shell tells the user itself when it cannot
    // open something.
    ShellExecuteW(reinterpret_cast<HWND>(owner), v.empty() ? nullptr : v.c_str(), f.c_str(), L"", L"",
                  SW_SHOWNORMAL);
}

int Win32Dialogs::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    // Modal to whichever of our windows is active, so the answer comes before anything else.
    return MessageBoxW(GetActiveWindow(), Wide(prompt).c_str(), Wide(title).c_str(),
                       static_cast<UINT>(buttons) | MB_SETFOREGROUND);
}
