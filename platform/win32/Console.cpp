#include "platform/win32/Console.h"

#include <windows.h>

#include "platform/win32/Text.h"

std::vector<std::string> ConsoleArguments(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(Utf8(argv[i]));
    return args;
}

void WriteConsoleText(bool toError, const std::string& utf8) {
    const HANDLE out = GetStdHandle(toError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    if (out == INVALID_HANDLE_VALUE || out == nullptr) return;
    DWORD mode = 0, done = 0;
    if (GetConsoleMode(out, &mode)) {
        // A console shows "\n" as a line end by itself.
        const std::wstring wide = Wide(utf8);
        WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &done, nullptr);
        return;
    }
    for (std::size_t at = 0; at < utf8.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(utf8.size() - at, 1u << 20));
        if (!WriteFile(out, utf8.data() + at, chunk, &done, nullptr) || done == 0) return;
        at += done;
    }
}
