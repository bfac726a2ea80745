// orvelund-check: the medium checker's program. Everything but reading the arguments and writing
// the output is in CommandLine.cpp.
#include <cstdio>

#include "check/CommandLine.h"

#ifdef _WIN32
#include <io.h>

#include "platform/win32/Console.h"
#include "platform/win32/Win32FileSystem.h"

int wmain(int argc, wchar_t** argv) {
    return RunCheck(
        ConsoleArguments(argc, argv), [](bool toError, const std::string& text) { WriteConsoleText(toError, text); },
        WriteFileAtomic, _isatty(_fileno(stderr)) != 0);
}
#else
#include <unistd.h>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return RunCheck(
        args,
        [](bool toError, const std::string& text) {
            std::FILE* out = toError ? stderr : stdout;
            std::fwrite(text.data(), 1, text.size(), out);
            std::fflush(out);
        },
        ReplaceFileWhole, isatty(STDERR_FILENO) != 0);
}
#endif
