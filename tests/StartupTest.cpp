// Start-up: the command line, the first-run question, the pop-up menu and closing down.
#include <gtest/gtest.h>

#include "platform/MainWindowDesign.h"
#include "tests/fakes/World.h"

namespace {

const char* kPrompt =
    "Orvelund will create content and configuration files when started.\r\n"
    "A content folder will be created to contain your menu configuration.\r\n"
    "\r\n"
    "Orvelund should be installed and run from a folder or removable drive.\r\n"
    "\r\n"
    "To use Autorun features this must be the root folder (not in a sub folder),\r\n"
    "on removable drives including CDs, DVDs and USB flash drives or removable hard disks.  All other features "
    "can be used when running the menu from any drive or folder.\r\n"
    "\r\n"
    "Ideally this should be the location to be used to run the finished menu.\r\n"
    "\r\n"
    "Current Folder: C:\\Menu\r\n"
    "\r\n"
    "Do you want to use the current folder?";

const char* kHelp = "-?      (opens Command Line Help)\r\n-setup (opens the Setup Wizard)";

TEST(CommandLine, OptionsAreSplitOnlyAtSlashAndTabAndMatchedExactly) {
    struct Case {
        const char* line;
        bool editor, exit;
    } cases[] = {
        {"", false, false},
        {"-setup", true, false},
        {"/-setup", true, false},
        {"-SETUP", false, false},
        {"-setup ", false, false},   // a blank is part of the argument
        {"-setup  ", false, false},
        {"/-setup /", false, false},
        {"-? -setup", false, false}, // one argument that matches neither
        {"-?/-setup", true, true},
        {"-?\t-setup", true, true},
        {"//-?//", false, true},
        {"a/b/c/d/e/f/g/h/i/j/-setup", false, false},  // the eleventh argument is never looked at
        {"a/b/c/d/e/f/g/h/i/-setup", true, false},     // the tenth is
    };
    for (const auto& c : cases) {
        World w("C:\\Menu", c.line);
        w.main.GetCommandLine();
        EXPECT_EQ(w.state.ShowEditorAtStart, c.editor) << c.line;
        EXPECT_EQ(w.state.ExitRequested, c.exit) << c.line;
        EXPECT_EQ(w.dialogs.shown.size(), c.exit ? 1u : 0u) << c.line;
    }
}

TEST(CommandLine, HelpBoxHasItsTitleTextAndIcon) {
    World w("C:\\Menu", "-?");
    w.main.GetCommandLine();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].title, "Talvenor - Command Line Help");
    EXPECT_EQ(w.dialogs.shown[0].prompt, kHelp);
    EXPECT_EQ(w.dialogs.shown[0].buttons, mb::OkOnly | mb::Information);
}

TEST(CommandLine, ProgramNameIsDroppedFromTheWindowsCommandLine) {
    EXPECT_EQ(ArgumentsOf("\"C:\\My Menu\\Orvelund.exe\" -setup"), "-setup");
    // Blanks at the end belong to the last argument: only the gap after the name goes.
    EXPECT_EQ(ArgumentsOf("Orvelund.exe   /-?/-setup  "), "/-?/-setup  ");
    EXPECT_EQ(ArgumentsOf("\"C:\\Menu\\Orvelund.exe\" -setup "), "-setup ");
    EXPECT_EQ(ArgumentsOf("Orvelund.exe \t-setup"), "\t-setup");
    EXPECT_EQ(ArgumentsOf("Orvelund.exe"), "");
    EXPECT_EQ(ArgumentsOf("\"E:\\Orvelund.exe\""), "");
    EXPECT_EQ(ArgumentsOf("Orvelund.exe -? -setup"), "-? -setup");
}

TEST(AppPath, EndsInABackslashOnlyAtADriveRoot) {
    EXPECT_EQ(AppPathFromExePath("E:\\Orvelund.exe"), "E:\\");
    EXPECT_EQ(AppPathFromExePath("C:\\Menus\\Demo\\Orvelund.exe"), "C:\\Menus\\Demo");
    EXPECT_EQ(AppPathFromExePath("\\\\?\\C:\\Menus\\Orvelund.exe"), "C:\\Menus");
    EXPECT_EQ(AppPathFromExePath("\\\\server\\share\\Orvelund.exe"), "\\\\server\\share");
}

TEST(FirstRun, QuestionIsAskedOnlyWithoutAMenuFile) {
    World w;
    w.dialogs.answers = {mb::Cancel};
    w.main.Form_Load();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].title, "Orvelund - Setup Wizard");
    EXPECT_EQ(w.dialogs.shown[0].prompt, kPrompt);
    EXPECT_EQ(w.dialogs.shown[0].buttons, mb::YesNoCancel);

    World with;
    with.WriteMenu({"Docs,Read me,manual.pdf,open"});
    with.main.Form_Load();
    EXPECT_TRUE(with.dialogs.shown.empty());
    EXPECT_EQ(with.state.SetupAnswer, "6");
    EXPECT_FALSE(with.form.closed);
    EXPECT_EQ(with.windows.setupWizardShown, 0);
}

