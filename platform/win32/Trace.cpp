#include "platform/win32/Trace.h"

#include <windows.h>

#include <cstdio>
#include <exception>

#include "platform/win32/Text.h"

void Trace(const std::string& what) {
    const std::wstring line = Wide("Orvelund: " + what + "\n");
    OutputDebugStringW(line.c_str());
    // Only where someone asked for a log: the program writes nothing else on its own.
    wchar_t path[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(L"ORVELUND_TRACE", path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    if (FILE* log = _wfopen(path, L"ab")) {
        const std::string text = "Orvelund: " + what + "\r\n";
        std::fwrite(text.data(), 1, text.size(), log);
        std::fclose(log);
    }
}

void TraceLastError(const char* what) {
    const DWORD error = GetLastError();
    Trace(std::string(what) + " failed: error " + std::to_string(error));
}

void TraceException(const char* where) noexcept {
    try {
        try {
            throw;
        } catch (const std::exception& e) {
            Trace(std::string(where) + ": " + e.what());
        } catch (...) {
            Trace(std::string(where) + ": unknown exception");
        }
    } catch (...) {
        // Out of memory while saying so: nothing more can be done.
    }
}
