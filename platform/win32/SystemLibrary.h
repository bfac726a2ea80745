#pragma once
#include <windows.h>

// Loads a DLL from System32 only, never from the program's folder or the current folder (a
// stick from a stranger may carry a DLL of the same name). Windows 7 without the update that
// added LOAD_LIBRARY_SEARCH_SYSTEM32 gets the full System32 path instead.
HMODULE LoadSystemLibrary(const wchar_t* name);

// Takes the program's folder and the current folder out of the DLL search path for good.
void RestrictDllSearchToSystem32();
