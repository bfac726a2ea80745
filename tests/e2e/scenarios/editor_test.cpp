// The Menu Editor and the item editor under Wine: the list, its commands, saving with a restart,
// cancelling, a save that cannot be written, and the editor's buttons.
#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;
using Rows = std::vector<std::vector<std::string>>;

struct Editor : OrvelundTest {
    std::string exe, config;
    Process p;
    HWND editor = nullptr;
    HWND list = nullptr;

    void SetUp() override {
        OrvelundTest::SetUp();
        exe = CopyExe();
        const std::string content = MakeContentFolder(Folder());
        WriteFileBytes(JoinPath(content, "B.jpg"), SolidBitmap(137, 33, RGB(0, 0, 255)));
        WriteFileBytes(JoinPath(content, "app.jpg"), SolidBitmap(624, 213, RGB(240, 240, 240)));
        config = JoinPath(content, "config.ini");
        WriteFileBytes(config, MenuFile({"A,Alpha,a.txt,open", "B,Beta,b.txt,edit", "", "C,Gamma,c.txt,print"}));
        p = Launch(exe, "-setup");
        editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
        ASSERT_NE(editor, nullptr);
        list = FindControl(editor, wizard::sMenuItems);
    }
    bool Press(int id) { return Click(FindControl(editor, id)); }
    std::string File() { return ReadFileBytes(config).value_or("missing"); }
};

TEST_F(Editor, ListShowsEveryEntryAndTheCommandsRearrangeIt) {
    EXPECT_EQ(ListColumns(list), (std::vector<std::string>{"Button", "Label", "File/Folder", "Action", "Image"}));
    EXPECT_EQ(ListRows(list), (Rows{{"A", "Alpha", "a.txt", "open", ""},
                                    {"B", "Beta", "b.txt", "edit", "B.jpg"},
                                    {"C", "Gamma", "c.txt", "print", ""}}));
    EXPECT_EQ(TextOf(FindControl(editor, wizard::sTitle)), "Demo");
    EXPECT_EQ(TextOf(FindControl(editor, wizard::AutoRunReset)), "Create AutoRun");

    ASSERT_TRUE(Press(wizard::AddItem));
    ASSERT_TRUE(WaitUntil([&] { return ListRowCount(list) == 4; }, kWait));
    EXPECT_EQ(ListRows(list)[3], (std::vector<std::string>{"New Button", "", "", "", ""}));
    EXPECT_EQ(ListSelectedRow(list), 3);

    ASSERT_TRUE(ListSelectRow(list, 1));
    ASSERT_TRUE(Press(wizard::MoveDown));
    ASSERT_TRUE(WaitUntil([&] { return ListCell(list, 2, 0) == "B"; }, kWait));
    EXPECT_EQ(ListSelectedRow(list), 2);
    EXPECT_EQ(ListCell(list, 2, 4), "B.jpg");
    ASSERT_TRUE(Press(wizard::MoveUp));
    ASSERT_TRUE(Press(wizard::MoveUp));
    ASSERT_TRUE(WaitUntil([&] { return ListCell(list, 0, 0) == "B"; }, kWait));
    EXPECT_EQ(ListSelectedRow(list), 0);

    ASSERT_TRUE(ListSelectRow(list, 2));
    ASSERT_TRUE(Press(wizard::DeleteItem));
    ASSERT_TRUE(WaitUntil([&] { return ListRowCount(list) == 3; }, kWait));
    EXPECT_EQ(ListRows(list), (Rows{{"B", "Beta", "b.txt", "edit", "B.jpg"},
                                    {"A", "Alpha", "a.txt", "open", ""},
                                    {"New Button", "", "", "", ""}}));
}

TEST_F(Editor, OkSavesTheFileAndRestartsWithTheNewMenu) {
    ASSERT_TRUE(ReplaceEditText(FindControl(editor, wizard::sTitle), "Saved"));
    ASSERT_TRUE(ListSelectRow(list, 2));
    ASSERT_TRUE(Press(wizard::MoveUp));
    ASSERT_TRUE(Press(wizard::AddItem));
    ASSERT_TRUE(WaitUntil([&] { return ListRowCount(list) == 4; }, kWait));
    ASSERT_TRUE(Press(wizard::OKButton));
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    EXPECT_TRUE(MessageBoxIs(box, "Orvelund - Menu Editor",
                             "Your settings have been saved!\r\nThe program will now restart.", {"OK"},
                             Icon::Exclamation));
    EXPECT_EQ(File(), MenuFile({"A,Alpha,a.txt,open", "C,Gamma,c.txt,print", "B,Beta,b.txt,edit", "New Button,,,"},
                               "TITLE:Saved"));
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(p.WaitForExit(kWait));  // the old instance closes itself
    const DWORD restarted = WaitForProcessOf(exe, kWait, {p.Id()});
    ASSERT_NE(restarted, 0u);
    HWND menu = WaitForWindow("Saved", kWait, restarted);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(TextOf(FindControl(menu, LblMenu(1))), "Gamma");
    EXPECT_EQ(ClientSize(menu).cy, Px(6400 - 360));
}

