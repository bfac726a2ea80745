// The Menu Editor: loading the menu file, the list commands, saving and restarting.
#include <gtest/gtest.h>

#include <algorithm>

#include "editor/SetupWizard.h"
#include "platform/MainWindowDesign.h"
#include "platform/SetupWizardDesign.h"
#include "tests/CodePageTexts.h"
#include "tests/fakes/World.h"

namespace {

using namespace WizardCtl;

struct MenuEditor : ::testing::Test {
    World w;
    FakeSetupWizardForm form{w.pictures};
    SetupWizard editor{form, w.main, w.services, w.state};

    void Open(const std::vector<std::string>& entries, const std::string& title = "TITLE:Demo") {
        w.WriteMenu(entries, title);
        w.main.Form_Load();
        w.form.visible = true;
        editor.Form_Load();
    }
    std::vector<std::string> Buttons() {
        std::vector<std::string> b;
        for (const auto& r : editor.Rows()) b.push_back(r.Button);
        return b;
    }
    std::string File() { return w.fs.Content(w.Content("config.ini")); }
};

TEST_F(MenuEditor, LoadsEveryNonEmptyLineAndTheSettings) {
    w.fs.AddFile(w.Content("B.jpg"), "jpeg");
    w.fs.AddFile(w.Content("app.ico"), "ICON");
    Open({"A,a,x,open", "B,b,y,edit", "", "C,c,z,print", "", "", "D"});
    EXPECT_EQ(Buttons(), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_EQ(form.rowCount, 4);
    EXPECT_EQ(editor.Cell(2, 3), "edit");
    EXPECT_EQ(editor.Cell(2, 4), "B.jpg");
    EXPECT_EQ(editor.Cell(1, 4), "");
    EXPECT_EQ(editor.Cell(4, 1), "");  // a short line keeps its row, with empty fields
    EXPECT_EQ(form.Text(sTitle), "Demo");
    EXPECT_EQ(form.BackColor(Color0), 16435132);
    EXPECT_EQ(form.BackColor(Color1), 16777215);
    EXPECT_FALSE(form.Checked(HideSetup));
    EXPECT_EQ(form.caption, "Demo - Menu Editor");
    EXPECT_FALSE(w.form.visible);  // the editor keeps the main window hidden
    EXPECT_EQ(SourceOf(form.Picture(AppIcon)), FakeFileSystem::Key(w.Content("app.ico")));
    EXPECT_EQ(SourceOf(form.icon), SourceOf(form.Picture(AppIcon)));
    EXPECT_EQ(form.Text(AutoRunReset), "Create AutoRun");
}

TEST_F(MenuEditor, ImageColumnFindsPicturesWhateverTheirCase) {
    w.fs.AddFile(w.Content("docs.JPG"), "jpeg");
    w.fs.AddFile(w.Content("\xc3\x89t\xc3\xa9.jpg"), "jpeg");  // a name outside ASCII
    w.fs.AddFile("C:\\Menu\\Up.jpg", "jpeg");                   // a path out of the folder
    Open({"Docs,a,x,open", "\xc3\x89t\xc3\xa9,b,y,open", "..\\Up,c,z,open", "Other,d,q,open"});
    EXPECT_EQ(editor.Cell(1, 4), "Docs.jpg");
    EXPECT_EQ(editor.Cell(2, 4), "\xc3\x89t\xc3\xa9.jpg");
    EXPECT_EQ(editor.Cell(3, 4), "..\\Up.jpg");
    EXPECT_EQ(editor.Cell(4, 4), "");
}

TEST_F(MenuEditor, FirstRunMenuLoadsFourRowsAndAutoRunButtonFollowsTheFile) {
    w.fs.AddFile("C:\\Menu\\autorun.inf", "[AutoRun]\r\n");
    w.dialogs.answers = {mb::Yes};
    w.main.Form_Load();
    editor.Form_Load();
    EXPECT_EQ(editor.RowCount(), 4);
    EXPECT_EQ(editor.Cell(2, 4), "Website.jpg");
    EXPECT_EQ(form.Text(AutoRunReset), "Update AutoRun");
    EXPECT_EQ(form.caption, "Orvelund - Menu Editor");
}

TEST_F(MenuEditor, EmptyTitleAndOddSettingValues) {
    w.fs.AddFile(w.Content("config.ini"),
                 "1\r\n2\r\nTITLE:\r\nBTCOLOR:abc\r\nBGCOLOR:\r\nHIDESETUP:1.7\r\n7\r\n8\r\nA,a,x,open\r\n");
    w.main.Form_Load();
    editor.Form_Load();
    EXPECT_EQ(form.caption, " - Menu Editor");
    EXPECT_EQ(w.state.ButtonColor, "abc");
    EXPECT_EQ(form.BackColor(Color0), Rgb(192, 192, 255));  // not a number: the design colour stays
    EXPECT_TRUE(form.Checked(HideSetup));
    EXPECT_EQ(editor.RowCount(), 1);
}

TEST_F(MenuEditor, AddItemAppendsANewButtonAndSelectsIt) {
    Open({"A,a,x,open", "B,b,y,open", "C,c,z,open"});
    editor.AddItem_Click();
    editor.AddItem_Click();
    EXPECT_EQ(Buttons(), (std::vector<std::string>{"A", "B", "C", "New Button", "New Button"}));
    EXPECT_EQ(editor.Cell(4, 1), "");
    EXPECT_EQ(form.selected, 5);
}

TEST_F(MenuEditor, MoveDownAndUpExchangeRowsAndTheSelectionFollows) {
    w.fs.AddFile(w.Content("B.jpg"), "jpeg");
    Open({"A,a,x,open", "B,b,y,open", "C,c,z,open", "D,d,q,open"});
    form.selected = 2;
    editor.MoveDown_Click();
    EXPECT_EQ(Buttons(), (std::vector<std::string>{"A", "C", "B", "D"}));
    EXPECT_EQ(form.selected, 3);
    EXPECT_EQ(editor.Cell(3, 4), "B.jpg");
    EXPECT_EQ(editor.Cell(2, 4), "");

    form.selected = 3;
    editor.MoveUp_Click();
    editor.MoveUp_Click();
    EXPECT_EQ(Buttons(), (std::vector<std::string>{"B", "A", "C", "D"}));
    EXPECT_EQ(form.selected, 1);
    editor.MoveUp_Click();  // already at the top
    form.selected = 4;
    editor.MoveDown_Click();  // already at the bottom
    EXPECT_EQ(Buttons(), (std::vector<std::string>{"B", "A", "C", "D"}));
}

TEST_F(MenuEditor, DeleteRemovesTheSelectedRowOnlyFromTheList) {
    Open({"A,a,x,open", "B,b,y,open", "C,c,z,open", "D,d,q,open"});
    const std::string before = File();
    form.selected = 2;
    editor.DeleteItem_Click();
    EXPECT_EQ(Buttons(), (std::vector<std::string>{"A", "C", "D"}));
    EXPECT_EQ(File(), before);
}

TEST_F(MenuEditor, CommandsWithNoRowSelectedDoNothing) {
    Open({"A,a,x,open", "B,b,y,open"});
    form.selected = 0;
    editor.DeleteItem_Click();
    editor.MoveUp_Click();
    editor.MoveDown_Click();
    editor.sMenuItems_DblClick();
    EXPECT_EQ(Buttons(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(w.windows.menuItemShown, 0);

    World empty;
    FakeSetupWizardForm emptyForm{empty.pictures};
    SetupWizard onEmpty{emptyForm, empty.main, empty.services, empty.state};
    onEmpty.Form_Load();  // no menu file at all
    onEmpty.DeleteItem_Click();
    onEmpty.MoveDown_Click();
    EXPECT_EQ(onEmpty.RowCount(), 0);
}

TEST_F(MenuEditor, DoubleClickHandsTheSelectedRowToTheItemEditor) {
    Open({"A,a,x,open", "B,b,y,open", "C,c,z,open", "D,d,q,open", "E,e,r,open"});
    form.selected = 5;
    editor.sMenuItems_DblClick();
    EXPECT_EQ(w.state.EditIndex, 5);
    EXPECT_EQ(w.windows.menuItemShown, 1);
}

TEST_F(MenuEditor, OkWritesTheFileShowsTheMessageAndRestarts) {
    Open({"Docs,Read me,manual.pdf,open"});
    editor.Rows() = {{"Docs", "Read me", "manual.pdf", "open", ""}, {"Files", "Browse", ".", "explore", ""}};
    form.SetChecked(HideSetup, true);
    editor.OKButton_Click();
    EXPECT_EQ(File(),
              "## ** Orvelund - CONFIGURATION FILE **\r\n## >> Configuration\r\nTITLE:Demo\r\nBTCOLOR:16435132\r\n"
              "BGCOLOR:16777215\r\nHIDESETUP:1\r\n"
              "## -- Configure items to appear in the menu in the correct order.  \r\n"
              "## -- [Button],[Label],[File/Folder],[Action]\r\nDocs,Read me,manual.pdf,open\r\n"
              "Files,Browse,.,explore\r\n");
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].prompt, "Your settings have been saved!\r\nThe program will now restart.");
    EXPECT_EQ(w.dialogs.shown[0].title, "Orvelund - Menu Editor");
    EXPECT_EQ(w.dialogs.shown[0].buttons, mb::OkOnly | mb::Exclamation);
    EXPECT_TRUE(w.state.ExitRequested);
    EXPECT_TRUE(w.form.visible);
    EXPECT_EQ(w.shell.calls, (std::vector<ShellCall>{{form.Handle(), "open", "C:\\Menu\\Orvelund.exe"}}));
    EXPECT_TRUE(form.closed);
    w.main.Form_Activate();  // the old main window then closes itself
    EXPECT_TRUE(w.form.closed);
}

TEST_F(MenuEditor, SavingAnEmptyListAndANeverEditedRow) {
    Open({"A,a,x,open"});
    form.selected = 1;
    editor.DeleteItem_Click();
    ASSERT_TRUE(editor.WriteSetupConfig());
    EXPECT_EQ(w.fs.ReadLines(w.Content("config.ini"), 0, FileSystem::kAllLines)->size(), 8u);
    editor.AddItem_Click();
    ASSERT_TRUE(editor.WriteSetupConfig());
    EXPECT_EQ(File().substr(File().size() - 15), "New Button,,,\r\n");
}

TEST_F(MenuEditor, FirstSaveDropsTheEmptyLinesOfTheFirstRunFile) {
    w.dialogs.answers = {mb::Yes};
    w.main.Form_Load();
    editor.Form_Load();
    ASSERT_TRUE(editor.WriteSetupConfig());
    EXPECT_EQ(File().find("\r\n\r\n"), std::string::npos);
    EXPECT_EQ(w.fs.ReadLines(w.Content("config.ini"), 0, FileSystem::kAllLines)->size(), 12u);
}

TEST_F(MenuEditor, FailedSaveKeepsTheOldFileTheEditsAndTheProgram) {
    Open({"A,a,x,open"});
    const std::string before = File();
    w.fs.SetReadOnly(w.Content("config.ini"));
    editor.AddItem_Click();
    editor.OKButton_Click();
    EXPECT_EQ(File(), before);
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].buttons, mb::OkOnly | mb::Critical);
    EXPECT_NE(w.dialogs.shown[0].prompt.find("could not be saved"), std::string::npos);
    EXPECT_FALSE(w.state.ExitRequested);
    EXPECT_FALSE(form.closed);
    EXPECT_TRUE(w.shell.calls.empty());
    EXPECT_EQ(editor.RowCount(), 2);
}

