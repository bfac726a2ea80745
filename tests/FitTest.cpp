#include <gtest/gtest.h>

#include "platform/Design.h"
#include "platform/MainWindowDesign.h"
#include "platform/SetupWizardDesign.h"

namespace {

constexpr PixelPoint kToolFrame{8, 30};  // a small title bar and thin edges, about 150 %

// True when the window fits at `dpi` and would not at one more.
bool LargestThatFits(int dpi, int clientWidth, int clientHeight, PixelPoint frame, const PixelRect& work) {
    const auto fits = [&](int d) {
        return TwipsToPixels(clientWidth, d) + frame.x <= work.Width() &&
               TwipsToPixels(clientHeight, d) + frame.y <= work.Height();
    };
    return fits(dpi) && !fits(dpi + 1);
}

TEST(FittingDpi, AWindowThatFitsKeepsTheMonitorsDpi) {
    const WindowDesign& main = MainWindowDesign();
    EXPECT_EQ(FittingDpi(96, main.clientWidth, main.clientHeight, kToolFrame, {0, 0, 1366, 728}), 96);
    EXPECT_EQ(FittingDpi(144, main.clientWidth, main.clientHeight, kToolFrame, {0, 0, 1920, 1160}), 144);
    // Exactly as tall as the work area still fits.
    const int tall = TwipsToPixels(main.clientHeight, 120) + kToolFrame.y;
    EXPECT_EQ(FittingDpi(120, main.clientWidth, main.clientHeight, kToolFrame, {0, 0, 1366, tall}), 120);
    EXPECT_EQ(FittingDpi(120, main.clientWidth, main.clientHeight, kToolFrame, {0, 0, 1366, tall - 1}), 119);
    // A larger screen never makes the window larger than the monitor's scale.
    EXPECT_EQ(FittingDpi(96, main.clientWidth, main.clientHeight, kToolFrame, {0, 0, 3840, 2160}), 96);
}

TEST(FittingDpi, ATallWindowIsLaidOutAtTheLargestDpiThatFitsTheHeight) {
    const WindowDesign& main = MainWindowDesign();
    // Ten entries at 150 % on a 1366 x 768 laptop with a 40-pixel taskbar.
    const PixelRect laptop{0, 0, 1366, 728};
    const int dpi = FittingDpi(144, main.clientWidth, main.clientHeight, kToolFrame, laptop);
    EXPECT_EQ(dpi, 96);
    EXPECT_TRUE(LargestThatFits(dpi, main.clientWidth, main.clientHeight, kToolFrame, laptop));
    // A short menu of four entries (6400 twips high outside) fits as it is.
    const int fourEntries = 6400 - kMainFrame.top - kMainFrame.edge;
    EXPECT_EQ(FittingDpi(144, main.clientWidth, fourEntries, kToolFrame, laptop), 144);
    // The work area's place on the virtual screen does not matter, only its size.
    EXPECT_EQ(FittingDpi(144, main.clientWidth, main.clientHeight, kToolFrame, {-1366, 200, 0, 928}), dpi);
}

TEST(FittingDpi, AWideWindowIsLaidOutAtTheLargestDpiThatFitsTheWidth) {
    const WindowDesign& editor = SetupWizardDesign();
    const PixelPoint dialogFrame{12, 40};
    const PixelRect screen{0, 0, 1280, 1024};
    const int dpi = FittingDpi(192, editor.clientWidth, editor.clientHeight, dialogFrame, screen);
    EXPECT_LT(dpi, 192);
    EXPECT_TRUE(LargestThatFits(dpi, editor.clientWidth, editor.clientHeight, dialogFrame, screen));
    EXPECT_LE(TwipsToPixels(editor.clientWidth, dpi) + dialogFrame.x, 1280);
}

TEST(FittingDpi, AScreenTooSmallForAnyReadableLayoutGetsTheSmallest) {
    const WindowDesign& main = MainWindowDesign();
    EXPECT_EQ(FittingDpi(96, main.clientWidth, main.clientHeight, kToolFrame, {0, 0, 320, 240}), kMinLayoutDpi);
    EXPECT_EQ(FittingDpi(96, main.clientWidth, main.clientHeight, kToolFrame, {0, 0, 0, 0}), kMinLayoutDpi);
    // A monitor below the smallest layout DPI keeps its own.
    EXPECT_EQ(FittingDpi(30, main.clientWidth, main.clientHeight, kToolFrame, {0, 0, 320, 240}), 30);
}

TEST(Placement, CentredInTheWorkArea) {
    const PixelPoint p = CentredIn({0, 0, 1366, 728}, 640, 501);
    EXPECT_EQ(p.x, 363);
    EXPECT_EQ(p.y, 113);
    // A work area that does not start at the screen's corner: a taskbar at the top, a second monitor.
    const PixelPoint q = CentredIn({1920, 40, 3200, 1024}, 600, 400);
    EXPECT_EQ(q.x, 1920 + 340);
    EXPECT_EQ(q.y, 40 + 292);
}

TEST(Placement, AWindowLargerThanTheWorkAreaKeepsItsTitleBarOnIt) {
    const PixelPoint p = CentredIn({0, 30, 800, 600}, 900, 700);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 30);
    const PixelPoint q = KeptInside({0, 30, 800, 600}, {-50, -25}, 900, 700);
    EXPECT_EQ(q.x, 0);
    EXPECT_EQ(q.y, 30);
    const PixelPoint r = KeptInside({0, 30, 800, 600}, {300, 400}, 900, 700);
    EXPECT_EQ(r.x, 0);
    EXPECT_EQ(r.y, 30);
}

TEST(Placement, AWindowAtAFixedPlaceMovesOnlyWhenItLeavesTheWorkArea) {
    const PixelRect work{0, 0, 1280, 680};
    const PixelPoint inside = KeptInside(work, {184, 248}, 406, 240);
    EXPECT_EQ(inside.x, 184);
    EXPECT_EQ(inside.y, 248);
    // Past the lower right corner: moved up and left just enough.
    const PixelPoint low = KeptInside(work, {1000, 500}, 406, 240);
    EXPECT_EQ(low.x, 1280 - 406);
    EXPECT_EQ(low.y, 680 - 240);
    // Above and left of it: moved down and right onto it.
    const PixelPoint high = KeptInside({100, 50, 1380, 730}, {20, 10}, 406, 240);
    EXPECT_EQ(high.x, 100);
    EXPECT_EQ(high.y, 50);
}

}  // namespace
