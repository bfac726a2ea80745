#include "Orvelund.h"

#include <cctype>

namespace orv {

std::string MenuFile(const std::vector<std::string>& entries, const std::string& title, const std::string& hideSetup) {
    std::string text = "## ** Orvelund - CONFIGURATION FILE **\r\n## >> Configuration\r\n" + title +
                       "\r\nBTCOLOR:16435132\r\nBGCOLOR:16777215\r\n" + hideSetup +
                       "\r\n## -- Configure items to appear in the menu in the correct order.  \r\n"
                       "## -- [Button],[Label],[File/Folder],[Action]\r\n";
    for (const auto& e : entries) text += e + "\r\n";
    return text;
}

namespace {
std::string Lowered(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
}  // namespace

HWND WaitForColourDialog(DWORD pid, HWND editor) {
    HWND chooser = nullptr;
    e2e::WaitUntil([&] {
        for (HWND w : e2e::TopLevelWindows(pid))
            if (e2e::ClassOf(w) == "#32770" && w != editor) chooser = w;
        return chooser != nullptr;
    }, kWait);
    return chooser;
}

::testing::AssertionResult LoadsOnlySystemDlls(DWORD pid, const std::string& exe) {
    const std::vector<std::string> modules = e2e::ModulesOf(pid);
    if (modules.empty()) return ::testing::AssertionFailure() << "the modules of process " << pid << " cannot be read";
    std::string others;
    for (const std::string& module : modules) {
        const std::string path = Lowered(module);
        if (path == Lowered(exe) || path.find("\\e2e_agent.dll") != std::string::npos) continue;
        bool system = false;
        for (const std::string& folder : e2e::SystemFolders())
            system = system || path.rfind(Lowered(folder) + "\\", 0) == 0;
        if (!system) others += " " + module;
    }
    if (others.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "DLLs from outside the system folders:" << others;
}

std::vector<std::string> NumberedEntries(int count) {
    std::vector<std::string> entries;
    for (int i = 1; i <= count; ++i)
        entries.push_back("B" + std::to_string(i) + ",Entry " + std::to_string(i) + ",x.txt,open");
    return entries;
}

std::string MakeContentFolder(const std::string& folder) {
    const std::string content = e2e::JoinPath(folder, "content");
    CreateDirectoryW(e2e::Widen(content).c_str(), nullptr);
    return content;
}

std::string SolidBitmap(int width, int height, COLORREF color) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(stride * height);
    ih.biSize = sizeof(ih);
    ih.biWidth = width;
    ih.biHeight = height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    std::string bytes(reinterpret_cast<const char*>(&fh), sizeof(fh));
    bytes.append(reinterpret_cast<const char*>(&ih), sizeof(ih));
    std::string row(static_cast<size_t>(stride), '\0');
    for (int x = 0; x < width; ++x) {
        row[3 * x] = static_cast<char>(GetBValue(color));
        row[3 * x + 1] = static_cast<char>(GetGValue(color));
        row[3 * x + 2] = static_cast<char>(GetRValue(color));
    }
    for (int y = 0; y < height; ++y) bytes += row;
    return bytes;
}

int PxAt(int twips, int dpi) { return TwipsToPixels(twips, dpi); }

int Px(int twips) { return PxAt(twips, e2e::ScreenDpi()); }

UserSetting::UserSetting(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
    Open(key, name);
    Set(REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

UserSetting::UserSetting(const std::wstring& key, const std::wstring& name, DWORD number) {
    Open(key, name);
    Set(REG_DWORD, &number, sizeof(number));
}

void UserSetting::Open(const std::wstring& key, const std::wstring& name) {
    name_ = name;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_,
                        nullptr) != ERROR_SUCCESS) {
        key_ = nullptr;
        return;
    }
    DWORD size = 0;
    had_ = RegQueryValueExW(key_, name_.c_str(), nullptr, &oldType_, nullptr, &size) == ERROR_SUCCESS;
    old_.resize(size);
    if (had_ && size &&
        RegQueryValueExW(key_, name_.c_str(), nullptr, &oldType_, old_.data(), &size) != ERROR_SUCCESS)
        had_ = false;
}

void UserSetting::Set(DWORD type, const void* data, DWORD size) {
    if (key_) RegSetValueExW(key_, name_.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

UserSetting::~UserSetting() {
    if (!key_) return;
    if (had_) Set(oldType_, old_.data(), static_cast<DWORD>(old_.size()));
    else RegDeleteValueW(key_, name_.c_str());
    RegCloseKey(key_);
}

}  // namespace orv