TEST_F(MenuEditor, CancelAndTheTitleBarCloseShowTheMenuAndWriteNothing) {
    Open({"A,a,x,open", "B,b,y,open"});
    const std::string before = File();
    editor.AddItem_Click();
    form.selected = 1;
    editor.MoveDown_Click();
    editor.CancelButton_Click();
    EXPECT_EQ(File(), before);
    EXPECT_TRUE(w.form.visible);
    EXPECT_TRUE(form.closed);
    EXPECT_FALSE(w.state.ExitRequested);

    World other;
    FakeSetupWizardForm otherForm{other.pictures};
    SetupWizard closing{otherForm, other.main, other.services, other.state};
    other.WriteMenu({"A,a,x,open"});
    other.main.Form_Load();
    closing.Form_Load();
    closing.Form_QueryUnload();
    EXPECT_TRUE(other.form.visible);
    EXPECT_TRUE(otherForm.closed);
}

TEST_F(MenuEditor, MenuFileThatCouldNotBeReadIsReplacedOnlyWhenTheUserSaysSo) {
    w.WriteMenu({"A,a,x,open", "B,b,y,open"});
    w.main.Form_Load();
    w.fs.Lock(w.Content("config.ini"));
    editor.Form_Load();
    EXPECT_EQ(editor.RowCount(), 0);
    EXPECT_FALSE(w.form.visible);  // the editor still opens and hides the menu
    const std::string before = File();
    w.dialogs.answers = {mb::No};
    editor.OKButton_Click();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_NE(w.dialogs.shown[0].prompt.find("could not be read"), std::string::npos);
    EXPECT_EQ(File(), before);
    EXPECT_FALSE(form.closed);
    w.dialogs.answers = {mb::Yes, mb::Ok};
    editor.OKButton_Click();
    const std::string after = File();
    EXPECT_EQ(std::count(after.begin(), after.end(), '\n'), 8);  // the header of an empty menu
    EXPECT_TRUE(form.closed);
}

