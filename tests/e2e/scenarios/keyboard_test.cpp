// The program without a mouse: the first-run flow, the Menu Editor's buttons, Escape and the
// pop-up menu, all from the keyboard.
#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

struct Keyboard : OrvelundTest {
    void Keys(WORD vk, int times = 1, unsigned modifiers = kNone) {
        for (int i = 0; i < times; ++i) {
            PressKey(vk, modifiers);
            Sleep(60);
        }
    }
    HWND Focused(HWND window) {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
    }
};

TEST_F(Keyboard, FirstRunAddAnEntryAndSaveWithoutTheMouse) {
    const std::string exe = CopyExe();
    Process p = Launch(exe);
    ASSERT_TRUE(WaitForMessageBox(kWait, p.Id()));
    Keys(VK_RETURN);  // Yes is the default answer
    HWND editor = WaitForWindow("Orvelund - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Focused(editor) == FindControl(editor, wizard::sTitle); }, kWait));

    Keys(VK_TAB, 4);  // the title, Update AutoRun (the label is no stop), Instructions, Update, Add Item
    EXPECT_EQ(Focused(editor), FindControl(editor, wizard::AddItem));
    Keys(VK_SPACE);
    HWND list = FindControl(editor, wizard::sMenuItems);
    ASSERT_TRUE(WaitUntil([&] { return ListRowCount(list) == 5; }, kWait));

    Keys(VK_TAB, 3);  // Delete Item, Move Up, Move Down
    EXPECT_EQ(Focused(editor), FindControl(editor, wizard::MoveDown));
    Keys(VK_TAB);
    EXPECT_EQ(Focused(editor), FindControl(editor, wizard::OKButton));
    Keys(VK_RETURN);
    MessageBoxInfo saved = WaitForMessageBox(kWait, p.Id());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved.text, "Your settings have been saved!\r\nThe program will now restart.");
    Keys(VK_RETURN);
    EXPECT_TRUE(p.WaitForExit(kWait));
    const std::string config = ReadFileBytes(JoinPath(Folder(), "content\\config.ini")).value_or("");
    EXPECT_NE(config.find("\r\nNew Button,,,\r\n"), std::string::npos);
    const DWORD restarted = WaitForProcessOf(exe, kWait, {p.Id()});
    ASSERT_NE(restarted, 0u);
    EXPECT_NE(WaitForWindow("Orvelund", kWait, restarted), nullptr);
}

TEST_F(Keyboard, EscapeCancelsTheEditorsAndTheMenuKeyOpensThePopup) {
    const std::string exe = CopyExe();
    const std::string content = MakeContentFolder(Folder());
    WriteFileBytes(JoinPath(content, "config.ini"), MenuFile({"Docs,Read me,manual.pdf,open"}));
    Process p = Launch(exe, "-setup");
    HWND editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Focused(editor) != nullptr; }, kWait));
    Keys(VK_ESCAPE);
    HWND main = WaitForWindow("Demo", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitForNoWindow("Demo - Menu Editor", kWait, p.Id()));

    // The main picture is the first stop: Shift+F10 opens its pop-up.
    ASSERT_TRUE(WaitUntil([&] { return Focused(main) == FindControl(main, kPicture1); }, kWait));
    Keys(VK_F10, 1, kShift);
    PopupMenu menu = WaitForPopupMenu(kWait);
    EXPECT_TRUE(PopupOffers(menu, {"Menu Editor", "Exit"}));
    Keys(VK_DOWN);
    Keys(VK_RETURN);  // the first item: the Menu Editor
    EXPECT_NE(WaitForWindow("Demo - Menu Editor", kWait, p.Id()), nullptr);
}

TEST_F(Keyboard, TheItemEditorsFileAndFolderButtonsComeLastInTheTabOrder) {
    const std::string content = MakeContentFolder(Folder());
    WriteFileBytes(JoinPath(content, "config.ini"), MenuFile({"Docs,Read me,manual.pdf,open"}));
    Process p = Launch(CopyExe(), "-setup");
    HWND editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(ListDoubleClickRow(FindControl(editor, wizard::sMenuItems), 0));
    HWND item = WaitForWindow("Demo - Edit Menu Item", kWait, p.Id());
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Focused(item) == FindControl(item, item::OKButton); }, kWait));
    // OK, Cancel, Button, Label, File / URL Folder, Action, Refresh (the preview is disabled), File..., Folder...
    Keys(VK_TAB, 7);
    EXPECT_EQ(Focused(item), FindControl(item, item::BrowseFile));
    Keys(VK_TAB);
    EXPECT_EQ(Focused(item), FindControl(item, item::BrowseFolder));
    Keys(VK_TAB);
    EXPECT_EQ(Focused(item), FindControl(item, item::OKButton));
    Keys(VK_TAB, 1, kShift);
    ASSERT_EQ(Focused(item), FindControl(item, item::BrowseFolder));
    Keys(VK_SPACE);
    HWND dialog = WaitForWindow("Choose the folder this entry opens", kWait, p.Id(), "#32770");
    ASSERT_NE(dialog, nullptr);
    Keys(VK_ESCAPE);
    EXPECT_TRUE(WaitForNoWindow("Choose the folder this entry opens", kWait, p.Id()));
    EXPECT_EQ(TextOf(FindControl(item, item::mFileFolder)), "manual.pdf");
}

}  // namespace
