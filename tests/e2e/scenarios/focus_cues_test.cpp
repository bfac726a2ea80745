// Focus frames as Windows shows them: none while the mouse is in use, at once after Tab or Alt.
// A dotted focus frame is drawn over the picture and the buttons by inverting pixels, so a frame
// shows as pixels of another colour on a line where the control is all one colour.
#include <windows.h>

#include <memory>

#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

constexpr COLORREF kGreen = RGB(0, 128, 0);

// The user's choice to see focus frames and access keys always (Wine's default), for the tests
// that live, put back afterwards.
class AlwaysShowCues {
public:
    explicit AlwaysShowCues(bool on) {
        SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &old_, 0);
        Set(on);
    }
    ~AlwaysShowCues() { Set(old_); }
    AlwaysShowCues(const AlwaysShowCues&) = delete;
    AlwaysShowCues& operator=(const AlwaysShowCues&) = delete;

private:
    static void Set(BOOL on) {
        SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(static_cast<INT_PTR>(on)),
                              SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    }
    BOOL old_ = FALSE;
};

struct FocusCues : OrvelundTest {
    Process p;
    HWND main = nullptr;
    std::unique_ptr<AlwaysShowCues> cues;
    virtual bool Always() const { return false; }

    void SetUp() override {
        OrvelundTest::SetUp();
        cues = std::make_unique<AlwaysShowCues>(Always());
        const std::string content = MakeContentFolder(Folder());
        // A main picture larger than its box, so that the box shows nothing but green.
        WriteFileBytes(JoinPath(content, "app.jpg"), SolidBitmap(1000, 400, kGreen));
        WriteFileBytes(JoinPath(content, "config.ini"), MenuFile({"B1,Entry 1,x.txt,open", "B2,Entry 2,y.txt,open"}));
        p = Launch(CopyExe());
        main = WaitForWindow("Demo", kWait, p.Id());
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return Focused() == FindControl(main, kPicture1); }, kWait));
        Sleep(300);
    }

    HWND Focused() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) ? info.hwndFocus : nullptr;
    }

    // Pixels on the line `inset` pixels inside the control's top edge that differ from the colour
    // the control has there without a frame (taken `inset + 3` pixels in).
    static int FramePixels(HWND control, int inset) {
        const SIZE size = ClientSize(control);
        const COLORREF ground = PixelAt(control, POINT{inset + 8, inset + 3});
        int odd = 0;
        for (int x = inset + 1; x < size.cx - inset - 1 && x < inset + 61; ++x)
            odd += PixelAt(control, POINT{x, inset}) != ground;
        return odd;
    }
    // The picture box's frame lies one pixel inside its border; a button's three inside its edge.
    int PictureFrame() const { return FramePixels(FindControl(main, kPicture1), 1); }
    int ButtonFrame() const { return FramePixels(FindControl(main, BtnMenu(0)), 3); }

    bool WaitForFocus(HWND control) {
        const bool ok = WaitUntil([&] { return Focused() == control; }, kWait);
        Sleep(300);  // painted
        return ok;
    }
};

TEST_F(FocusCues, NoFrameAtStartTabShowsIt) {
    EXPECT_EQ(PixelAt(FindControl(main, kPicture1), POINT{20, 20}), kGreen);
    EXPECT_EQ(PictureFrame(), 0) << "a focus frame on the main picture before any key was pressed";

    PressKey(VK_TAB);
    ASSERT_TRUE(WaitForFocus(FindControl(main, BtnMenu(0))));
    EXPECT_GE(ButtonFrame(), 20) << "no focus frame on the first button after Tab";
    EXPECT_EQ(PictureFrame(), 0);

    PressKey(VK_TAB, kShift);
    ASSERT_TRUE(WaitForFocus(FindControl(main, kPicture1)));
    EXPECT_GE(PictureFrame(), 20) << "no focus frame on the main picture after Shift+Tab";
    EXPECT_EQ(ButtonFrame(), 0);
}

TEST_F(FocusCues, AltShowsTheFrame) {
    EXPECT_EQ(PictureFrame(), 0);
    PressKey(VK_MENU);
    ASSERT_TRUE(WaitUntil([&] { return PictureFrame() >= 20; }, 3000)) << "no focus frame after Alt";
    PressKey(VK_ESCAPE);
}

struct FocusCuesAlways : FocusCues {
    bool Always() const override { return true; }
};

TEST_F(FocusCuesAlways, TheUsersChoiceToSeeThemAlwaysShowsTheFrameAtStart) {
    EXPECT_GE(PictureFrame(), 20);
}

}  // namespace