TEST_F(MenuEditor, LongestMenusKeepEveryEntryOnSave) {
    std::vector<std::string> entries;
    for (int i = 1; i <= 40000; ++i) entries.push_back("B" + std::to_string(i) + ",L,x,open");
    Open(entries);
    EXPECT_EQ(editor.RowCount(), 40000);
    ASSERT_TRUE(editor.WriteSetupConfig());
    const auto lines = w.fs.ReadLines(w.Content("config.ini"), 0, FileSystem::kAllLines);
    ASSERT_EQ(lines->size(), 40008u);
    EXPECT_EQ(lines->back(), "B40000,L,x,open");
}

}  // namespace

namespace {

// ---- saving text in any script ------------------------------------------------------------------

TEST_F(MenuEditor, OkWithoutEditsKeepsEveryCharacterOfAForeignMenu) {
    // Greek title, Chinese and Arabic labels, an emoji in a path, read from a UTF-8 file with its mark.
    const std::string greek = "\xce\x9c\xce\xb5\xce\xbd\xce\xbf\xcf\x8d";
    const std::string entries[] = {"\xe8\x8f\x9c\xe5\x8d\x95,\xd9\x82\xd8\xa7\xd8\xa6\xd9\x85\xd8\xa9,x.pdf,open",
                                   "Disc,Label,\xf0\x9f\x93\x80\\a.txt,open"};
    for (const std::string& mark : {std::string("\xEF\xBB\xBF"), std::string()}) {  // with and without a mark
        World fresh;
        std::string text = "## ** Orvelund - CONFIGURATION FILE **\r\n## >> Configuration\r\nTITLE:" + greek +
                           "\r\nBTCOLOR:16435132\r\nBGCOLOR:16777215\r\nHIDESETUP:0\r\n"
                           "## -- Configure items to appear in the menu in the correct order.  \r\n"
                           "## -- [Button],[Label],[File/Folder],[Action]\r\n" + entries[0] + "\r\n" + entries[1] + "\r\n";
        fresh.fs.AddFile(fresh.Content("config.ini"), mark + text);
        fresh.main.Form_Load();
        FakeSetupWizardForm f{fresh.pictures};
        SetupWizard e{f, fresh.main, fresh.services, fresh.state};
        e.Form_Load();
        EXPECT_EQ(f.Text(sTitle), greek);
        e.OKButton_Click();
        EXPECT_EQ(fresh.fs.Content(fresh.Content("config.ini")), "\xEF\xBB\xBF" + text);
    }
}

// A menu is read on other PCs than its author's: whatever code page the author's Windows has, OK
// writes a menu that holds more than ASCII as UTF-8 with a mark, and an ASCII menu as it always was.
TEST_F(MenuEditor, OkWritesAMenuThatReadsAlikeOnEveryPcWhateverTheAuthorsCodePage) {
    using codepagetexts::InCodePage;
    Open({"Docs,Manual,docs\\manual.pdf,open"});
    editor.OKButton_Click();
    std::string ascii;
    for (const auto& line : menufile::FileLines(MenuSettings{"Demo", 16435132, 16777215, 0},
                                                {{"Docs", "Manual", "docs\\manual.pdf", "open"}}))
        ascii += line + "\r\n";
    EXPECT_EQ(File(), ascii);

    for (const auto& script : codepagetexts::Scripts()) {
        SCOPED_TRACE(script.codePage);
        const std::string entry = "Docs," + script.label + ",docs\\" + script.file + ",open";
        const std::string menu = "## a\r\n## b\r\nTITLE:" + script.title +
                                 "\r\nBTCOLOR:1\r\nBGCOLOR:2\r\nHIDESETUP:0\r\n## c\r\n## d\r\n" + entry + "\r\n";
        // The menu as an older version saved it on the author's PC, and as UTF-8 with a mark.
        for (const std::string& stored : {InCodePage(script.codePage, menu), "\xEF\xBB\xBF" + menu}) {
            World author;
            author.fs.codePage = script.codePage;
            author.fs.AddFile(author.Content("config.ini"), stored);
            author.main.Form_Load();
            FakeSetupWizardForm authorForm{author.pictures};
            SetupWizard authorEditor{authorForm, author.main, author.services, author.state};
            authorEditor.Form_Load();
            authorEditor.OKButton_Click();
            const std::string saved = author.fs.Content(author.Content("config.ini"));
            EXPECT_EQ(saved.substr(0, 3), "\xEF\xBB\xBF");
            EXPECT_NE(saved.find("\r\nTITLE:" + script.title + "\r\n"), std::string::npos);
            EXPECT_NE(saved.find("\r\n" + entry + "\r\n"), std::string::npos);

            // A reader with the Western code page sees the title and opens the file.
            World reader;
            reader.fs.AddFile(reader.Content("config.ini"), saved);
            reader.main.Form_Load();
            EXPECT_EQ(reader.form.caption, script.title);
            reader.main.btnMenu_Click(0);
            ASSERT_EQ(reader.shell.calls.size(), 1u);
            EXPECT_EQ(reader.shell.calls[0].file, reader.fs.currentFolder + "\\docs\\" + script.file);
        }
    }
}

TEST_F(MenuEditor, FullWidthPunctuationIsKeptAsItIsAndNeverSplitsAField) {
    Open({"A,a,x,open"});
    const std::string comma = "\xef\xbc\x8c", colon = "\xef\xbc\x9a", backslash = "\xef\xbc\xbc";
    form.SetText(sTitle, "Sales" + colon + "2026");
    editor.Rows() = {{"Sales" + comma + "North", "Label" + comma + "x", "C:\\Docs" + backslash + "a.pdf", "open", ""}};
    editor.OKButton_Click();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);  // "saved", no complaint about the characters
    World again;
    again.fs.AddFile(again.Content("config.ini"), File());
    again.main.Form_Load();
    EXPECT_EQ(again.form.caption, "Sales" + colon + "2026");
    EXPECT_EQ(again.form.Text(MainCtl::LblMenu(0)), "Label" + comma + "x");
    again.main.btnMenu_Click(0);
    ASSERT_EQ(again.shell.calls.size(), 1u);
    EXPECT_EQ(again.shell.calls[0].file, "C:\\Docs" + backslash + "a.pdf");
    EXPECT_EQ(again.shell.calls[0].verb, "open");
}

