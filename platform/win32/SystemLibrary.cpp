#include "platform/win32/SystemLibrary.h"

#include <objbase.h>

#include <string>

#include "platform/win32/Text.h"
#include "platform/win32/Trace.h"

HMODULE LoadSystemLibrary(const wchar_t* name) {
    if (HMODULE dll = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return dll;
    wchar_t folder[MAX_PATH];
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    // The altered search path makes the DLL's own dependencies come from System32 as well.
    return LoadLibraryExW((std::wstring(folder, n) + L"\\" + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void RestrictDllSearchToSystem32() {
    // Looked up rather than imported: an import missing from an old kernel32 would stop the
    // program from starting at all.
    using SetDefault = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto setDefault = kernel ? reinterpret_cast<SetDefault>(
                                   reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
                             : nullptr;
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");  // also drops the current folder where the call above is missing
}

// DLLs that Windows' own components load by name (user32 and the common controls their theme
// and drawing helpers, the imaging component, the shell, the colour dialog) and that are no
// KnownDLLs, so that a search by name would look in the program's folder first. The list is what
// a start, the editors, the colour dialog and the shell calls load (WINEDEBUG=+loaddll), with the
// helpers Windows 7's own components add (dwmapi behind uxtheme, cryptbase behind advapi32).
const wchar_t* const kLoadedByName[] = {L"uxtheme.dll", L"dwmapi.dll",  L"msimg32.dll", L"oleacc.dll",
                                        L"version.dll", L"propsys.dll", L"cryptbase.dll",
                                        L"windowscodecs.dll", L"winspool.drv"};

void PreloadSystemDlls() {
    // Loaded once by full System32 path (or the System32-only search), a DLL is never searched
    // for again: whoever asks for it by name later gets this one. That keeps a planted copy out
    // where SetDefaultDllDirectories is missing (Windows 7 without KB2533623) and wherever a
    // loader path does not honour it.
    for (const wchar_t* name : kLoadedByName)
        if (!LoadSystemLibrary(name)) TraceLastError(("preloading " + Utf8(name)).c_str());
}

void EnsureCom() {
    static const bool started = [] {
        const auto coInitialize = SystemFunction<HRESULT(WINAPI*)(void*, DWORD)>(L"ole32.dll", "CoInitializeEx");
        return coInitialize && SUCCEEDED(coInitialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }();
    (void)started;
}
