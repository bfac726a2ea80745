// What a screen reader reads from the program's windows, through the accessibility interface,
// and how the windows look under a dark high-contrast colour scheme.
#include <deque>

#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

constexpr COLORREF kRed = RGB(255, 0, 0);

struct ScreenReader : OrvelundTest {
    std::string exe;
    void SetUp() override {
        OrvelundTest::SetUp();
        const std::string content = MakeContentFolder(Folder());
        WriteFileBytes(JoinPath(content, "Pic.jpg"), SolidBitmap(137, 33, kRed));
        std::vector<std::string> entries;
        for (int i = 0; i < 12; ++i)
            entries.push_back(i == 1 ? "Pic,With picture,x.txt,open" : "E" + std::to_string(i) + ",Entry,x.txt,open");
        WriteFileBytes(JoinPath(content, "config.ini"), MenuFile(entries));
        exe = CopyExe();
    }
    static std::string Name(HWND control) { return Accessible(control).name; }
};

TEST_F(ScreenReader, PictureOnlyButtonsAndArrowsAreNamed) {
    Process p = Launch(exe);
    HWND main = WaitForWindow("Demo", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    HWND pictureButton = FindControl(main, BtnMenu(1));
    ASSERT_TRUE(Accessible(pictureButton).ok);
    EXPECT_EQ(Name(pictureButton), "Pic");  // its Button, though it shows only its picture
    // The window is found once it is visible; its buttons paint a moment later.
    EXPECT_TRUE(WaitUntil([&] { return PixelAt(pictureButton, POINT{20, 16}) == kRed; }, kWait));
    EXPECT_EQ(Name(FindControl(main, BtnMenu(0))), "E0");
    EXPECT_EQ(Name(FindControl(main, LblMenu(1))), "With picture");
    EXPECT_EQ(Name(FindControl(main, kBtnNext)), "Next");
    EXPECT_EQ(Name(FindControl(main, kBtnPrev)), "Previous");

    // The names follow the entries when the view moves.
    ASSERT_TRUE(Click(FindControl(main, kBtnNext)));
    ASSERT_TRUE(WaitUntil([&] { return Name(FindControl(main, BtnMenu(0))) == "Pic"; }, kWait));
    EXPECT_EQ(Name(FindControl(main, BtnMenu(1))), "E2");
}

TEST_F(ScreenReader, EditorArrowsPreviewAndListHeadersAreNamed) {
    Process p = Launch(exe, "/-setup");
    HWND editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(Name(FindControl(editor, wizard::MoveUp)), "Move Up");
    EXPECT_EQ(Name(FindControl(editor, wizard::MoveDown)), "Move Down");
    EXPECT_EQ(Name(FindControl(editor, wizard::AddItem)), "Add Item");
    HWND list = FindControl(editor, wizard::sMenuItems);
    EXPECT_TRUE(Accessible(list).ok);
    EXPECT_EQ(ListColumns(list), (std::vector<std::string>{"Button", "Label", "File/Folder", "Action", "Image"}));

    // The item editor's preview shows only the picture and is named after the entry's Button.
    ASSERT_TRUE(ListDoubleClickRow(list, 1));
    HWND item = WaitForWindow("Demo - Edit Menu Item", kWait, p.Id());
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(Click(FindControl(item, item::Refresh)));
    HWND preview = FindControl(item, item::mTest);
    ASSERT_TRUE(WaitUntil([&] { return PixelAt(preview, POINT{20, 16}) == kRed; }, kWait));
    EXPECT_EQ(Name(preview), "Pic");

    // The check window's list and commands. (Windows names a list or a text box by the label
    // before it, which each has; Wine's accessibility layer does not look for labels.)
    ASSERT_TRUE(Click(FindControl(editor, wizard::CheckMedium)));
    HWND check = WaitForWindow("Demo - Check Medium", kWait, p.Id());
    ASSERT_NE(check, nullptr);
    HWND findings = FindControl(check, check::lvFindings);
    EXPECT_TRUE(Accessible(findings).ok);
    EXPECT_EQ(ListColumns(findings), (std::vector<std::string>{"Severity", "Code", "Where"}));
    EXPECT_EQ(Name(FindControl(check, check::CheckAgain)), "Check Again");
    EXPECT_EQ(Name(FindControl(check, check::WriteWebPage)), "Write Web Page");
    EXPECT_EQ(Name(FindControl(editor, wizard::CheckMedium)), "Check Medium");
    // The buttons that open Windows' file and folder dialogs read as their captions.
    EXPECT_EQ(Name(FindControl(item, item::BrowseFile)), "File...");
    EXPECT_EQ(Name(FindControl(item, item::BrowseFolder)), "Folder...");
}

// A dark high-contrast scheme for the programs started while it lives, put back afterwards.
// Windows keeps the scheme in "Control Panel\Colors"; Wine reads a copy of it that the theme
// wrote under its own key first, so both are set.
class DarkScheme {
public:
    DarkScheme() {
        const std::pair<const wchar_t*, const wchar_t*> scheme[] = {
            {L"Window", L"0 0 0"}, {L"WindowText", L"255 255 255"}, {L"ButtonFace", L"0 0 0"},
            {L"ButtonText", L"255 255 255"}, {L"GrayText", L"0 255 0"}};
        for (const wchar_t* key : {L"Control Panel\\Colors", L"Software\\Wine\\Temporary System Parameters\\Control Panel\\Colors"})
            for (const auto& [name, value] : scheme) settings_.emplace_back(key, name, value);
    }

private:
    std::deque<UserSetting> settings_;  // a deque: settings can neither be copied nor moved
};

// Colours as equal as the screen's colour depth keeps them.
bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 2 && std::abs(GetGValue(a) - GetGValue(b)) <= 2 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 2;
}