TEST(FirstRun, PromptNamesADriveRootWithItsBackslash) {
    World w("E:\\");
    w.dialogs.answers = {mb::Cancel};
    w.main.Form_Load();
    EXPECT_NE(w.dialogs.shown.at(0).prompt.find("\r\nCurrent Folder: E:\\\r\n"), std::string::npos);
}

TEST(FirstRun, CancelEndsTheProgramAndCreatesNothing) {
    World w;
    w.dialogs.answers = {mb::Cancel};
    w.main.Form_Load();
    EXPECT_TRUE(w.form.closed);
    EXPECT_EQ(w.state.SetupAnswer, "2");
    EXPECT_FALSE(w.fs.FolderExists("C:\\Menu\\content"));
    EXPECT_TRUE(w.fs.writes.empty());
    EXPECT_EQ(w.windows.chooseFolderShown, 0);
}

TEST(FirstRun, NoOpensTheRelocationWindowInsteadOfTheMenu) {
    World w;
    w.dialogs.answers = {mb::No};
    w.main.Form_Load();
    EXPECT_EQ(w.windows.chooseFolderShown, 1);
    EXPECT_TRUE(w.form.closed);
    EXPECT_FALSE(w.fs.FolderExists("C:\\Menu\\content"));
    EXPECT_EQ(w.windows.setupWizardShown, 0);
}

TEST(FirstRun, YesCreatesTheContentFolderOrUsesTheOneThere) {
    World w;
    w.dialogs.answers = {mb::Yes};
    w.main.Form_Load();
    EXPECT_TRUE(w.fs.FolderExists("C:\\Menu\\content"));
    EXPECT_FALSE(w.form.closed);

    World existing;
    existing.fs.AddFile(existing.Content("Instructions.jpg"), "mine");
    existing.dialogs.answers = {mb::Yes};
    existing.main.Form_Load();
    EXPECT_EQ(existing.dialogs.shown.size(), 1u);  // still asked: there is no menu file
    EXPECT_EQ(existing.fs.Content(existing.Content("Instructions.jpg")), "mine");
}

// The whole chain from the Windows command line: blanks after an option are not trimmed away.
TEST(CommandLine, TrailingBlanksAfterSetupMatchNothing) {
    for (const char* full : {"\"C:\\Menu\\Orvelund.exe\" -setup ", "Orvelund.exe -setup \t", "Orvelund.exe /-setup  "}) {
        World w("C:\\Menu", ArgumentsOf(full));
        w.main.GetCommandLine();
        EXPECT_FALSE(w.state.ShowEditorAtStart) << full;
    }
    World w("C:\\Menu", ArgumentsOf("Orvelund.exe -setup"));
    w.main.GetCommandLine();
    EXPECT_TRUE(w.state.ShowEditorAtStart);
}

TEST(FirstRun, AFileNamedContentIsNamedAsTheProblem) {
    World w;
    w.fs.AddFile("C:\\Menu\\content", "a file, not a folder");
    w.dialogs.answers = {mb::Yes};
    w.main.Form_Load();
    ASSERT_EQ(w.dialogs.shown.size(), 2u);
    const std::string& text = w.dialogs.shown[1].prompt;
    EXPECT_NE(text.find("a file of that name is in the way"), std::string::npos) << text;
    EXPECT_NE(text.find("C:\\Menu\\content"), std::string::npos);
    EXPECT_EQ(text.find("permission"), std::string::npos);
    EXPECT_EQ(w.fs.Content("C:\\Menu\\content"), "a file, not a folder");
    EXPECT_TRUE(w.form.closed);
}

TEST(FirstRun, AContentFolderThatCannotBeCreatedIsReportedOnce) {
    World w;
    w.fs.FailWritesUnder("C:\\Menu");
    w.dialogs.answers = {mb::Yes};
    w.main.Form_Load();
    ASSERT_EQ(w.dialogs.shown.size(), 2u);
    EXPECT_EQ(w.dialogs.shown[1].buttons, mb::OkOnly | mb::Critical);
    EXPECT_NE(w.dialogs.shown[1].prompt.find("C:\\Menu\\content"), std::string::npos);
    EXPECT_TRUE(w.form.closed);
}

