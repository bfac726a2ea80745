#include "platform/win32/Text.h"

#include <windows.h>

namespace {

std::wstring ToWide(UINT codePage, const std::string& s) {
    if (s.empty()) return {};
    const int n = MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string FromWide(UINT codePage, const std::wstring& w) {
    if (w.empty()) return {};
    const int n = WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

}  // namespace

std::wstring Wide(const std::string& utf8) { return ToWide(CP_UTF8, utf8); }
std::string Utf8(const std::wstring& wide) { return FromWide(CP_UTF8, wide); }
std::string Utf8FromAnsi(const std::string& ansi) { return Utf8(ToWide(CP_ACP, ansi)); }
std::string AnsiFromUtf8(const std::string& utf8) { return FromWide(CP_ACP, Wide(utf8)); }
