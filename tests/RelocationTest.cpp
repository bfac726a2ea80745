// Moving the program to another folder when the first-run question is answered No.
#include <gtest/gtest.h>

#include "relocate/ChooseFolder.h"
#include "tests/fakes/World.h"

namespace {

const char* kReplacePrompt =
    "Orvelund is already installed in this location.\r\n\r\nClick YES to replace the existing program file.\r\n"
    "Click NO to keep the existing program file.";
const char* kError = "An error has occurred. You may not have permission to create files in this folder.";

struct Relocation : ::testing::Test {
    World w;
    FakeChooseFolderForm form{w.pictures};
    ChooseFolder window{form, w.services, w.state};
    void SetUp() override {
        w.fs.AddFile("C:\\Menu\\Orvelund.exe", "new program");
        w.fs.AddFolder("D:\\Target");
        form.folder = "D:\\Target";
    }
};

TEST_F(Relocation, EmptyFolderGetsACopyThatIsStarted) {
    w.dialogs.answers = {mb::Ok};
    window.OKButton_Click();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].prompt, "You have selected the following folder:\r\nD:\\Target\r\n\r\n"
                                         "When you click OK, Orvelund will restart in the new location.");
    EXPECT_EQ(w.dialogs.shown[0].buttons, mb::OkCancel);
    EXPECT_EQ(w.dialogs.shown[0].title, "Orvelund - Setup Wizard");
    EXPECT_EQ(w.fs.Content("D:\\Target\\Orvelund.exe"), "new program");
    EXPECT_EQ(w.shell.calls, (std::vector<ShellCall>{{form.Handle(), "open", "D:\\Target\\Orvelund.exe"}}));
    EXPECT_TRUE(form.closed);
    EXPECT_EQ(w.state.SetupAnswer, "1");
}

TEST_F(Relocation, CancelInTheFirstQuestionKeepsTheWindowOpen) {
    w.dialogs.answers = {mb::Cancel};
    window.OKButton_Click();
    EXPECT_FALSE(w.fs.Has("D:\\Target\\Orvelund.exe"));
    EXPECT_TRUE(w.shell.calls.empty());
    EXPECT_FALSE(form.closed);
    EXPECT_EQ(w.state.SetupAnswer, "2");
}

TEST_F(Relocation, ExistingProgramIsReplacedOnYesAndKeptOnNoOrCancel) {
    for (int answer : {mb::Yes, mb::No, mb::Cancel}) {
        World fresh;
        FakeChooseFolderForm f{fresh.pictures};
        ChooseFolder cf{f, fresh.services, fresh.state};
        fresh.fs.AddFile("C:\\Menu\\Orvelund.exe", "new program");
        fresh.fs.AddFile("D:\\Target\\Orvelund.exe", "old program");
        f.folder = "D:\\Target";
        fresh.dialogs.answers = {mb::Ok, answer};
        cf.OKButton_Click();
        ASSERT_EQ(fresh.dialogs.shown.size(), 2u);
        EXPECT_EQ(fresh.dialogs.shown[1].prompt, kReplacePrompt);
        EXPECT_EQ(fresh.dialogs.shown[1].buttons, mb::YesNoCancel);
        EXPECT_EQ(fresh.fs.Content("D:\\Target\\Orvelund.exe"), answer == mb::Yes ? "new program" : "old program");
        EXPECT_EQ(fresh.shell.calls.size(), 1u) << "started whatever the answer";
        EXPECT_TRUE(f.closed);
        EXPECT_EQ(fresh.state.SetupAnswer, std::to_string(answer));
    }
}

TEST_F(Relocation, FailedCopyShowsTheErrorKeepsTheOldFileAndTheWindow) {
    w.fs.AddFile("D:\\Target\\Orvelund.exe", "old program");
    w.fs.SetReadOnly("D:\\Target\\Orvelund.exe");
    w.dialogs.answers = {mb::Ok, mb::Yes, mb::Ok};
    window.OKButton_Click();
    ASSERT_EQ(w.dialogs.shown.size(), 3u);
    EXPECT_EQ(w.dialogs.shown[2].prompt, kError);
    EXPECT_EQ(w.dialogs.shown[2].buttons, mb::OkCancel);
    EXPECT_EQ(w.fs.Content("D:\\Target\\Orvelund.exe"), "old program");
    EXPECT_TRUE(w.shell.calls.empty());
    EXPECT_FALSE(form.closed);
}

TEST_F(Relocation, ChoosingTheProgramsOwnFolderFailsOnYesAndStartsItOnNo) {
    form.folder = "C:\\Menu";
    w.dialogs.answers = {mb::Ok, mb::Yes, mb::Ok};
    window.OKButton_Click();
    EXPECT_EQ(w.dialogs.shown.back().prompt, kError);
    EXPECT_EQ(w.fs.Content("C:\\Menu\\Orvelund.exe"), "new program");
    EXPECT_FALSE(form.closed);

    w.dialogs.answers = {mb::Ok, mb::No};
    window.OKButton_Click();
    EXPECT_EQ(w.shell.calls.size(), 1u);
    EXPECT_TRUE(form.closed);
}

