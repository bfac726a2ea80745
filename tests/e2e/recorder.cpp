// recorder.exe "<verb>" "<target>": stands in for the programs the shell
// would start (browser, file manager, editor, printer), so tests see what
// Orvelund hands to the shell. Appends "verb<TAB>target" (UTF-8, CRLF) to
// recorder.log beside itself and exits at once.
#include <windows.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

size_t SkipSpaces(const std::wstring& s, size_t i) {
    while (i < s.size() && (s[i] == L' ' || s[i] == L'\t')) ++i;
    return i;
}

// The shell builds our command line from `"recorder.exe" "verb" "%1"`. It is
// split by hand rather than by the C runtime's rules, under which a target
// ending in a backslash ("C:\") would swallow its closing quote.
void Split(const std::wstring& cmd, std::wstring& verb, std::wstring& target) {
    size_t i = SkipSpaces(cmd, 0);
    if (i < cmd.size() && cmd[i] == L'"') {
        const size_t end = cmd.find(L'"', i + 1);
        i = end == std::wstring::npos ? cmd.size() : end + 1;
    } else {
        while (i < cmd.size() && cmd[i] != L' ' && cmd[i] != L'\t') ++i;
    }
    i = SkipSpaces(cmd, i);
    if (i < cmd.size() && cmd[i] == L'"') {
        const size_t end = cmd.find(L'"', i + 1);
        verb = cmd.substr(i + 1, (end == std::wstring::npos ? cmd.size() : end) - i - 1);
        i = end == std::wstring::npos ? cmd.size() : end + 1;
    } else {
        const size_t start = i;
        while (i < cmd.size() && cmd[i] != L' ' && cmd[i] != L'\t') ++i;
        verb = cmd.substr(start, i - start);
    }
    i = SkipSpaces(cmd, i);
    std::wstring rest = cmd.substr(i);
    if (rest.size() >= 2 && rest.front() == L'"' && rest.back() == L'"')
        rest = rest.substr(1, rest.size() - 2);
    target = rest;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    wchar_t self[MAX_PATH * 2];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
    std::wstring log(self, n);
    log = log.substr(0, log.find_last_of(L"\\/") + 1) + L"recorder.log";

    std::wstring verb, target;
    Split(GetCommandLineW(), verb, target);
    const std::string line = Utf8(verb) + "\t" + Utf8(target) + "\r\n";

    // Several launches can land at once: retry while another one appends.
    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE f = CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            const BOOL ok = WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(f);
            return ok && written == line.size() ? 0 : 1;
        }
        Sleep(10);
    }
    return 1;
}