TEST_F(Editor, CancelAfterEditsLeavesTheFileAsItWas) {
    const std::string before = File();
    ASSERT_TRUE(Press(wizard::AddItem));
    ASSERT_TRUE(ListSelectRow(list, 0));
    ASSERT_TRUE(Press(wizard::DeleteItem));
    ASSERT_TRUE(Press(wizard::CancelButton));
    HWND menu = WaitForWindow("Demo", kWait, p.Id());
    EXPECT_NE(menu, nullptr);
    EXPECT_TRUE(WaitForNoWindow("Demo - Menu Editor", kWait, p.Id()));
    EXPECT_EQ(File(), before);
    EXPECT_TRUE(p.Running());
}

TEST_F(Editor, ReadOnlyMenuFileIsNotOverwrittenAndTheEditorStays) {
    const std::string before = File();
    ASSERT_TRUE(SetFileAttributesW(Widen(config).c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(Press(wizard::AddItem));
    ASSERT_TRUE(Press(wizard::OKButton));
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box.icon, Icon::Critical);
    EXPECT_NE(box.text.find("could not be saved"), std::string::npos) << box.text;
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_EQ(File(), before);
    EXPECT_NE(FindWindowByCaption("Demo - Menu Editor", p.Id()), nullptr);
    EXPECT_EQ(ListRowCount(list), 4);  // the edits are still there
    EXPECT_EQ(ProcessesOf(exe).size(), 1u);  // no restart
    SetFileAttributesW(Widen(config).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Editor, ItemEditorEditsOneRow) {
    ASSERT_TRUE(ListDoubleClickRow(list, 1));
    HWND item = WaitForWindow("Demo - Edit Menu Item", kWait, p.Id());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(TextOf(FindControl(item, item::mButton)), "B");
    EXPECT_EQ(TextOf(FindControl(item, item::mAction)), "edit");
    EXPECT_FALSE(Describe(FindControl(item, item::mTest)).enabled);
    ASSERT_TRUE(Click(FindControl(item, item::Refresh)));
    ASSERT_TRUE(WaitUntil([&] { return Describe(FindControl(item, item::mTest)).enabled; }, kWait));
    EXPECT_EQ(PixelAt(FindControl(item, item::mTest), POINT{20, 16}), RGB(0, 0, 255));  // B.jpg previewed

    ASSERT_TRUE(ReplaceEditText(FindControl(item, item::mLabel), "Beta, edited"));
    ASSERT_TRUE(Click(FindControl(item, item::OKButton)));
    MessageBoxInfo refusal = WaitForMessageBox(kWait, p.Id());
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal.text.find("The Label contains a comma (,)"), std::string::npos) << refusal.text;
    ASSERT_TRUE(Answer(refusal, IDOK));

    ASSERT_TRUE(ReplaceEditText(FindControl(item, item::mLabel), "Beta edited"));
    ASSERT_TRUE(Click(FindControl(item, item::OKButton)));
    ASSERT_TRUE(WaitForNoWindow("Demo - Edit Menu Item", kWait, p.Id()));
    EXPECT_EQ(ListRows(list)[1], (std::vector<std::string>{"B", "Beta edited", "b.txt", "edit", "B.jpg"}));
}

TEST_F(Editor, ItemEditorClosesWithTheMenuEditor) {
    ASSERT_TRUE(ListDoubleClickRow(list, 0));
    ASSERT_NE(WaitForWindow("Demo - Edit Menu Item", kWait, p.Id()), nullptr);
    ASSERT_TRUE(Press(wizard::CancelButton));
    EXPECT_TRUE(WaitForNoWindow("Demo - Edit Menu Item", kWait, p.Id()));
    EXPECT_NE(WaitForWindow("Demo", kWait, p.Id()), nullptr);
    EXPECT_TRUE(p.Running());
}

TEST_F(Editor, TestButtonAndTheOpenCommandsReachTheShell) {
    ClearRecorder();
    const std::string content = JoinPath(Folder(), "content");
    ASSERT_TRUE(ListDoubleClickRow(list, 0));
    HWND item = WaitForWindow("Demo - Edit Menu Item", kWait, p.Id());
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(ReplaceEditText(FindControl(item, item::mFileFolder), "content\\app.jpg"));
    // The action box is a combo box: the typing goes to its edit field.
    ASSERT_TRUE(ReplaceEditText(FindWindowExW(FindControl(item, item::mAction), nullptr, L"Edit", nullptr), "edit"));
    ASSERT_TRUE(Click(FindControl(item, item::Refresh)));
    ASSERT_TRUE(WaitUntil([&] { return Describe(FindControl(item, item::mTest)).enabled; }, kWait));
    ASSERT_TRUE(Click(FindControl(item, item::mTest)));
    ASSERT_EQ(WaitForRecordedCalls(1, kWait).size(), 1u);
    ASSERT_TRUE(Click(FindControl(item, item::CancelButton)));
    EXPECT_EQ(ListCell(list, 0, 2), "a.txt");  // trying it out saved nothing

    ASSERT_TRUE(Click(FindControl(editor, wizard::AppImage)));
    ASSERT_EQ(WaitForRecordedCalls(2, kWait).size(), 2u);
    ASSERT_TRUE(Press(wizard::Instructions));
    ASSERT_EQ(WaitForRecordedCalls(3, kWait).size(), 3u);
    ASSERT_TRUE(Press(wizard::Content));
    ASSERT_EQ(WaitForRecordedCalls(4, kWait).size(), 4u);
    ASSERT_TRUE(Press(wizard::Update));
    EXPECT_TRUE(RecorderGot({
        {"edit", JoinPath(content, "app.jpg")},
        {"open", JoinPath(content, "app.jpg")},
        {"open", JoinPath(content, "instructions.htm")},
        {"open", content + "\\"},  // the content folder with its trailing backslash
        {"open", "http://www.orvelund.example/cgi-bin/update.cgi?soft=Orvelund&vers=2.1.1"},
    }));
    EXPECT_TRUE(FileExists(JoinPath(content, "instructions.htm")));  // written before it was opened
}

TEST_F(Editor, CreateAutoRunWritesTheFileAndRenamesTheButton) {
    ASSERT_TRUE(Press(wizard::AutoRunReset));
    ASSERT_TRUE(WaitUntil([&] { return TextOf(FindControl(editor, wizard::AutoRunReset)) == "Update AutoRun"; }, kWait));
    EXPECT_EQ(ReadFileBytes(JoinPath(Folder(), "autorun.inf")),
              std::string("[AutoRun]\r\naction=Orvelund\r\nopen=Orvelund.exe\r\nShellExecute=Orvelund.exe\r\n"
                          "shell\\Run\\command=Orvelund.exe\r\nshell\\Run=Demo\r\nicon=Orvelund.exe,0\r\nlabel=Demo\r\n"));
}

TEST_F(Editor, ReadOnlyAutoRunFileIsRefusedAndKeepsItsContent) {
    const std::string autorun = JoinPath(Folder(), "autorun.inf");
    ASSERT_TRUE(WriteFileBytes(autorun, "[AutoRun]\r\nopen=old.exe\r\n"));
    ASSERT_TRUE(SetFileAttributesW(Widen(autorun).c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(Press(wizard::AutoRunReset));
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    EXPECT_TRUE(MessageBoxIs(box, "Demo - Menu Editor",
                             "The autorun.inf file could not be updated. Please delete autorun.inf manually and "
                             "restart the application.",
                             {"OK"}, Icon::Critical));
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_EQ(ReadFileBytes(autorun), std::string("[AutoRun]\r\nopen=old.exe\r\n"));
    EXPECT_EQ(TextOf(FindControl(editor, wizard::AutoRunReset)), "Update AutoRun");
    SetFileAttributesW(Widen(autorun).c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Editor, ColourDialogCancelChangesNothing) {
    HWND color0 = FindControl(editor, wizard::Color0);
    const COLORREF before = PixelAt(color0, POINT{8, 8});
    ASSERT_TRUE(Click(color0));
    HWND chooser = WaitForColourDialog(p.Id(), editor);
    ASSERT_NE(chooser, nullptr);
    PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }, kWait));
    EXPECT_EQ(PixelAt(color0, POINT{8, 8}), before);
    ASSERT_TRUE(Press(wizard::OKButton));
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_NE(File().find("\r\nBTCOLOR:16435132\r\n"), std::string::npos);
}

}  // namespace
