// The menu under Wine: twelve entries, paging with the arrows, pictures on buttons, and what each
// kind of entry hands to the shell.
#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

struct Menu : OrvelundTest {
    std::string exe;
    HWND main = nullptr;
    Process p;

    void SetUp() override {
        OrvelundTest::SetUp();
        exe = CopyExe();
        const std::string content = MakeContentFolder(Folder());
        WriteFileBytes(JoinPath(content, "Pic.jpg"), SolidBitmap(137, 33, RGB(255, 0, 0)));
        WriteFileBytes(JoinPath(content, "app.jpg"), SolidBitmap(624, 213, RGB(240, 240, 240)));
        WriteFileBytes(JoinPath(content, "guide.htm"), "<html></html>");
        // A verb with a leading blank is handed on as it stands; give the test's documents such a
        // verb so that the shell has somewhere to take it.
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\OrvelundE2E.Document\\shell\\ open\\command", 0,
                            nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
            const std::wstring command = L"\"" + Widen(RecorderExe()) + L"\" \" open\" \"%1\"";
            RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                           static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
            RegCloseKey(key);
        }
        WriteFileBytes(JoinPath(content, "config.ini"),
                       MenuFile({"Web,Web site,http://www.orvelund.example/,open", "Host,Host name,www.orvelund.example,open",
                                 "Here,This folder,.,explore", "Up,Parent,..,open", "Root,Drive root,\\,explore",
                                 "Rel,Guide,content\\guide.htm,open", "Abs,Absolute," + JoinPath(content, "Pic.jpg") + ",open",
                                 "Blank,Blank verb,content\\guide.htm, open", "Pic,With picture,x.txt,open",
                                 "Ten,Tenth,x.txt,open", "Eleven,Eleventh,x.txt,open", "Twelve,Twelfth,x.txt,open"}));
        ClearRecorder();
        p = Launch(exe);
        main = WaitForWindow("Demo", kWait, p.Id());
        ASSERT_NE(main, nullptr);
    }
    std::string Label(int k) { return TextOf(FindControl(main, LblMenu(k))); }
    // A button's name as a screen reader reads it: its caption, or its entry's Button when it
    // shows only a picture.
    std::string Button(int k) { return Accessible(FindControl(main, BtnMenu(k))).name; }
    bool Shown(int id) { return Describe(FindControl(main, id)).ownVisible; }
};

TEST_F(Menu, ArrowsScrollOneEntryAtATime) {
    EXPECT_EQ(ClientSize(main).cy, Px(10800 - 360));
    EXPECT_TRUE(Shown(kBtnNext));
    EXPECT_FALSE(Shown(kBtnPrev));
    EXPECT_EQ(Label(0), "Web site");
    EXPECT_EQ(Label(9), "Tenth");

    ASSERT_TRUE(Click(FindControl(main, kBtnNext)));
    ASSERT_TRUE(WaitUntil([&] { return Label(0) == "Host name"; }, kWait));
    ASSERT_TRUE(Click(FindControl(main, kBtnNext)));
    ASSERT_TRUE(WaitUntil([&] { return Label(0) == "This folder"; }, kWait));
    EXPECT_EQ(Label(9), "Twelfth");
    EXPECT_FALSE(Shown(kBtnNext));
    EXPECT_TRUE(Shown(kBtnPrev));
    // Entry 9 has a picture: on button 6 now, showing red.
    EXPECT_EQ(Button(6), "Pic");
    EXPECT_EQ(PixelAt(FindControl(main, BtnMenu(6)), POINT{20, 16}), RGB(255, 0, 0));
    EXPECT_EQ(Button(7), "Ten");

    ASSERT_TRUE(Click(FindControl(main, kBtnPrev)));
    ASSERT_TRUE(WaitUntil([&] { return Label(0) == "Host name"; }, kWait));
    EXPECT_TRUE(Shown(kBtnNext));
    EXPECT_TRUE(Shown(kBtnPrev));
    EXPECT_EQ(Button(6), "Blank");  // the picture went with its entry, one button down
    EXPECT_NE(PixelAt(FindControl(main, BtnMenu(6)), POINT{20, 16}), RGB(255, 0, 0));
    EXPECT_EQ(Button(7), "Pic");
    EXPECT_EQ(PixelAt(FindControl(main, BtnMenu(7)), POINT{20, 16}), RGB(255, 0, 0));
    EXPECT_EQ(ClientSize(main).cy, Px(10800 - 360));
}

TEST_F(Menu, EachKindOfEntryReachesTheShellWithItsVerbAndTarget) {
    for (int k = 0; k < 8; ++k) {
        ASSERT_TRUE(Click(FindControl(main, BtnMenu(k)))) << k;
        Sleep(700);
    }
    std::string parent = Folder().substr(0, Folder().find_last_of('\\'));
    EXPECT_TRUE(RecorderGot({
        {"open", "http://www.orvelund.example/"},
        {"open", "http://www.orvelund.example"},  // the program passes "www..." unchanged; Wine's shell adds the scheme
        {"explore", Folder()},
        {"open", parent},
        {"explore", "C:\\"},
        {"open", JoinPath(Folder(), "content\\guide.htm")},
        {"open", JoinPath(Folder(), "content\\Pic.jpg")},
        {" open", JoinPath(Folder(), "content\\guide.htm")},
    }));
}

}  // namespace
