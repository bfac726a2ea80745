// What the scenarios know about Orvelund.exe's windows: control ids (from the program's designs),
// captions, and small helpers to set up menu folders.
#pragma once
#include <string>
#include <vector>

#include "app/FirstRunPrompt.h"  // the first-run question's text for a folder
#include "e2e_test.h"
#include "platform/ChooseFolderDesign.h"
#include "platform/MainWindowDesign.h"
#include "platform/MediumCheckDesign.h"
#include "platform/MenuItemDesign.h"
#include "platform/SetupWizardDesign.h"
#include "platform/win32/ControlIds.h"

namespace orv {

// Control ids come from the program's own designs, so they cannot drift from them.
constexpr int kPicture1 = Win32ControlId(MainCtl::Picture1);
constexpr int BtnMenu(int k) { return Win32ControlId(MainCtl::BtnMenu(k)); }
constexpr int LblMenu(int k) { return Win32ControlId(MainCtl::LblMenu(k)); }
constexpr int kBtnPrev = Win32ControlId(MainCtl::BtnPrev), kBtnNext = Win32ControlId(MainCtl::BtnNext);

// The Menu Editor's controls.
namespace wizard {
constexpr int sTitle = Win32ControlId(WizardCtl::sTitle), AppImage = Win32ControlId(WizardCtl::AppImage),
              AutoRunReset = Win32ControlId(WizardCtl::AutoRunReset),
              Instructions = Win32ControlId(WizardCtl::Instructions), Update = Win32ControlId(WizardCtl::Update),
              AddItem = Win32ControlId(WizardCtl::AddItem), DeleteItem = Win32ControlId(WizardCtl::DeleteItem),
              MoveUp = Win32ControlId(WizardCtl::MoveUp), MoveDown = Win32ControlId(WizardCtl::MoveDown),
              OKButton = Win32ControlId(WizardCtl::OKButton), CancelButton = Win32ControlId(WizardCtl::CancelButton),
              sMenuItems = Win32ControlId(WizardCtl::sMenuItems), AppIcon = Win32ControlId(WizardCtl::AppIcon),
              Color0 = Win32ControlId(WizardCtl::Color0), Color1 = Win32ControlId(WizardCtl::Color1),
              HideSetup = Win32ControlId(WizardCtl::HideSetup), Content = Win32ControlId(WizardCtl::Content),
              CheckMedium = Win32ControlId(WizardCtl::CheckMedium);
}
namespace item {
constexpr int OKButton = Win32ControlId(ItemCtl::OKButton), CancelButton = Win32ControlId(ItemCtl::CancelButton),
              mButton = Win32ControlId(ItemCtl::mButton), mLabel = Win32ControlId(ItemCtl::mLabel),
              mFileFolder = Win32ControlId(ItemCtl::mFileFolder), mAction = Win32ControlId(ItemCtl::mAction),
              mImage = Win32ControlId(ItemCtl::mImage), Refresh = Win32ControlId(ItemCtl::Refresh),
              mTest = Win32ControlId(ItemCtl::mTest), BrowseFile = Win32ControlId(ItemCtl::BrowseFile),
              BrowseFolder = Win32ControlId(ItemCtl::BrowseFolder);
}
namespace check {
constexpr int lblSummary = Win32ControlId(CheckCtl::lblSummary), lvFindings = Win32ControlId(CheckCtl::lvFindings),
              txtDetails = Win32ControlId(CheckCtl::txtDetails), CheckAgain = Win32ControlId(CheckCtl::CheckAgain),
              WriteWebPage = Win32ControlId(CheckCtl::WriteWebPage), MakeDiscImage = Win32ControlId(CheckCtl::MakeDiscImage),
              CloseButton = Win32ControlId(CheckCtl::CloseButton);
}
namespace choose {
constexpr int OKButton = Win32ControlId(ChooseCtl::OKButton), CancelButton = Win32ControlId(ChooseCtl::CancelButton),
              Drive1 = Win32ControlId(ChooseCtl::Drive1), Dir1 = Win32ControlId(ChooseCtl::Dir1);
}

constexpr int kWait = 15000;  // generous: a cold Wine takes its time

// A menu file with the eight header lines and these entries, CR LF line ends.
std::string MenuFile(const std::vector<std::string>& entries, const std::string& title = "TITLE:Demo",
                     const std::string& hideSetup = "HIDESETUP:0");
// Entries "B1,Entry 1,x.txt,open" to "Bn,Entry n,x.txt,open": a menu to page through.
std::vector<std::string> NumberedEntries(int count);
// Creates the content folder in `folder` (it may be there already) and returns its path.
std::string MakeContentFolder(const std::string& folder);
// A 24-bit bitmap of one colour, which the program loads whatever its file is called.
std::string SolidBitmap(int width, int height, COLORREF color);

// The colour dialog the editor's colour buttons open: a "#32770" window of pid other than the
// editor; nullptr when none appears in time.
HWND WaitForColourDialog(DWORD pid, HWND editor);

// Every module in the process is the exe itself, the test agent or a DLL from a system folder
// (SystemFolders): none from the program's folder, the current folder or anywhere else.
::testing::AssertionResult LoadsOnlySystemDlls(DWORD pid, const std::string& exe);

// A length in twips in pixels at a DPI, by the program's own rule; Px at the screen's DPI.
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