// ---- two editors, one file -----------------------------------------------------------------------

TEST_F(MenuEditor, AnotherSaveSinceTheEditorReadTheFileIsNotOverwrittenWithoutAsking) {
    Open({"A,a,x,open"});
    const std::string theirs = w.fs.Content(w.Content("config.ini")) + "Theirs,t,t.txt,open\r\n";
    w.fs.AddFile(w.Content("config.ini"), theirs);  // the other editor saved
    editor.AddItem_Click();
    for (int answer : {mb::No, mb::Cancel}) {
        w.dialogs.answers = {answer};
        editor.OKButton_Click();
        EXPECT_EQ(File(), theirs);
        EXPECT_FALSE(form.closed);
        EXPECT_TRUE(w.shell.calls.empty());
        EXPECT_EQ(editor.RowCount(), 2);  // the edits are still there
    }
    const MessageBoxCall& question = w.dialogs.shown.back();
    EXPECT_EQ(question.buttons, mb::YesNoCancel | mb::Exclamation);
    EXPECT_NE(question.prompt.find("changed by another program"), std::string::npos);
    EXPECT_NE(question.prompt.find(w.Content("config.ini")), std::string::npos);

    w.dialogs.answers = {mb::Yes, mb::Ok};
    editor.OKButton_Click();
    EXPECT_NE(File().find("New Button,,,"), std::string::npos);
    EXPECT_EQ(File().find("Theirs"), std::string::npos);
    EXPECT_TRUE(form.closed);
}

