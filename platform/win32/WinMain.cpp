// Orvelund.exe: a start menu for CDs, DVDs and USB sticks.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>

#include "common/AppInfo.h"
#include "platform/win32/Program.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Text.h"

// The C++ library's default handler for an exception nobody caught prints the exception's type
// name, and so pulls a whole name demangler (about 46 KiB) into the exe. The program prints
// nothing anywhere; ending at once is all such a handler can do for it.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything else can load a DLL: never from the stick's own folder.
    RestrictDllSearchToSystem32();
    PreloadSystemDlls();

    // The common controls (version 6, through the manifest), from System32 only now that the
    // search path is safe. COM starts later, when a picture decoder or the shell first needs it.
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
    app.exeName = ExeNameFromExePath(Utf8(exe));
    app.commandLine = ArgumentsOf(Utf8(GetCommandLineW()));
    app.uiLanguage = UserUiLanguage();

    return Program(app).Run();
}
