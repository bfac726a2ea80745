// Orvelund.exe: a start menu for CDs, DVDs and USB sticks.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "platform/AppInfo.h"
#include "platform/win32/Program.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Text.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything else can load a DLL: never from the stick's own folder.
    RestrictDllSearchToSystem32();

    // COM for the picture decoders and the shell, and the common controls (version 6, through the
    // manifest), both loaded from System32 only now that the search path is safe.
    const auto coInitialize = SystemFunction<decltype(&CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    const auto coUninitialize = SystemFunction<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize");
    if (coInitialize) coInitialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    if (const auto init = SystemFunction<decltype(&InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx"))
        init(&icc);

    std::wstring exe(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
        if (n < exe.size()) {
            exe.resize(n);
            break;
        }
        exe.resize(exe.size() * 2);
    }
    AppInfo app;
    app.appPath = AppPathFromExePath(Utf8(exe));
    app.commandLine = ArgumentsOf(Utf8(GetCommandLineW()));

    const int result = Program(app).Run();
    if (coUninitialize) coUninitialize();
    return result;
}
