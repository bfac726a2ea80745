// The first start under Wine: the files it writes, the menu they make, a main picture written
// again when it is missing.
#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

std::string Expected(const std::string& name) {
    return ReadFileBytes(WinPathFromUnix(std::string(ORVELUND_TEST_DATA) + "/expected/" + name)).value_or("missing");
}

bool IsGrey(COLORREF c) {
    return std::abs(GetRValue(c) - GetGValue(c)) < 12 && std::abs(GetGValue(c) - GetBValue(c)) < 12;
}

struct FirstRun : OrvelundTest {
    std::string exe;
    void SetUp() override {
        OrvelundTest::SetUp();
        exe = CopyExe();
    }
    std::string Content(const std::string& name = "") {
        return name.empty() ? JoinPath(Folder(), "content") : JoinPath(JoinPath(Folder(), "content"), name);
    }
};

TEST_F(FirstRun, YesWritesEveryFileOpensTheEditorAndThenShowsTheDefaultMenu) {
    Process p = Launch(exe);
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    ASSERT_TRUE(box);
    ASSERT_TRUE(Answer(box, IDYES));
    HWND editor = WaitForWindow("Orvelund - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);

    EXPECT_EQ(ReadFileBytes(Content("config.ini")), Expected("config.ini"));
    EXPECT_EQ(ReadFileBytes(Content("instructions.htm")), Expected("instructions.htm"));
    for (const char* picture : {"Instructions.jpg", "Website.jpg", "Explore.jpg", "Updates.jpg", "app.jpg"})
        EXPECT_EQ(ReadFileBytes(Content(picture)).value_or("").substr(0, 2), "BM") << picture;  // bitmaps
    const std::string icon = ReadFileBytes(Content("app.ico")).value_or("");
    ASSERT_GT(icon.size(), 22u);
    EXPECT_EQ(icon.substr(0, 4), std::string("\0\0\1\0", 4));
    EXPECT_EQ(static_cast<unsigned char>(icon[6]), 64u);  // 64 x 64
    EXPECT_EQ(static_cast<unsigned char>(icon[12]), 24u); // 24 bits per pixel
    EXPECT_FALSE(FileExists(JoinPath(Folder(), "autorun.inf")));  // only on request

    // The editor lists the four entries; Cancel brings the menu.
    EXPECT_EQ(ListRowCount(FindControl(editor, wizard::sMenuItems)), 4);
    ASSERT_TRUE(Click(FindControl(editor, wizard::CancelButton)));
    HWND main = WaitForWindow("Orvelund", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ClientSize(main).cy, Px(6400 - 360));
    const char* labels[] = {"How to use Orvelund", "Visit www.orvelund.example", "Explore Files",
                            "Online Check for Updates"};
    const char* names[] = {"Instructions", "Website", "Explore", "Updates"};
    for (int k = 0; k < 4; ++k) {
        HWND button = FindControl(main, BtnMenu(k));
        EXPECT_EQ(Accessible(button).name, names[k]) << k;  // a picture, named for screen readers
        EXPECT_TRUE(IsGrey(PixelAt(button, POINT{6, 16}))) << "button " << k << " shows its grey picture";
        EXPECT_EQ(TextOf(FindControl(main, LblMenu(k))), labels[k]);
    }
}

TEST_F(FirstRun, MissingMainPictureIsWrittenAgainAndNothingElse) {
    CreateDirectoryW(Widen(Content()).c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(Content("config.ini"), MenuFile({"Docs,Read me,manual.pdf,open"})));
    Process p = Launch(exe);
    ASSERT_NE(WaitForWindow("Demo", kWait, p.Id()), nullptr);
    EXPECT_EQ(ReadFileBytes(Content("app.jpg")).value_or("").substr(0, 2), "BM");
    EXPECT_FALSE(FileExists(Content("instructions.htm")));
    EXPECT_FALSE(FileExists(Content("app.ico")));
}

TEST_F(FirstRun, OwnMainPictureIsShown) {
    CreateDirectoryW(Widen(Content()).c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(Content("config.ini"), MenuFile({"Docs,Read me,manual.pdf,open"})));
    ASSERT_TRUE(WriteFileBytes(Content("app.jpg"), SolidBitmap(624, 213, RGB(0, 160, 0))));
    Process p = Launch(exe);
    HWND main = WaitForWindow("Demo", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    Sleep(300);
    EXPECT_EQ(PixelAt(FindControl(main, kPicture1), POINT{100, 100}), RGB(0, 160, 0));
}

}  // namespace
