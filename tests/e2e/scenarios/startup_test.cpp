// Start-up under Wine: the first-run question, the command line, the main window's design state
// and its pop-up menu.
#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

struct Startup : OrvelundTest {
    std::string exe;
    void SetUp() override {
        OrvelundTest::SetUp();
        exe = CopyExe();
    }
    void WriteMenu(const std::vector<std::string>& entries, const std::string& hideSetup = "HIDESETUP:0") {
        CreateDirectoryW(Widen(Content()).c_str(), nullptr);
        ASSERT_TRUE(WriteFileBytes(JoinPath(Content(), "config.ini"), MenuFile(entries, "TITLE:Demo", hideSetup)));
    }
    std::string Content() { return JoinPath(Folder(), "content"); }
};

const char* kHelpText = "-?      (opens Command Line Help)\r\n-setup (opens the Setup Wizard)";

TEST_F(Startup, EmptyFolderAsksAndCancelEndsWithNothingCreated) {
    Process p = Launch(exe);
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    EXPECT_TRUE(MessageBoxIs(box, "Orvelund - Setup Wizard", FirstRunPrompt(Folder()), {"Yes", "No", "Cancel"},
                             Icon::None));
    ASSERT_TRUE(Answer(box, IDCANCEL));
    EXPECT_TRUE(p.WaitForExit(kWait));
    EXPECT_FALSE(FolderExists(Content()));
}

TEST_F(Startup, ClosingTheQuestionCountsAsCancel) {
    Process p = Launch(exe);
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    ASSERT_TRUE(box);
    ASSERT_TRUE(CloseBox(box));
    EXPECT_TRUE(p.WaitForExit(kWait));
    EXPECT_FALSE(FolderExists(Content()));
}

TEST_F(Startup, HelpComesFirstThenTheProgramEndsWithoutShowingTheMenu) {
    WriteMenu({"Docs,Read me,manual.pdf,open"});
    Process p = Launch(exe, "-?");
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    EXPECT_TRUE(MessageBoxIs(box, "Talvenor - Command Line Help", kHelpText, {"OK"}, Icon::Information));
    EXPECT_EQ(FindWindowByCaption("Demo", p.Id()), nullptr);
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(p.WaitForExit(kWait));
}

TEST_F(Startup, HelpAndSetupSeparatedByASlashGiveHelpThenTheEnd) {
    WriteMenu({"Docs,Read me,manual.pdf,open"});
    Process p = Launch(exe, "-?/-setup");
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    EXPECT_TRUE(MessageBoxIs(box, "Talvenor - Command Line Help", kHelpText, {"OK"}, Icon::Information));
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(p.WaitForExit(kWait));
}

TEST_F(Startup, OptionsSeparatedByABlankOrInCapitalsAreIgnored) {
    WriteMenu({"Docs,Read me,manual.pdf,open"});
    for (const char* args : {"-? -setup", "-SETUP"}) {
        Process p = Launch(exe, args);
        HWND main = WaitForWindow("Demo", kWait, p.Id());
        EXPECT_NE(main, nullptr) << args;
        EXPECT_FALSE(WaitForMessageBox(500, p.Id())) << args;
        EXPECT_EQ(FindWindowByCaption("Demo - Menu Editor", p.Id()), nullptr) << args;
        p.Kill();
    }
}

TEST_F(Startup, SetupOpensTheMenuEditor) {
    WriteMenu({"Docs,Read me,manual.pdf,open"});
    Process p = Launch(exe, "/-setup");
    EXPECT_NE(WaitForWindow("Demo - Menu Editor", kWait, p.Id()), nullptr);
}

TEST_F(Startup, ExistingMenuShowsTheWindowInItsDesignStateAndExitEndsIt) {
    WriteMenu({"Docs,Read me,manual.pdf,open", "Files,Browse,.,explore", "Web,Visit,http://www.orvelund.example,open",
               "More,And more,x.txt,open"});
    Process p = Launch(exe);
    HWND main = WaitForWindow("Demo", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(WaitForMessageBox(300, p.Id()));  // no question with a menu file
    for (int k = 4; k < 10; ++k) {
        EXPECT_EQ(TextOf(FindControl(main, BtnMenu(k))), "Button") << k;
        EXPECT_EQ(TextOf(FindControl(main, LblMenu(k))), "Caption") << k;
    }
    EXPECT_EQ(TextOf(FindControl(main, LblMenu(0))), "Read me");
    EXPECT_FALSE(Describe(FindControl(main, kBtnPrev)).ownVisible);
    EXPECT_FALSE(Describe(FindControl(main, kBtnNext)).ownVisible);

    // Every control sits at its twips position at this DPI.
    const Control picture = Describe(FindControl(main, kPicture1));
    EXPECT_EQ(picture.rect.right - picture.rect.left, Px(9330));
    const Control button3 = Describe(FindControl(main, BtnMenu(3)));
    EXPECT_EQ(button3.rect.left, Px(480));
    EXPECT_EQ(button3.rect.top, Px(3240 + 720 * 3));
    EXPECT_EQ(button3.rect.bottom - button3.rect.top, Px(495));
    const Control label9 = Describe(FindControl(main, LblMenu(9)));
    EXPECT_EQ(label9.rect.left, Px(2760));
    EXPECT_EQ(label9.rect.top, Px(3360 + 720 * 9));
    // Four entries: the outer height of 6400 twips less the frame of 360 is the client height.
    EXPECT_EQ(ClientSize(main).cy, Px(6400 - 360));
    EXPECT_EQ(ClientSize(main).cx, Px(9330));

    ASSERT_TRUE(RightClick(FindControl(main, kPicture1)));
    PopupMenu menu = WaitForPopupMenu(kWait);
    EXPECT_TRUE(PopupOffers(menu, {"Menu Editor", "Exit"}));
    ASSERT_TRUE(ChooseMenuItem(menu, "Exit"));
    EXPECT_TRUE(p.WaitForExit(kWait));
}

TEST_F(Startup, HiddenSetupLeavesOnlyExitInThePopup) {
    WriteMenu({"Docs,Read me,manual.pdf,open"}, "HIDESETUP:1");
    Process p = Launch(exe);
    HWND main = WaitForWindow("Demo", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(RightClick(FindControl(main, kPicture1)));
    PopupMenu menu = WaitForPopupMenu(kWait);
    EXPECT_TRUE(PopupOffers(menu, {"Exit"}));
    DismissMenus();
}

TEST_F(Startup, MenuEditorFromThePopupHidesTheMenuUntilCancel) {
    WriteMenu({"Docs,Read me,manual.pdf,open"});
    Process p = Launch(exe);
    HWND main = WaitForWindow("Demo", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(RightClick(FindControl(main, kPicture1)));
    ASSERT_TRUE(ChooseMenuItem(WaitForPopupMenu(kWait), "Menu Editor"));
    HWND editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(WaitForNoWindow("Demo", kWait, p.Id()));
    ASSERT_TRUE(Click(FindControl(editor, wizard::CancelButton)));
    EXPECT_NE(WaitForWindow("Demo", kWait, p.Id()), nullptr);
    EXPECT_TRUE(WaitForNoWindow("Demo - Menu Editor", kWait, p.Id()));
    EXPECT_TRUE(p.Running());
}

}  // namespace
