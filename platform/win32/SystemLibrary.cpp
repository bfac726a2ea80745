#include "platform/win32/SystemLibrary.h"

#include <objbase.h>

#include <string>

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

void EnsureCom() {
    static const bool started = [] {
        const auto coInitialize = SystemFunction<HRESULT(WINAPI*)(void*, DWORD)>(L"ole32.dll", "CoInitializeEx");
        return coInitialize && SUCCEEDED(coInitialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    }();
    (void)started;
}
