// The windows on screens smaller than they are at the system's scale. Every window stands centred
// in the work area on its final size (the relocation window at its own place), lies wholly inside
// it with every control it shows, and is laid out as one at a DPI no larger than the screen's: at
// the screen's own where it fits, else at the largest that fits. A long menu still pages to its
// last entry; another resolution or monitor lays the window out again. The session's screen size
// decides what is checked: run it through tests/e2e/on-screen for a small screen.
#include <windows.h>

#include <sstream>

#include "Layout.h"
#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

// The folder list and the drive list size their height by their rows, so only the buttons.
std::vector<Twips> ChooseControls() {
    using namespace choose;
    return {{OKButton, 3360, 0, 1215, 375}, {CancelButton, 4680, 0, 1215, 375}};
}

std::string Str(const RECT& r) {
    std::ostringstream s;
    s << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
    return s.str();
}

RECT WorkAreaOf(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

struct Fit : OrvelundTest, ::testing::WithParamInterface<int> {
    std::string exe;
    void SetUp() override {
        OrvelundTest::SetUp();
        const std::string content = MakeContentFolder(Folder());
        WriteFileBytes(JoinPath(content, "config.ini"), MenuFile(NumberedEntries(12)));
        exe = CopyExe();
    }

    // The DPI the window is laid out at: the one at which every listed control stands where its
    // twips put it; 0 when there is none.
    static int LayoutDpi(HWND window, const std::vector<Twips>& controls, int dpi) {
        std::vector<RECT> rects;  // read once: reading across processes is slow
        for (const Twips& t : controls) rects.push_back(Describe(FindControl(window, t.id)).rect);
        for (int d = dpi; d >= 24; --d) {
            bool all = true;
            for (size_t i = 0; i < controls.size() && all; ++i) {
                const RECT want = RectAt(controls[i], d);
                all = EqualRect(&rects[i], &want) != 0;
            }
            if (all) return d;
        }
        return 0;
    }

    // The window lies inside the work area with every control it shows, and is laid out at the
    // screen's DPI when it fits at it, else at the largest DPI at which it fits.
    static ::testing::AssertionResult Fits(HWND window, const std::vector<Twips>& controls, int clientWidth,
                                           int clientHeight, int dpi, int* layoutDpi = nullptr) {
        const RECT work = WorkAreaOf(window);
        const RECT outer = ScreenRectOf(window);
        RECT inside;
        if (!IntersectRect(&inside, &outer, &work) || !EqualRect(&inside, &outer))
            return ::testing::AssertionFailure() << "window " << Str(outer) << " leaves the work area " << Str(work);
        // What the window shows of each control: the main window hides the rows a short menu does
        // not use below its lower edge.
        POINT corner{0, 0};
        ClientToScreen(window, &corner);
        const SIZE size = ClientSize(window);
        const RECT clientArea{corner.x, corner.y, corner.x + size.cx, corner.y + size.cy};
        for (const Control& c : Controls(window)) {
            RECT shown;
            if (!c.visible || !IntersectRect(&shown, &c.screenRect, &clientArea)) continue;
            if (!IntersectRect(&inside, &shown, &work) || !EqualRect(&inside, &shown))
                return ::testing::AssertionFailure() << "control " << c.id << " " << Str(c.screenRect)
                                                     << " leaves the work area " << Str(work);
        }
        const int d = LayoutDpi(window, controls, dpi);
        if (layoutDpi) *layoutDpi = d;
        if (d == 0) return ::testing::AssertionFailure() << "the controls are not laid out at one DPI up to " << dpi;
        const SIZE client = ClientSize(window);
        const int frameX = (outer.right - outer.left) - client.cx, frameY = (outer.bottom - outer.top) - client.cy;
        const auto fitsAt = [&](int at) {
            return PxAt(clientWidth, at) + frameX <= work.right - work.left &&
                   PxAt(clientHeight, at) + frameY <= work.bottom - work.top;
        };
        if (client.cx != PxAt(clientWidth, d) || client.cy != PxAt(clientHeight, d))
            return ::testing::AssertionFailure() << "client area " << client.cx << " x " << client.cy
                                                 << " is not the design's at " << d << " dpi";
        if (d < dpi && fitsAt(d + 1))
            return ::testing::AssertionFailure() << "laid out at " << d << " dpi though it fits at " << d + 1;
        return ::testing::AssertionSuccess();
    }

    static ::testing::AssertionResult Centred(HWND window) {
        const RECT work = WorkAreaOf(window), r = ScreenRectOf(window);
        const int x = work.left + ((work.right - work.left) - (r.right - r.left)) / 2;
        const int y = work.top + ((work.bottom - work.top) - (r.bottom - r.top)) / 2;
        if (std::abs(r.left - x) <= 1 && std::abs(r.top - y) <= 1) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "window " << Str(r) << " is not centred in " << Str(work);
    }

    // The whole screen, to see where the window stands.
    void Shot(const std::string& name) {
        Sleep(300);
        SaveScreenshot(JoinPath(ArtifactsFolder(), "fit-" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
                                                       std::to_string(GetSystemMetrics(SM_CYSCREEN)) + "-" +
                                                       std::to_string(GetParam()) + "-" + name + ".bmp"));
    }
};

TEST_P(Fit, TheMenuFitsIsCentredAndPagesToItsLastEntry) {
    const int dpi = GetParam();
    UserSetting scale(L"Control Panel\\Desktop", L"LogPixels", static_cast<DWORD>(dpi));
    Process p = Launch(exe);
    HWND main = WaitForWindow("Demo", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    int layout = 0;
    EXPECT_TRUE(Fits(main, MainControls(), 9330, 10440, dpi, &layout));
    EXPECT_TRUE(Centred(main));
    // Fonts and pictures go with the layout.
    EXPECT_EQ(FontHeightOf(FindControl(main, LblMenu(0))), FontHeightAt(9.75, layout));
    std::cout << "main window at " << dpi << " dpi on " << GetSystemMetrics(SM_CXSCREEN) << " x "
              << GetSystemMetrics(SM_CYSCREEN) << ": " << Str(ScreenRectOf(main)) << ", laid out at " << layout
              << " dpi\n";
    Shot("main");

    // Next, with a real click, until the last entry is in view.
    HWND next = FindControl(main, kBtnNext);
    for (int page = 0; page < 2; ++page) {
        ASSERT_TRUE(Describe(next).visible) << "page " << page;
        ASSERT_TRUE(Click(next));
        const std::string want = "Entry " + std::to_string(page + 2);
        ASSERT_TRUE(WaitUntil([&] { return TextOf(FindControl(main, LblMenu(0))) == want; }, kWait));
    }
    EXPECT_FALSE(Describe(next).visible);
    EXPECT_EQ(TextOf(FindControl(main, LblMenu(9))), "Entry 12");
    EXPECT_TRUE(Fits(main, MainControls(), 9330, 10440, dpi));
}

TEST_P(Fit, AShortMenuIsCentredOnItsOwnHeightAtFullScale) {
    const int dpi = GetParam();
    WriteFileBytes(JoinPath(Folder(), "content\\config.ini"),
                   MenuFile({"B1,Entry 1,x.txt,open", "B2,Entry 2,y.txt,open"}));
    UserSetting scale(L"Control Panel\\Desktop", L"LogPixels", static_cast<DWORD>(dpi));
    Process p = Launch(exe);
    HWND main = WaitForWindow("Demo", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    // Two entries make the window 5000 twips high, which fits on these screens at every scale.
    const std::vector<Twips> shown{{kPicture1, 0, 0, 9330, 3135},
                                   {BtnMenu(0), 480, 3240, 2055, 495},
                                   {LblMenu(1), 2760, 3360 + 720, 6135, 255}};
    EXPECT_TRUE(Fits(main, shown, 9330, 5000 - 360, dpi));
    EXPECT_EQ(LayoutDpi(main, shown, dpi), dpi);
    EXPECT_TRUE(Centred(main));
}

TEST_P(Fit, TheEditorsFitAndAreCentred) {
    const int dpi = GetParam();
    UserSetting scale(L"Control Panel\\Desktop", L"LogPixels", static_cast<DWORD>(dpi));
    Process p = Launch(exe, "/-setup");
    HWND editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(Fits(editor, EditorControls(), 11790, 5730, dpi));
    EXPECT_TRUE(Centred(editor));
    Shot("editor");

    ASSERT_TRUE(ListDoubleClickRow(FindControl(editor, wizard::sMenuItems), 0));
    HWND item = WaitForWindow("Demo - Edit Menu Item", kWait, p.Id());
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(Fits(item, ItemControls(), 7455, 3165, dpi));
    EXPECT_TRUE(Centred(item));
    Shot("item");

    ASSERT_TRUE(Click(FindControl(editor, wizard::CheckMedium)));
    HWND check = WaitForWindow("Demo - Check Medium", kWait, p.Id());
    ASSERT_NE(check, nullptr);
    EXPECT_TRUE(Fits(check, CheckControls(), 9255, 5895, dpi));
    EXPECT_TRUE(Centred(check));
    Shot("check");
}

TEST_P(Fit, TheRelocationWindowFitsAtItsOwnPlace) {
    const int dpi = GetParam();
    UserSetting scale(L"Control Panel\\Desktop", L"LogPixels", static_cast<DWORD>(dpi));
    Process p = Launch(CopyExe("Orvelund.exe", "fresh"));
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    ASSERT_TRUE(box);
    ASSERT_TRUE(Answer(box, IDNO));
    HWND window = WaitForWindow("Choose New or Existing Location", kWait, p.Id());
    ASSERT_NE(window, nullptr);
    int layout = 0;
    EXPECT_TRUE(Fits(window, ChooseControls(), 6030, 3195, dpi, &layout));
    // Its client area stands at its design place, from the screen's corner, unless that would
    // put part of it off the work area.
    POINT client{0, 0};
    ClientToScreen(window, &client);
    const RECT work = WorkAreaOf(window), outer = ScreenRectOf(window);
    const int atX = PxAt(2760, layout), atY = PxAt(3720, layout);
    const bool designFits = outer.right - client.x + atX <= work.right && outer.bottom - client.y + atY <= work.bottom;
    if (designFits) {
        EXPECT_EQ(client.x, atX);
        EXPECT_EQ(client.y, atY);
    } else {
        EXPECT_TRUE(outer.right == work.right || outer.bottom == work.bottom) << Str(outer) << " in " << Str(work);
    }
    Shot("relocation");
}

// The screen at another resolution while this lives (Wine's desktop changes its size).
class ScreenMode {
public:
    ScreenMode(int width, int height) {
        // A mode the display lists, in full (depth and frequency of the current one), rather
        // than a size for the system to complete from whatever it reads as current at that moment.
        DEVMODEW current{};
        current.dmSize = sizeof(current);
        if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &current)) return;
        DEVMODEW mode{};
        mode.dmSize = sizeof(mode);
        bool listed = false;
        for (DWORD i = 0; !listed && EnumDisplaySettingsW(nullptr, i, &mode); ++i)
            listed = mode.dmPelsWidth == static_cast<DWORD>(width) && mode.dmPelsHeight == static_cast<DWORD>(height) &&
                     mode.dmBitsPerPel == current.dmBitsPerPel;
        if (!listed) {
            result_ = DISP_CHANGE_BADMODE;
            return;
        }
        mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
        result_ = ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
        ok_ = result_ == DISP_CHANGE_SUCCESSFUL;
    }
    ~ScreenMode() {
        if (ok_) ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);
    }
    ScreenMode(const ScreenMode&) = delete;
    ScreenMode& operator=(const ScreenMode&) = delete;
    bool ok() const { return ok_; }
    LONG result() const { return result_; }  // DISP_CHANGE_*

private:
    bool ok_ = false;
    LONG result_ = DISP_CHANGE_FAILED;
};

