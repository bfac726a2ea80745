// Media that cannot be written, mounted read-only by the readonly-media script: the menu still
// starts from them and says clearly what it cannot do.
#include <cstdlib>

#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

std::string FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? WinPathFromUnix(value) : std::string();
}

// The Menu Editor's OK on a medium that takes no writes: one critical message, answered.
void ExpectNotSavedMessage(const Process& p) {
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box.icon, Icon::Critical);
    EXPECT_NE(box.text.find("could not be saved"), std::string::npos) << box.text;
    ASSERT_TRUE(Answer(box, IDOK));
}

struct ReadOnly : OrvelundTest {
    std::string medium = FromEnvironment("E2E_MEDIUM");
    std::string target = FromEnvironment("E2E_RO_TARGET");
    void SetUp() override {
        OrvelundTest::SetUp();
        ASSERT_FALSE(medium.empty()) << "run through readonly-media";
    }
};

TEST_F(ReadOnly, MenuWithoutItsPictureStartsAndReportsNothing) {
    Process p = Start(JoinPath(medium, "Orvelund.exe"));
    HWND main = WaitForWindow("Read-only", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(WaitForMessageBox(1000, p.Id()));
    EXPECT_EQ(TextOf(FindControl(main, LblMenu(1))), "Browse");
    EXPECT_EQ(ClientSize(main).cy, Px(5000 - 360));
    EXPECT_FALSE(FileExists(JoinPath(medium, "content\\app.jpg")));
    // The built-in banner is shown: its top edge is light grey, not the empty box's colour.
    const COLORREF banner = PixelAt(FindControl(main, kPicture1), POINT{300, 5});
    EXPECT_GT(GetRValue(banner), 200);
    EXPECT_LT(GetRValue(banner), 255);
    p.Kill();
}

TEST_F(ReadOnly, FirstStartOnADiscWithoutContentEndsWithOneClearMessage) {
    const std::string bare = FromEnvironment("E2E_BARE_MEDIUM");
    Process p = Start(JoinPath(bare, "Orvelund.exe"));
    ASSERT_TRUE(Answer(WaitForMessageBox(kWait, p.Id()), IDYES));
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box.icon, Icon::Critical);
    EXPECT_NE(box.text.find("could not create its content folder"), std::string::npos) << box.text;
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(p.WaitForExit(kWait));
    EXPECT_FALSE(FolderExists(JoinPath(bare, "content")));
}

TEST_F(ReadOnly, EditorOpensAndOkSaysTheMenuCouldNotBeSaved) {
    Process p = Start(JoinPath(medium, "Orvelund.exe"), "-setup");
    HWND editor = WaitForWindow("Read-only - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(ListRowCount(FindControl(editor, wizard::sMenuItems)), 2);
    ASSERT_TRUE(Click(FindControl(editor, wizard::OKButton)));
    ExpectNotSavedMessage(p);
    EXPECT_NE(FindWindowByCaption("Read-only - Menu Editor", p.Id()), nullptr);
    p.Kill();
}

TEST_F(ReadOnly, FullStickKeepsTheOldMenuWholeAndSaysSo) {
    const std::string full = FromEnvironment("E2E_FULL_MEDIUM");
    const std::string config = JoinPath(full, "content\\config.ini");
    const auto before = ReadFileBytes(config);
    ASSERT_TRUE(before);
    Process p = Start(JoinPath(full, "Orvelund.exe"), "-setup");
    HWND editor = WaitForWindow("Full - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(Click(FindControl(editor, wizard::AddItem)));
    ASSERT_TRUE(Click(FindControl(editor, wizard::OKButton)));
    ExpectNotSavedMessage(p);
    EXPECT_EQ(ReadFileBytes(config), before);  // byte for byte
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(Widen(JoinPath(full, "content\\*.tmp")).c_str(), &found);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE) << "a half-written temporary file was left behind";
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
    EXPECT_EQ(ListRowCount(FindControl(editor, wizard::sMenuItems)), 1501);  // the edits are still there
    p.Kill();
}

TEST_F(ReadOnly, RelocationToAReadOnlyFolderShowsTheErrorAndCopiesNothing) {
    const std::string exe = CopyExe();
    Process p = Launch(exe, "", target);  // the folder list starts at the current folder
    ASSERT_TRUE(Answer(WaitForMessageBox(kWait, p.Id()), IDNO));
    HWND window = WaitForWindow("Choose New or Existing Location", kWait, p.Id());
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(Click(FindControl(window, choose::OKButton)));
    ASSERT_TRUE(Answer(WaitForMessageBox(kWait, p.Id()), IDOK));
    MessageBoxInfo error = WaitForMessageBox(kWait, p.Id());
    EXPECT_TRUE(MessageBoxIs(error, "Orvelund - Setup Wizard",
                             "An error has occurred. You may not have permission to create files in this folder.",
                             {"OK", "Cancel"}, Icon::None));
    ASSERT_TRUE(Answer(error, IDOK));
    EXPECT_NE(FindWindowByCaption("Choose New or Existing Location", p.Id()), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(Widen(JoinPath(target, "*")).c_str(), &found);
    int entries = 0;
    if (h != INVALID_HANDLE_VALUE) {
        do entries += wcscmp(found.cFileName, L".") != 0 && wcscmp(found.cFileName, L"..") != 0;
        while (FindNextFileW(h, &found));
        FindClose(h);
    }
    EXPECT_EQ(entries, 0) << "nothing half-copied";
}

}  // namespace
