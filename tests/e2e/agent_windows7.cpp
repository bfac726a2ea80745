// The agent's Windows 7 stand-in (agent.h, kActAsWindows7): routes the program's own imports of
// GetProcAddress and LoadLibrary* through functions that refuse what Windows 7 SP1 without
// KB2533623 does not have, as Windows' compatibility shims do, so that the program's fallbacks for
// older Windows run under a Wine that has every function. Only the exe's import table is changed:
// Wine's own DLLs, and the test's, see the real functions.
#include <windows.h>

#include <cstring>
#include <cwchar>

#include "agent.h"

using namespace e2e::agent;

namespace {

// Functions a program may look up that Windows 7 SP1 lacks; the comment says which Windows
// brought them (Microsoft's "Minimum supported client").
const char* const kNewerThanWindows7[] = {
    // kernel32: Windows 8, or Windows 7 with KB2533623, which these runs stand for the lack of.
    "SetDefaultDllDirectories", "AddDllDirectory", "RemoveDllDirectory",
    // kernel32: Windows 8 and later.
    "GetSystemTimePreciseAsFileTime", "WaitOnAddress", "WakeByAddressSingle", "WakeByAddressAll",
    "CreateFile2", "GetCurrentThreadStackLimits", "SetProcessMitigationPolicy", "GetProcessMitigationPolicy",
    "SetThreadDescription", "GetThreadDescription",
    // user32: Windows 8.1 and 10 (per-monitor DPI).
    "GetDpiForWindow", "GetDpiForSystem", "AdjustWindowRectExForDpi", "SystemParametersInfoForDpi",
    "GetSystemMetricsForDpi", "EnableNonClientDpiScaling", "SetThreadDpiAwarenessContext",
    "GetThreadDpiAwarenessContext", "SetProcessDpiAwarenessContext", "GetWindowDpiAwarenessContext",
    "GetAwarenessFromDpiAwarenessContext", "AreDpiAwarenessContextsEqual", "IsValidDpiAwarenessContext",
    "LogicalToPhysicalPointForPerMonitorDPI", "PhysicalToLogicalPointForPerMonitorDPI", "GetDpiForMonitor",
    "SetProcessDpiAwareness", "GetProcessDpiAwareness",
};

// DLLs that Windows 7 does not have at all.
const wchar_t* const kMissingOnWindows7[] = {L"shcore.dll", L"shcore", L"dcomp.dll", L"d3d12.dll"};

// LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR to LOAD_LIBRARY_SEARCH_DEFAULT_DIRS: flags that came with
// KB2533623; without it LoadLibraryEx fails with ERROR_INVALID_PARAMETER.
constexpr DWORD kSearchFlags = 0x00001F00;

SRWLOCK lock = SRWLOCK_INIT;
RefusalBlock refusals{};

void Refuse(const char* what) {
    AcquireSRWLockExclusive(&lock);
    const size_t used = static_cast<size_t>(refusals.used);
    const size_t length = std::strlen(what);
    if (used + length + 1 < sizeof(refusals.names)) {
        std::memcpy(refusals.names + used, what, length + 1);
        refusals.used = static_cast<int>(used + length + 1);
        ++refusals.count;
    }
    ReleaseSRWLockExclusive(&lock);
}

bool NewerThanWindows7(const char* name) {
    if (IS_INTRESOURCE(name)) return false;  // by ordinal
    for (const char* newer : kNewerThanWindows7)
        if (std::strcmp(name, newer) == 0) return true;
    return false;
}

bool MissingOnWindows7(const wchar_t* path) {
    if (!path) return false;
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/') name = p + 1;
    for (const wchar_t* missing : kMissingOnWindows7)
        if (lstrcmpiW(name, missing) == 0) return true;
    return false;
}

FARPROC WINAPI Windows7GetProcAddress(HMODULE module, LPCSTR name) {
    if (NewerThanWindows7(name)) {
        Refuse(name);
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return GetProcAddress(module, name);
}

HMODULE WINAPI Windows7LoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags) {
    if (flags & kSearchFlags) {
        Refuse("LoadLibraryExW with LOAD_LIBRARY_SEARCH_*");
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (MissingOnWindows7(name)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return LoadLibraryExW(name, file, flags);
}

HMODULE WINAPI Windows7LoadLibraryW(LPCWSTR name) { return Windows7LoadLibraryExW(name, nullptr, 0); }

HMODULE WINAPI Windows7LoadLibraryExA(LPCSTR name, HANDLE file, DWORD flags) {
    if (flags & kSearchFlags) {
        Refuse("LoadLibraryExA with LOAD_LIBRARY_SEARCH_*");
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return LoadLibraryExA(name, file, flags);
}

HMODULE WINAPI Windows7LoadLibraryA(LPCSTR name) { return Windows7LoadLibraryExA(name, nullptr, 0); }

struct StandIn {
    const char* name;
    void* function;
};
const StandIn kStandIns[] = {
    {"GetProcAddress", reinterpret_cast<void*>(&Windows7GetProcAddress)},
    {"LoadLibraryExW", reinterpret_cast<void*>(&Windows7LoadLibraryExW)},
    {"LoadLibraryW", reinterpret_cast<void*>(&Windows7LoadLibraryW)},
    {"LoadLibraryExA", reinterpret_cast<void*>(&Windows7LoadLibraryExA)},
    {"LoadLibraryA", reinterpret_cast<void*>(&Windows7LoadLibraryA)},
};

bool IsKernel32(const char* dll) { return lstrcmpiA(dll, "kernel32.dll") == 0 || lstrcmpiA(dll, "kernel32") == 0; }

}  // namespace

// Rewrites the exe's bound kernel32 import slots. Fails (0) unless GetProcAddress was among them
// and already bound: a stand-in that never took effect must not pass for a Windows 7 run.
extern "C" DWORD WINAPI E2eAgentActAsWindows7(void* param) {
    auto* block = static_cast<Windows7Block*>(param);
    block->patched = 0;
    // What Wine tells this process (RtlGetVersion does not depend on the manifest).
    using GetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (auto rtlGetVersion = reinterpret_cast<GetVersion>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion"))))
        rtlGetVersion(&version);
    block->major = version.dwMajorVersion;
    block->minor = version.dwMinorVersion;
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return 0;
    const FARPROC realGetProcAddress = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetProcAddress");
    bool boundGetProcAddress = false;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
        if (!IsKernel32(reinterpret_cast<const char*>(base + d->Name)) || !d->OriginalFirstThunk) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            const char* name = reinterpret_cast<const char*>(byName->Name);
            for (const StandIn& standIn : kStandIns) {
                if (std::strcmp(name, standIn.name) != 0) continue;
                if (std::strcmp(name, "GetProcAddress") == 0)
                    boundGetProcAddress = reinterpret_cast<FARPROC>(slots->u1.Function) == realGetProcAddress;
                DWORD old = 0;
                if (!VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &old)) continue;
                slots->u1.Function = reinterpret_cast<ULONG_PTR>(standIn.function);
                VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), old, &old);
                ++block->patched;
            }
        }
    }
    return boundGetProcAddress ? 1 : 0;
}

extern "C" DWORD WINAPI E2eAgentWindows7Refusals(void* param) {
    auto* block = static_cast<RefusalBlock*>(param);
    AcquireSRWLockShared(&lock);
    *block = refusals;
    ReleaseSRWLockShared(&lock);
    return 1;
}