TEST_P(Fit, AnotherResolutionOrMonitorLaysTheMenuOutAgain) {
    const int dpi = GetParam();
    if (dpi != 144) GTEST_SKIP() << "once is enough: at 150 %, where the window is smaller than its scale";
    UserSetting scale(L"Control Panel\\Desktop", L"LogPixels", static_cast<DWORD>(dpi));
    Process p = Launch(exe);
    HWND main = WaitForWindow("Demo", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    int before = 0, now = 0;
    ASSERT_TRUE(Fits(main, MainControls(), 9330, 10440, dpi, &before));
    {
        ScreenMode small(800, 600);
        ASSERT_TRUE(small.ok()) << "ChangeDisplaySettingsEx gave " << small.result();
        EXPECT_TRUE(WaitUntil([&] { return bool(Fits(main, MainControls(), 9330, 10440, dpi, &now)); }, kWait))
            << Fits(main, MainControls(), 9330, 10440, dpi);
        EXPECT_LT(now, before);
    }
    // Back at the session's resolution, the window grows back to what it was.
    EXPECT_TRUE(WaitUntil([&] { return bool(Fits(main, MainControls(), 9330, 10440, dpi, &now)); }, kWait))
        << Fits(main, MainControls(), 9330, 10440, dpi);
    EXPECT_EQ(now, before);

    // Windows 7 has one scale for every monitor: a window never moves to another scale there.
    if (AsWindows7()) return;
    // Dragged onto a monitor at 100 %: laid out at 96 dpi where it fits so, else at the largest
    // that fits; and back.
    ASSERT_TRUE(SendDpiChanged(main, 96, dpi));
    EXPECT_TRUE(Fits(main, MainControls(), 9330, 10440, 96, &now));
    ASSERT_TRUE(SendDpiChanged(main, dpi, 96));
    EXPECT_TRUE(Fits(main, MainControls(), 9330, 10440, dpi, &now));
    EXPECT_EQ(now, before);
}

INSTANTIATE_TEST_SUITE_P(Dpi, Fit, ::testing::Values(96, 120, 144));

}  // namespace
