// A medium made on a Windows whose code page is not Western European and read on an English one.
// The author's fixture runs under the author's locale (Wine takes the ANSI code page from it), the
// reader's under en_US, one after the other on one medium folder (tests/e2e/author-and-reader):
//
//   E2E_MEDIUM=/tmp/m E2E_MENU=ja tests/e2e/in-locale ja_JP.UTF-8 e2e_code_pages --gtest_filter=Author.*
//   E2E_MEDIUM=/tmp/m E2E_MENU=ja tests/e2e/in-locale en_US.UTF-8 e2e_code_pages --gtest_filter=Reader.*
#include <cstdlib>
#include <iostream>

#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

struct AuthorMenu {
    const char* name;
    UINT codePage;  // the author's Windows
    std::string title, button, label, file;
};

const AuthorMenu& Chosen() {
    static const AuthorMenu menus[] = {
        {"ja", 932, "\xe8\xa3\xbd\xe5\x93\x81\xe3\x82\xab\xe3\x82\xbf\xe3\x83\xad\xe3\x82\xb0",  // 製品カタログ
         "\xe8\xb3\x87\xe6\x96\x99", "\xe8\xa3\xbd\xe5\x93\x81\xe3\x81\xae\xe8\xb3\x87\xe6\x96\x99",  // 資料, 製品の資料
         "\xe8\xb3\x87\xe6\x96\x99.pdf"},
        {"ru", 1251, "\xd0\x9a\xd0\xb0\xd1\x82\xd0\xb0\xd0\xbb\xd0\xbe\xd0\xb3",  // Каталог
         "\xd0\xa1\xd0\xbf\xd1\x80\xd0\xb0\xd0\xb2\xd0\xba\xd0\xb0",                // Справка
         "\xd0\xa0\xd1\x83\xd0\xba\xd0\xbe\xd0\xb2\xd0\xbe\xd0\xb4\xd1\x81\xd1\x82\xd0\xb2\xd0\xbe",  // Руководство
         "\xd0\xa0\xd1\x83\xd0\xba\xd0\xbe\xd0\xb2\xd0\xbe\xd0\xb4\xd1\x81\xd1\x82\xd0\xb2\xd0\xbe.pdf"},
    };
    const char* name = std::getenv("E2E_MENU");
    for (const auto& m : menus)
        if (name && m.name == std::string(name)) return m;
    return menus[0];
}

struct SharedMedium : OrvelundTest {
    const AuthorMenu& menu = Chosen();
    std::string medium, content, exe;
    void SetUp() override {
        OrvelundTest::SetUp();
        const char* shared = std::getenv("E2E_MEDIUM");
        ASSERT_NE(shared, nullptr) << "run through tests/e2e/author-and-reader";
        medium = WinPathFromUnix(shared);
        content = JoinPath(medium, "content");
        exe = JoinPath(medium, "Orvelund.exe");
    }
    std::string Entry() const { return menu.button + "," + menu.label + ",docs\\" + menu.file + ",open"; }
    std::string Config() { return ReadFileBytes(JoinPath(content, "config.ini")).value_or("missing"); }
};

struct Author : SharedMedium {};
struct Reader : SharedMedium {};

// Text in the author's ANSI code page, as an older version saved it there.
std::string InAnsi(const std::string& utf8) {
    const std::wstring w = Widen(utf8);
    const int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

TEST_F(Author, OkSavesAMenuThatReadsAlikeOnEveryPc) {
    ASSERT_EQ(GetACP(), menu.codePage) << "run under the author's locale (tests/e2e/in-locale)";
    ASSERT_TRUE(CopyFileTo(OrvelundExe(), exe));
    MakeContentFolder(medium);
    CreateDirectoryW(Widen(JoinPath(medium, "docs")).c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(JoinPath(JoinPath(medium, "docs"), menu.file), "%PDF"));
    WriteFileBytes(JoinPath(content, "app.jpg"), SolidBitmap(624, 213, RGB(240, 240, 240)));

    // The menu as UTF-8 with its mark, and as an older version saved it in the author's code page:
    // OK writes both in the form every PC reads alike, the text unchanged.
    const std::string utf8 = MenuFile({Entry()}, "TITLE:" + menu.title);
    for (const std::string& stored : {"\xEF\xBB\xBF" + utf8, InAnsi(utf8)}) {
        ASSERT_TRUE(WriteFileBytes(JoinPath(content, "config.ini"), stored));
        Process p = Launch(exe, "-setup");
        HWND editor = WaitForWindow(menu.title + " - Menu Editor", kWait, p.Id());
        ASSERT_NE(editor, nullptr);
        PressButton(FindControl(editor, wizard::OKButton));
        MessageBoxInfo saved = WaitForMessageBox(kWait, p.Id());
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved.text, "Your settings have been saved!\r\nThe program will now restart.");
        EXPECT_EQ(Config(), "\xEF\xBB\xBF" + utf8);
        ASSERT_TRUE(Answer(saved, IDOK));
        ASSERT_NE(WaitForProcessOf(exe, kWait, {p.Id()}), 0u);
        KillAll(exe);
    }

    // autorun.inf carries the title in UTF-16 with its mark, which every Windows reads.
    Process p = Launch(exe, "-setup");
    HWND editor = WaitForWindow(menu.title + " - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    PressButton(FindControl(editor, wizard::AutoRunReset));
    const std::string inf = JoinPath(medium, "autorun.inf");
    ASSERT_TRUE(WaitUntil([&] { return FileExists(inf); }, kWait));
    const std::string bytes = ReadFileBytes(inf).value_or("");
    ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    EXPECT_NE(Narrow(text).find("\r\nlabel=" + menu.title + "\r\n"), std::string::npos) << Narrow(text);
    KillAll(exe);
}

TEST_F(Reader, SeesTheTitleAndTheButtonOpensTheFile) {
    ASSERT_EQ(GetACP(), 1252u) << "run under an English locale (tests/e2e/in-locale en_US.UTF-8)";
    ASSERT_TRUE(FileExists(exe)) << "the author's fixture runs first";
    Process p = Launch(exe);
    HWND main = WaitForWindow(menu.title, kWait, p.Id());
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(TextOf(FindControl(main, LblMenu(0))), menu.label);
    EXPECT_EQ(TextOf(FindControl(main, BtnMenu(0))), menu.button);
    const std::string shot = JoinPath(ArtifactsFolder(), std::string("code-page-reader-") + menu.name + ".bmp");
    EXPECT_TRUE(SaveScreenshot(shot, main));
    std::cout << "screenshot: " << shot << "\n";
    ASSERT_TRUE(Click(FindControl(main, BtnMenu(0))));
    EXPECT_TRUE(RecorderGot({{"open", JoinPath(JoinPath(medium, "docs"), menu.file)}}));
}

}  // namespace
