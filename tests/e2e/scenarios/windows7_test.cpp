// The program as Windows 7 SP1 without KB2533623 runs it (the driver's Windows 7 runs, e2e_win7_*):
// its lookups of what later Windows brought fail, and it starts, decodes its pictures, pages and
// lays its windows out at the system DPI all the same, loading every DLL from the system folder.
#include <algorithm>

#include "Layout.h"
#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

constexpr COLORREF kBlue = RGB(0, 128, 255), kRed = RGB(255, 0, 0);

struct Windows7 : OrvelundTest {
    void SetUp() override {
        OrvelundTest::SetUp();
        if (!AsWindows7()) GTEST_SKIP() << "runs only in the Windows 7 runs (E2E_AS_WINDOWS7=1)";
    }
};

bool Holds(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST_F(Windows7, NewerFunctionsAreRefusedAndTheMenuShowsPagesAndEditsAllTheSame) {
    const std::string exe = CopyExe();
    const std::string content = MakeContentFolder(Folder());
    WriteFileBytes(JoinPath(content, "config.ini"), MenuFile(NumberedEntries(12)));
    WriteFileBytes(JoinPath(content, "app.jpg"), SolidBitmap(624, 213, kBlue));
    WriteFileBytes(JoinPath(content, "B2.jpg"), SolidBitmap(137, 33, kRed));
    Process p = Launch(exe);
    HWND main = WaitForWindow("Demo", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    Sleep(300);
    // The pictures are decoded through the imaging component, loaded by its full System32 path.
    EXPECT_EQ(PixelAt(FindControl(main, kPicture1), POINT{100, 100}), kBlue);
    EXPECT_EQ(PixelAt(FindControl(main, BtnMenu(1)), POINT{5, 5}), kRed);
    EXPECT_TRUE(LaidOutAt(main, MainControls(), ScreenDpi()));

    // Paging shows the picture on the next button up, and the window keeps its layout.
    ASSERT_TRUE(Click(FindControl(main, kBtnNext)));
    ASSERT_TRUE(WaitUntil([&] { return TextOf(FindControl(main, LblMenu(0))) == "Entry 2"; }, kWait));
    EXPECT_EQ(PixelAt(FindControl(main, BtnMenu(0)), POINT{5, 5}), kRed);
    EXPECT_TRUE(LaidOutAt(main, MainControls(), ScreenDpi()));

    ASSERT_TRUE(RightClick(FindControl(main, kPicture1)));
    ASSERT_TRUE(ChooseMenuItem(WaitForPopupMenu(kWait), "Menu Editor"));
    HWND editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(LaidOutAt(editor, EditorControls(), ScreenDpi()));

    // Only now that every window has been laid out: each newer function it asked for was refused.
    const std::vector<std::string> refused = RefusedAsWindows7(p.Id());
    for (const char* name : {"SetDefaultDllDirectories", "LoadLibraryExW with LOAD_LIBRARY_SEARCH_*",
                             "GetDpiForWindow", "AdjustWindowRectExForDpi"})
        EXPECT_TRUE(Holds(refused, name)) << name << " was not asked for, or not refused";

    // Every DLL in the process is a system one: none from the program's folder or the current one.
    EXPECT_TRUE(LoadsOnlySystemDlls(p.Id(), exe));
}

}  // namespace
