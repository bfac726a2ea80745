#include "platform/win32/Text.h"

#include <windows.h>

#include "common/CodePages.h"
#include "common/TextLines.h"

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

const CodePage& SystemCodePage() {
    static const CodePage codePage{[](const std::string& ansi) { return Utf8(ToWide(CP_ACP, ansi)); }};
    return codePage;
}

std::optional<std::string> PlatformDecode(unsigned number, const std::string& bytes) {
    if (bytes.empty()) return std::string();
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(number, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (n <= 0) return std::nullopt;
    std::wstring w(static_cast<size_t>(n), L'\0');
    if (MultiByteToWideChar(number, MB_ERR_INVALID_CHARS, bytes.data(), size, w.data(), n) != n) return std::nullopt;
    return Utf8(w);
}

unsigned SystemAnsiCodePage() { return GetACP(); }

std::string UserUiLanguage() {
    // A language pack without a locale of its own (a LIP) answers LOCALE_CUSTOM_UI_DEFAULT, which
    // LCIDToLocaleName turns into that pack's name all the same.
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = L"";
    const LCID language = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
    if (LCIDToLocaleName(language, name, LOCALE_NAME_MAX_LENGTH, LOCALE_ALLOW_NEUTRAL_NAMES) == 0) return {};
    return Utf8(name);
}
