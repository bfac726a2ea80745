// What the scenarios know about Orvelund.exe's windows: control ids (1000 + the control's tab
// index), captions, and small helpers to set up menu folders.
#pragma once
#include <string>
#include <vector>

#include "e2e_test.h"

namespace orv {

constexpr int kPicture1 = 1000;
constexpr int BtnMenu(int k) { return 1001 + 2 * k; }
constexpr int LblMenu(int k) { return 1002 + 2 * k; }
constexpr int kBtnPrev = 1021, kBtnNext = 1022;

// The Menu Editor's controls.
namespace wizard {
constexpr int sTitle = 1000, AppImage = 1001, AutoRunReset = 1002, Instructions = 1003, Update = 1004,
              AddItem = 1005, DeleteItem = 1006, MoveUp = 1007, MoveDown = 1008, OKButton = 1009,
              CancelButton = 1010, sMenuItems = 1011, AppIcon = 1012, Color0 = 1013, Color1 = 1014,
              HideSetup = 1015, Content = 1016;
}
namespace item {
constexpr int OKButton = 1000, CancelButton = 1001, mButton = 1002, mLabel = 1003, mFileFolder = 1004,
              mAction = 1005, mImage = 1006, Refresh = 1014, mTest = 1015;
}
namespace choose {
constexpr int OKButton = 1000, CancelButton = 1001, Drive1 = 1002, Dir1 = 1003;
}

constexpr int kWait = 15000;  // generous: a cold Wine takes its time

// A menu file with the eight header lines and these entries, CR LF line ends.
std::string MenuFile(const std::vector<std::string>& entries, const std::string& title = "TITLE:Demo",
                     const std::string& hideSetup = "HIDESETUP:0");
// A 24-bit bitmap of one colour, which the program loads whatever its file is called.
std::string SolidBitmap(int width, int height, COLORREF color);
// The first-run question's text for a folder.
std::string FirstRunPrompt(const std::string& folder);

// A length in twips in pixels at a DPI, as the program maps it; Px at the screen's DPI.
int PxAt(int twips, int dpi);
int Px(int twips);

// One value under HKEY_CURRENT_USER, set for the programs started while this lives and put back
// afterwards (removed, if it was not there before).
class UserSetting {
public:
    UserSetting(const std::wstring& key, const std::wstring& name, const std::wstring& text);  // REG_SZ
    UserSetting(const std::wstring& key, const std::wstring& name, DWORD number);              // REG_DWORD
    ~UserSetting();
    UserSetting(const UserSetting&) = delete;
    UserSetting& operator=(const UserSetting&) = delete;

private:
    void Open(const std::wstring& key, const std::wstring& name);
    void Set(DWORD type, const void* data, DWORD size);
    HKEY key_ = nullptr;
    std::wstring name_;
    bool had_ = false;
    DWORD oldType_ = 0;
    std::vector<BYTE> old_;
};

}  // namespace orv