TEST_F(MenuEditor, AFileDeletedOrCreatedSinceTheEditorOpenedCountsAsChanged) {
    Open({"A,a,x,open"});
    w.fs.Delete(w.Content("config.ini"));
    w.dialogs.answers = {mb::No};
    editor.OKButton_Click();
    EXPECT_FALSE(w.fs.Has(w.Content("config.ini")));

    World empty;  // no menu file when the editor opened, one written since
    FakeSetupWizardForm f{empty.pictures};
    SetupWizard e{f, empty.main, empty.services, empty.state};
    empty.fs.AddFolder(empty.Content(""));
    e.Form_Load();
    empty.WriteMenu({"Other,o,o.txt,open"});
    empty.dialogs.answers = {mb::No};
    e.OKButton_Click();
    EXPECT_NE(empty.fs.Content(empty.Content("config.ini")).find("Other"), std::string::npos);
    EXPECT_EQ(empty.dialogs.shown.size(), 1u);
}

TEST_F(MenuEditor, TheEditorsOwnUnchangedFileIsSavedWithoutAQuestion) {
    Open({"A,a,x,open"});
    editor.AddItem_Click();
    editor.OKButton_Click();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].prompt, "Your settings have been saved!\r\nThe program will now restart.");
}

// ---- restarting the program's own file ------------------------------------------------------------

