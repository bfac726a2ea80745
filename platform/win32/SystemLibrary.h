#pragma once
#include <windows.h>

// Loads a DLL from System32 only, never from the program's folder or the current folder (a
// stick from a stranger may carry a DLL of the same name). Windows 7 without the update that
// added LOAD_LIBRARY_SEARCH_SYSTEM32 gets the full System32 path instead.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of a System32 DLL, looked up at run time rather than imported: the DLLs that the
// exe imports are loaded before its first line runs, by the default search order, which starts in
// the program's own folder; their dependencies (shell32 pulls in shlwapi and shcore) would come
// from there too. Returns nullptr when the DLL or the function is missing.
template <typename F>
F SystemFunction(const wchar_t* dll, const char* name) {
    HMODULE module = LoadSystemLibrary(dll);
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Takes the program's folder and the current folder out of the DLL search path for good.
void RestrictDllSearchToSystem32();

// Loads from System32, before any window or component exists, the DLLs that Windows' components
// load by name and that are no KnownDLLs, so that no later search by name can find a planted copy.
void PreloadSystemDlls();

// Starts COM on this thread the first time something needs it (the picture decoders, the
// shell), so that a start which needs neither does not pay for it.
void EnsureCom();
