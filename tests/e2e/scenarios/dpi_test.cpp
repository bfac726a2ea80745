// The windows at 100, 125, 150 and 200 % scale: every control where its twips put it at that DPI,
// fonts and pictures scaled with it, and the same again when the scale changes while the window
// is open. Screenshots of each go to the artifacts folder as dpi-<dpi>-main.bmp,
// dpi-<dpi>-editor.bmp and dpi-<dpi>-item.bmp.
#include <windows.h>
#include <commctrl.h>

#include "Layout.h"
#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

constexpr COLORREF kGreen = RGB(0, 128, 0);

// Whether the window's process declared per-monitor awareness, so that Windows neither stretches
// its bitmap nor keeps it at the system scale on another monitor. (Wine 8 reports version 1 and
// 2 alike, so the version is not told apart here.)
bool PerMonitorAware(HWND window) {
    using GetContext = DPI_AWARENESS_CONTEXT(WINAPI*)(HWND);
    using GetAwareness = DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto context = reinterpret_cast<GetContext>(reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
    auto awareness = reinterpret_cast<GetAwareness>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    return context && awareness && awareness(context(window)) == DPI_AWARENESS_PER_MONITOR_AWARE;
}

struct Scaling : OrvelundTest, ::testing::WithParamInterface<int> {
    std::string exe;
    void SetUp() override {
        OrvelundTest::SetUp();
        const std::string content = MakeContentFolder(Folder());
        // A main picture far smaller than the picture box, so that its scaled edge can be found.
        WriteFileBytes(JoinPath(content, "app.jpg"), SolidBitmap(100, 60, kGreen));
        WriteFileBytes(JoinPath(content, "config.ini"), MenuFile(NumberedEntries(12)));
        exe = CopyExe();
    }
    // The main picture is drawn from the box's corner at 100 x 60 pixels scaled to the DPI.
    static ::testing::AssertionResult PictureScaledTo(HWND main, int dpi) {
        HWND box = FindControl(main, kPicture1);
        const int w = MulDiv(100, dpi, 96), h = MulDiv(60, dpi, 96);
        const COLORREF inside = PixelAt(box, POINT{w - 1, h - 1}), right = PixelAt(box, POINT{w + 1, h / 2}),
                       below = PixelAt(box, POINT{w / 2, h + 1});
        if (inside == kGreen && right != kGreen && below != kGreen) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the 100 x 60 picture is not " << w << " x " << h << " pixels at " << dpi
                                             << " dpi";
    }
};

TEST_P(Scaling, WindowsKeepTheirTwipsProportionsAtTheSystemScale) {
    const int dpi = GetParam();
    // The scale the programs started from now on see (the prefix's "LogPixels").
    UserSetting scale(L"Control Panel\\Desktop", L"LogPixels", static_cast<DWORD>(dpi));
    Process p = Launch(exe);
    HWND main = WaitForWindow("Demo", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    // Windows 7 knows only the system DPI; there the manifest's per-monitor awareness means nothing.
    if (!AsWindows7()) {
        EXPECT_TRUE(PerMonitorAware(main));
    }
    EXPECT_TRUE(LaidOutAt(main, MainControls(), dpi));
    EXPECT_EQ(ClientSize(main).cx, PxAt(9330, dpi));
    EXPECT_EQ(ClientSize(main).cy, PxAt(10800 - 360, dpi));
    EXPECT_EQ(FontHeightOf(FindControl(main, LblMenu(0))), FontHeightAt(9.75, dpi));
    EXPECT_EQ(FontHeightOf(FindControl(main, BtnMenu(0))), FontHeightAt(8.25, dpi));
    EXPECT_TRUE(PictureScaledTo(main, dpi));
    Sleep(500);  // the frame is drawn after the client area
    EXPECT_TRUE(SaveScreenshot(JoinPath(ArtifactsFolder(), "dpi-" + std::to_string(dpi) + "-main.bmp"), main));

    Process q = Launch(exe, "/-setup");
    HWND editor = WaitForWindow("Demo - Menu Editor", kWait, q.Id());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(LaidOutAt(editor, EditorControls(), dpi));
    EXPECT_EQ(ClientSize(editor).cx, PxAt(11790, dpi));
    EXPECT_EQ(ClientSize(editor).cy, PxAt(5730, dpi));
    HWND list = FindControl(editor, wizard::sMenuItems);
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), PxAt(3200, dpi));  // "Label"
    EXPECT_EQ(FontHeightOf(list), FontHeightAt(8.25, dpi));
    Sleep(500);
    EXPECT_TRUE(SaveScreenshot(JoinPath(ArtifactsFolder(), "dpi-" + std::to_string(dpi) + "-editor.bmp"), editor));

    ASSERT_TRUE(ListDoubleClickRow(list, 0));
    HWND item = WaitForWindow("Demo - Edit Menu Item", kWait, q.Id());
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(LaidOutAt(item, ItemControls(), dpi));
    EXPECT_EQ(ClientSize(item).cx, PxAt(7455, dpi));
    EXPECT_EQ(ClientSize(item).cy, PxAt(3165, dpi));
    ClickAt(item, POINT{2, 2});  // the pointer off the list, so that its tool tip goes
    Sleep(500);
    EXPECT_TRUE(SaveScreenshot(JoinPath(ArtifactsFolder(), "dpi-" + std::to_string(dpi) + "-item.bmp"), item));

    ASSERT_TRUE(Click(FindControl(editor, wizard::CheckMedium)));
    HWND check = WaitForWindow("Demo - Check Medium", kWait, q.Id());
    ASSERT_NE(check, nullptr);
    EXPECT_TRUE(LaidOutAt(check, CheckControls(), dpi));
    EXPECT_EQ(ClientSize(check).cx, PxAt(9255, dpi));
    EXPECT_EQ(ClientSize(check).cy, PxAt(5895, dpi));
    EXPECT_EQ(SendMessageW(FindControl(check, check::lvFindings), LVM_GETCOLUMNWIDTH, 2, 0), PxAt(5160, dpi));
    Sleep(500);
    EXPECT_TRUE(SaveScreenshot(JoinPath(ArtifactsFolder(), "dpi-" + std::to_string(dpi) + "-check.bmp"), check));
}

