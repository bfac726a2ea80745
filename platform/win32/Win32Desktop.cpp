#include "platform/win32/Win32Desktop.h"

#include <windows.h>
#include <commdlg.h>

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Text.h"

namespace {

bool ShellExecuteWith(std::intptr_t owner, const std::string& verb, const std::string& file,
                      const std::string& parameters) {
    const std::wstring v = Wide(verb), f = Wide(file), p = Wide(parameters);
    EnsureCom();  // the shell may hand the target to a COM handler
    static const auto shellExecute = SystemFunction<decltype(&ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
    if (!shellExecute) return false;
    const HINSTANCE result = shellExecute(reinterpret_cast<HWND>(owner), v.empty() ? nullptr : v.c_str(), f.c_str(),
                                          p.c_str(), L"", SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;  // the documented test of success
}

}  // namespace

bool Win32Shell::Execute(std::intptr_t owner, const std::string& verb, const std::string& file) {
    return ShellExecuteWith(owner, verb, file, "");
}

bool Win32Shell::Start(std::intptr_t owner, const std::string& program, const std::string& parameters) {
    return ShellExecuteWith(owner, "open", program, parameters);
}

int Win32Dialogs::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    // Modal to whichever of our windows is active, so the answer comes before anything else.
    return MessageBoxW(GetActiveWindow(), Wide(prompt).c_str(), Wide(title).c_str(),
                       static_cast<UINT>(buttons) | MB_SETFOREGROUND);
}

bool Win32ColorDialog::Pick(std::array<std::int32_t, 16>& customColors, std::int32_t& chosen) {
    COLORREF custom[16];
    for (size_t i = 0; i < 16; ++i) custom[i] = static_cast<COLORREF>(customColors[i]);
    CHOOSECOLORW request{};
    request.lStructSize = sizeof(request);
    request.hwndOwner = nullptr;  // no owner: the editor stays usable while the chooser is open
    request.lpCustColors = custom;
    request.Flags = 0;
    static const auto chooseColor = SystemFunction<decltype(&ChooseColorW)>(L"comdlg32.dll", "ChooseColorW");
    if (!chooseColor || !chooseColor(&request)) return false;
    for (size_t i = 0; i < 16; ++i) customColors[i] = static_cast<std::int32_t>(custom[i]);
    chosen = static_cast<std::int32_t>(request.rgbResult);
    return true;
}
