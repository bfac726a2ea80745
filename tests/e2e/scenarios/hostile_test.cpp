// Folders a stranger hands over: DLLs planted beside the program or in the current folder, and
// folder names outside the system's code page on a long path.
#include <cstdlib>
#include <memory>

#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

// System DLL names a planted copy could try to pass for: DLLs that Windows' own components load
// by name and that are no KnownDLLs, so Windows looks for them in the program's folder first
// unless the program says otherwise. (Not version.dll: Wine's user32 loads that one before the
// program's first line, which Windows' user32 does not.)
const char* kPlanted[] = {"windowscodecs.dll", "uxtheme.dll", "shcore.dll", "dwmapi.dll", "msimg32.dll",
                          "cryptbase.dll", "propsys.dll", "comctl32.dll", "dbghelp.dll", "oleacc.dll"};

// Wine takes its own copy of a system DLL even when the search found another file first, where
// Windows takes the file found. For Orvelund.exe and these names, have Wine take the file found
// too, as Windows does ("native,builtin": that file, or Wine's own where the file found is Wine's
// placeholder in System32), for the programs started while this lives.
class LoadAsWindowsDoes {
public:
    LoadAsWindowsDoes() {
        for (const char* name : kPlanted) {
            std::wstring base = Widen(name);
            base.erase(base.size() - 4);  // ".dll"
            settings_.push_back(std::make_unique<UserSetting>(L"Software\\Wine\\AppDefaults\\Orvelund.exe\\DllOverrides",
                                                              base, L"native,builtin"));
        }
    }

private:
    std::vector<std::unique_ptr<UserSetting>> settings_;
};

struct Hostile : OrvelundTest {};

TEST_F(Hostile, DllsPlantedBesideTheProgramOrInTheCurrentFolderAreNeverLoaded) {
    const std::string planted = WinPathFromUnix(std::getenv("E2E_PLANTED_DLL") ? std::getenv("E2E_PLANTED_DLL") : "");
    ASSERT_TRUE(FileExists(planted));
    const std::string exe = CopyExe();
    const std::string content = JoinPath(Folder(), "content");
    const std::string current = JoinPath(Folder(), "current");
    CreateDirectoryW(Widen(content).c_str(), nullptr);
    CreateDirectoryW(Widen(current).c_str(), nullptr);
    WriteFileBytes(JoinPath(content, "config.ini"), MenuFile({"Guide,Read me," + JoinPath(content, "guide.htm") + ",open"}));
    WriteFileBytes(JoinPath(content, "guide.htm"), "<html></html>");
    WriteFileBytes(JoinPath(content, "app.jpg"), SolidBitmap(624, 213, RGB(0, 128, 255)));
    for (const char* name : kPlanted) {
        ASSERT_TRUE(CopyFileTo(planted, JoinPath(Folder(), name)));
        ASSERT_TRUE(CopyFileTo(planted, JoinPath(current, name)));
    }
    LoadAsWindowsDoes windowsLoader;
    Process p = Launch(exe, "", current);
    HWND main = WaitForWindow("Demo", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    Sleep(300);
    EXPECT_EQ(PixelAt(FindControl(main, kPicture1), POINT{100, 100}), RGB(0, 128, 255));  // pictures decode
    // What a session brings in: an entry opened through the shell, the Menu Editor and the colour
    // dialog.
    ClearRecorder();
    ASSERT_TRUE(Click(FindControl(main, BtnMenu(0))));
    EXPECT_EQ(WaitForRecordedCalls(1, kWait).size(), 1u);
    ASSERT_TRUE(RightClick(FindControl(main, kPicture1)));
    ASSERT_TRUE(ChooseMenuItem(WaitForPopupMenu(kWait), "Menu Editor"));
    HWND editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(Click(FindControl(editor, wizard::Color0)));
    HWND chooser = WaitForColourDialog(p.Id(), editor);
    ASSERT_NE(chooser, nullptr);
    PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }, kWait));
    EXPECT_TRUE(LoadsOnlySystemDlls(p.Id(), exe));
    for (const char* name : kPlanted) {
        EXPECT_FALSE(FileExists(JoinPath(Folder(), std::string(name) + ".loaded"))) << name;
        EXPECT_FALSE(FileExists(JoinPath(current, std::string(name) + ".loaded"))) << name;
    }
}

TEST_F(Hostile, FolderNamesOutsideTheCodePageOnALongPathStartShowAndSave) {
    std::string folder = Folder();
    for (const char* part : {"\xce\x9c\xce\xb5\xce\xbd\xce\xbf\xcf\x8d \xe8\x8f\x9c\xe5\x8d\x95",  // Greek and Chinese
                             "a-folder-name-that-goes-on-for-a-while-to-make-the-path-long",
                             "another-folder-name-that-goes-on-for-a-while-as-well-0123456789"}) {
        folder = JoinPath(folder, part);
        ASSERT_TRUE(CreateDirectoryW(Widen(folder).c_str(), nullptr)) << folder;
    }
    ASSERT_GT(folder.size(), 200u);
    const std::string exe = JoinPath(folder, "Orvelund.exe");
    ASSERT_TRUE(CopyFileTo(OrvelundExe(), exe));
    Process p = Start(exe);
    MessageBoxInfo question = WaitForMessageBox(kWait, p.Id());
    EXPECT_TRUE(MessageBoxIs(question, "Orvelund - Setup Wizard", FirstRunPrompt(folder), {"Yes", "No", "Cancel"},
                             Icon::None));
    ASSERT_TRUE(Answer(question, IDYES));
    HWND editor = WaitForWindow("Orvelund - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(ReplaceEditText(FindControl(editor, wizard::sTitle), "Far away"));
    ASSERT_TRUE(Click(FindControl(editor, wizard::OKButton)));
    MessageBoxInfo saved = WaitForMessageBox(kWait, p.Id());
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved.icon, Icon::Exclamation) << saved.text;
    ASSERT_TRUE(Answer(saved, IDOK));
    const DWORD restarted = WaitForProcessOf(exe, kWait, {p.Id()});
    ASSERT_NE(restarted, 0u);
    HWND menu = WaitForWindow("Far away", kWait, restarted);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(TextOf(FindControl(menu, LblMenu(2))), "Explore Files");
    KillAll(exe);
}

}  // namespace