TEST_F(MenuEditor, RestartStartsTheProgramWhateverItsName) {
    for (const char* name : {"Start.exe", "My Menu.exe", "ORVELUND.EXE"}) {
        World renamed;
        renamed.services.app.exeName = name;
        renamed.WriteMenu({"A,a,x,open"});
        renamed.main.Form_Load();
        FakeSetupWizardForm f{renamed.pictures};
        SetupWizard e{f, renamed.main, renamed.services, renamed.state};
        e.Form_Load();
        e.OKButton_Click();
        EXPECT_EQ(renamed.shell.calls, (std::vector<ShellCall>{{f.Handle(), "open", std::string("C:\\Menu\\") + name}}));
        EXPECT_TRUE(f.closed);
    }
}

TEST_F(MenuEditor, ARestartThatFailsKeepsTheEditorAndSaysTheMenuWasSaved) {
    World deep(std::string("C:\\") + std::string(290, 'd'));
    deep.WriteMenu({"A,a,x,open"});
    deep.main.Form_Load();
    deep.form.visible = true;
    FakeSetupWizardForm f{deep.pictures};
    SetupWizard e{f, deep.main, deep.services, deep.state};
    e.Form_Load();
    e.AddItem_Click();
    deep.shell.fails = true;
    e.OKButton_Click();
    ASSERT_EQ(deep.dialogs.shown.size(), 2u);
    const MessageBoxCall& failed = deep.dialogs.shown[1];
    EXPECT_EQ(failed.buttons, mb::OkOnly | mb::Critical);
    EXPECT_NE(failed.prompt.find("has been saved"), std::string::npos);
    EXPECT_NE(failed.prompt.find("could not be restarted"), std::string::npos);
    EXPECT_NE(failed.prompt.find(deep.services.app.appPath + "\\Orvelund.exe"), std::string::npos);
    EXPECT_NE(deep.fs.Content(deep.Content("config.ini")).find("New Button,,,"), std::string::npos);
    EXPECT_FALSE(f.closed);
    EXPECT_FALSE(deep.state.ExitRequested);
    deep.main.Form_Activate();
    EXPECT_FALSE(deep.form.closed);

    // A second OK, now that the shell works, saves without asking about a change it made itself.
    deep.shell.fails = false;
    e.OKButton_Click();
    EXPECT_EQ(deep.dialogs.shown.size(), 3u);
    EXPECT_TRUE(f.closed);
}

}  // namespace