TEST_F(Relocation, DriveRootTargetAndAMissingSource) {
    w.fs.AddFolder("E:\\");
    form.folder = "E:\\";
    w.dialogs.answers = {mb::Ok};
    window.OKButton_Click();
    EXPECT_EQ(w.fs.Content("E:\\Orvelund.exe"), "new program");
    EXPECT_EQ(w.shell.calls.at(0).file, "E:\\\\Orvelund.exe");

    World renamed;  // the running file has another name: there is no Orvelund.exe to copy
    FakeChooseFolderForm f{renamed.pictures};
    ChooseFolder cf{f, renamed.services, renamed.state};
    renamed.fs.AddFolder("D:\\Target");
    f.folder = "D:\\Target";
    renamed.dialogs.answers = {mb::Ok, mb::Ok};
    cf.OKButton_Click();
    EXPECT_EQ(renamed.dialogs.shown.back().prompt, kError);
}

TEST_F(Relocation, ARenamedProgramIsCopiedAndStartedUnderItsOwnName) {
    World renamed;
    renamed.services.app.exeName = "Start.exe";
    renamed.fs.AddFile("C:\\Menu\\Start.exe", "renamed program");
    renamed.fs.AddFolder("D:\\Target");
    FakeChooseFolderForm f{renamed.pictures};
    ChooseFolder cf{f, renamed.services, renamed.state};
    f.folder = "D:\\Target";
    renamed.dialogs.answers = {mb::Ok};
    cf.OKButton_Click();
    EXPECT_EQ(renamed.fs.Content("D:\\Target\\Start.exe"), "renamed program");
    EXPECT_EQ(renamed.shell.calls, (std::vector<ShellCall>{{f.Handle(), "open", "D:\\Target\\Start.exe"}}));
    EXPECT_TRUE(f.closed);
}

TEST_F(Relocation, ACopyThatCannotBeStartedKeepsTheWindowAndSaysWhereTheCopyIs) {
    const std::string deep = "D:\\" + std::string(300, 'x');
    w.fs.AddFolder(deep);
    form.folder = deep;
    w.shell.fails = true;
    w.dialogs.answers = {mb::Ok, mb::Ok};
    window.OKButton_Click();
    EXPECT_EQ(w.fs.Content(deep + "\\Orvelund.exe"), "new program");
    ASSERT_EQ(w.dialogs.shown.size(), 2u);
    EXPECT_NE(w.dialogs.shown[1].prompt.find("has been copied to\r\n" + deep + "\\Orvelund.exe"), std::string::npos);
    EXPECT_NE(w.dialogs.shown[1].prompt.find("could not be started"), std::string::npos);
    EXPECT_FALSE(form.closed);

    // A kept file that cannot be started is named as such, not as a copy.
    w.dialogs.answers = {mb::Ok, mb::No, mb::Ok};
    window.OKButton_Click();
    ASSERT_EQ(w.dialogs.shown.size(), 5u);
    EXPECT_NE(w.dialogs.shown[4].prompt.find("could not be started from\r\n" + deep + "\\Orvelund.exe"),
              std::string::npos);
    EXPECT_FALSE(form.closed);
}

TEST_F(Relocation, ChoosingADriveOpensThatDrivesCurrentFolder) {
    w.fs.currentFolder = "C:\\Menus\\Demo";
    w.fs.AddFolder("C:\\Menus");
    w.fs.AddFolder("C:\\Menus\\Demo");
    w.fs.AddFolder("E:\\");
    form.drive = "C:";  // the program's own drive: its current folder, not its root
    window.Drive1_Change();
    EXPECT_EQ(form.folder, "C:\\Menus\\Demo");
    form.drive = "E:";  // any other drive: its root
    window.Drive1_Change();
    EXPECT_EQ(form.folder, "E:\\");
}

TEST_F(Relocation, UnreadableDriveLeavesTheFolderListAlone) {
    form.drive = "F:";
    form.unreadable = {"F:\\"};
    window.Drive1_Change();
    EXPECT_EQ(form.folder, "D:\\Target");
    form.drive = "E:";
    window.Drive1_Change();
    EXPECT_EQ(form.folder, "E:\\");
}

TEST_F(Relocation, CancelClosesAndCopiesNothing) {
    window.CancelButton_Click();
    EXPECT_TRUE(form.closed);
    EXPECT_FALSE(w.fs.Has("D:\\Target\\Orvelund.exe"));
}

}  // namespace