// Pixels inside a control, away from its edges, that are dark (text on a light ground).
int DarkPixels(HWND control, int inset) {
    const SIZE size = ClientSize(control);
    int dark = 0;
    for (int y = inset; y < size.cy - inset; y += 1)
        for (int x = inset; x < size.cx - inset; x += 1) {
            const COLORREF c = PixelAt(control, POINT{x, y});
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 150) ++dark;
        }
    return dark;
}

using HighContrast = ScreenReader;

TEST_F(HighContrast, ColouredControlsKeepTheirColoursAndTheirTextReads) {
    DarkScheme scheme;
    Process p = Launch(exe);
    HWND main = WaitForWindow("Demo", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    HWND arrow = FindControl(main, kBtnNext);  // its ground is the scheme's window colour
    HWND button = FindControl(main, BtnMenu(0));
    HWND label = FindControl(main, LblMenu(0));
    // The window is found once it is visible, before its controls have painted: until they have,
    // the screen shows the main window's ground where they are.
    // Cheap pixels first: the text is counted only once the grounds are there.
    WaitUntil([&] {
        return PixelAt(arrow, POINT{10, 30}) == RGB(0, 0, 0) && Near(PixelAt(button, POINT{6, 4}), RGB(188, 200, 250)) &&
               DarkPixels(button, 4) > 10 && DarkPixels(label, 1) > 10;
    }, kWait);
    EXPECT_EQ(PixelAt(arrow, POINT{10, 30}), RGB(0, 0, 0));  // below its 30 x 29 picture
    EXPECT_TRUE(Near(PixelAt(button, POINT{6, 4}), RGB(188, 200, 250)));  // the menu's button colour
    EXPECT_GT(DarkPixels(button, 4), 10) << "the caption \"E0\" is drawn dark on the light button";
    EXPECT_EQ(PixelAt(label, POINT{ClientSize(label).cx - 2, 2}), RGB(255, 255, 255));
    EXPECT_GT(DarkPixels(label, 1), 10);
    Sleep(500);  // the frame is drawn after the client area
    EXPECT_TRUE(SaveScreenshot(JoinPath(ArtifactsFolder(), "high-contrast-main.bmp"), main));
}

}  // namespace