TEST(HelpOption, ComesFirstAndThenEndsTheProgram) {
    World w("C:\\Menu", "-?");
    w.WriteMenu({"Docs,Read me,manual.pdf,open"});
    w.main.Form_Load();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].title, "Talvenor - Command Line Help");
    EXPECT_TRUE(w.form.closed);
    EXPECT_NE(w.form.caption, "Demo");  // the menu was never read

    // Without a menu file the question still follows; Yes then ends without creating anything.
    World yes("C:\\Menu", "-?");
    yes.dialogs.answers = {mb::Ok, mb::Yes};
    yes.main.Form_Load();
    ASSERT_EQ(yes.dialogs.shown.size(), 2u);
    EXPECT_EQ(yes.dialogs.shown[1].title, "Orvelund - Setup Wizard");
    EXPECT_TRUE(yes.form.closed);
    EXPECT_FALSE(yes.fs.FolderExists("C:\\Menu\\content"));

    // No still opens the relocation window.
    World no("C:\\Menu", "-?");
    no.dialogs.answers = {mb::Ok, mb::No};
    no.main.Form_Load();
    EXPECT_EQ(no.windows.chooseFolderShown, 1);
}

TEST(HelpOption, WithSetupShowsHelpAndDoesNotOpenTheEditor) {
    World w("C:\\Menu", "-?/-setup");
    w.WriteMenu({"Docs,Read me,manual.pdf,open"});
    w.main.Form_Load();
    EXPECT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_TRUE(w.form.closed);
    EXPECT_EQ(w.windows.setupWizardShown, 0);
}

TEST(SetupOption, OpensTheMenuEditorAtTheEndOfStartUp) {
    World w("C:\\Menu", "-setup");
    w.WriteMenu({"Docs,Read me,manual.pdf,open"});
    w.main.Form_Load();
    EXPECT_EQ(w.windows.setupWizardShown, 1);
    EXPECT_FALSE(w.form.closed);
    EXPECT_EQ(w.form.caption, "Demo");  // the menu was read first
}

TEST(PopupMenu, RightClickOffersTheEditorAndExit) {
    World w;
    w.WriteMenu({"Docs,Read me,manual.pdf,open"});
    w.main.Form_Load();

    w.main.Picture1_MouseDown(1, 0, 10, 10);  // a left click opens nothing
    EXPECT_TRUE(w.form.popupsShown.empty());

    w.form.popupAnswers = {PopupCommand::MenuEditor};
    w.main.Picture1_MouseDown(2, 0, 10, 10);
    ASSERT_EQ(w.form.popupsShown.size(), 1u);
    EXPECT_EQ(w.form.popupsShown[0], (std::vector<std::string>{"Menu Editor", "Exit"}));
    EXPECT_EQ(w.windows.setupWizardShown, 1);
    EXPECT_FALSE(w.form.closed);

    w.form.popupAnswers = {PopupCommand::Exit};
    w.main.Picture1_MouseDown(2 | 1, 0, 10, 10);  // right with left held counts as right
    EXPECT_TRUE(w.form.closed);
}

TEST(PopupMenu, HideSetupLeavesOnlyExit) {
    const struct {
        const char* line;
        bool hidden;
    } cases[] = {{"HIDESETUP:1", true}, {"HIDESETUP:0", false}, {"HIDESETUP:1 ", false},
                 {"HIDESETUP: 1", false}, {"hidesetup:1", false}, {"", false}};
    for (const auto& c : cases) {
        World w;
        w.WriteMenu({"Docs,Read me,manual.pdf,open"}, "TITLE:Demo", c.line);
        w.main.Form_Load();
        w.main.Picture1_MouseDown(2, 0, 1, 1);
        ASSERT_EQ(w.form.popupsShown.size(), 1u);
        EXPECT_EQ(w.form.popupsShown[0].size(), c.hidden ? 1u : 2u) << c.line;
    }
}

TEST(Activation, ClosesTheWindowOnlyAfterAnExitRequest) {
    World w;
    w.WriteMenu({"Docs,Read me,manual.pdf,open"});
    w.main.Form_Load();
    w.main.Form_Activate();
    EXPECT_FALSE(w.form.closed);
    w.state.ExitRequested = true;
    w.main.Form_Activate();
    EXPECT_TRUE(w.form.closed);
}

TEST(DesignState, ShowsSamplePicturesButtonsAndCaptionsBeforeAnyMenuIsRead) {
    World w;
    using namespace MainCtl;
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(w.form.Text(BtnMenu(k)), "");
        EXPECT_NE(SourceOf(w.form.Picture(BtnMenu(k))), "");
    }
    for (int k = 4; k < 10; ++k) EXPECT_EQ(w.form.Text(BtnMenu(k)), "Button");
    for (int k = 0; k < 10; ++k) EXPECT_EQ(w.form.Text(LblMenu(k)), "Caption");
    EXPECT_FALSE(w.form.ControlVisible(BtnNext));
    EXPECT_FALSE(w.form.ControlVisible(BtnPrev));
    EXPECT_EQ(w.form.height, 10800);
    // The tenth row and the Next arrow fit the design's client area, the arrow 15 twips past it.
    const auto& d = MainWindowDesign();
    EXPECT_EQ(d.controls[BtnNext].top + d.controls[BtnNext].height, d.clientHeight + 15);
}

}  // namespace