INSTANTIATE_TEST_SUITE_P(Dpi, Scaling, ::testing::Values(96, 120, 144, 192));

using ScaleChange = Scaling;

TEST_F(ScaleChange, OpenWindowsLayThemselvesOutAgainWhenTheScaleChanges) {
    if (AsWindows7()) GTEST_SKIP() << "Windows 7 has one scale for every monitor and never changes it under a window";
    Process p = Launch(exe);
    HWND main = WaitForWindow("Demo", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    const int from = ScreenDpi();
    ASSERT_TRUE(SendDpiChanged(main, 144, from));
    EXPECT_TRUE(LaidOutAt(main, MainControls(), 144));
    EXPECT_EQ(ClientSize(main).cx, PxAt(9330, 144));
    EXPECT_EQ(ClientSize(main).cy, PxAt(10800 - 360, 144));  // the height the menu gave it, at the new scale
    EXPECT_EQ(FontHeightOf(FindControl(main, LblMenu(0))), FontHeightAt(9.75, 144));
    EXPECT_TRUE(PictureScaledTo(main, 144));
    // The view still works at the new scale.
    ASSERT_TRUE(Click(FindControl(main, kBtnNext)));
    ASSERT_TRUE(WaitUntil([&] { return TextOf(FindControl(main, LblMenu(0))) == "Entry 2"; }, kWait));
    EXPECT_TRUE(LaidOutAt(main, MainControls(), 144));

    ASSERT_TRUE(SendDpiChanged(main, from, 144));
    EXPECT_TRUE(LaidOutAt(main, MainControls(), from));
    EXPECT_EQ(ClientSize(main).cy, PxAt(10800 - 360, from));

    Process q = Launch(exe, "/-setup");
    HWND editor = WaitForWindow("Demo - Menu Editor", kWait, q.Id());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(SendDpiChanged(editor, 192, from));
    EXPECT_TRUE(LaidOutAt(editor, EditorControls(), 192));
    EXPECT_EQ(SendMessageW(FindControl(editor, wizard::sMenuItems), LVM_GETCOLUMNWIDTH, 1, 0), PxAt(3200, 192));
    EXPECT_EQ(FontHeightOf(FindControl(editor, wizard::sTitle)), FontHeightAt(9.75, 192));

    ASSERT_TRUE(Click(FindControl(editor, wizard::CheckMedium)));
    HWND check = WaitForWindow("Demo - Check Medium", kWait, q.Id());
    ASSERT_NE(check, nullptr);
    ASSERT_TRUE(SendDpiChanged(check, 144, ScreenDpi()));
    EXPECT_TRUE(LaidOutAt(check, CheckControls(), 144));
    EXPECT_EQ(SendMessageW(FindControl(check, check::lvFindings), LVM_GETCOLUMNWIDTH, 2, 0), PxAt(5160, 144));
}

}  // namespace
