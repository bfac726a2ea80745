// One medium, a menu per language: the menu a reader sees under a German, a Brazilian Portuguese
// and an English Windows, -lang: choosing another, the Menu Editor saving only the menu it shows,
// and the restart keeping the language. Windows' UI language is fixed for the whole program (Wine
// takes it from the Linux locale the program was started under), so each fixture runs in a
// program of its own: tests/e2e/in-locale de_DE.UTF-8 e2e_lang --gtest_filter=German.*
#include <iostream>

#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;
using Rows = std::vector<std::vector<std::string>>;

// Windows' UI language as a locale name, as the program asks for it.
std::string UiLanguage() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = L"";
    LCIDToLocaleName(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), name, LOCALE_NAME_MAX_LENGTH, 0);
    return Narrow(name);
}

// The German menu is in the ANSI code page (Windows-1252), as older versions saved it; the others
// hold only ASCII. "Broschüre" reads back from the window in UTF-8.
const std::string kGermanLabel = "Brosch\xc3\xbcre";
std::string EnglishMenu() { return MenuFile({"Docs,Brochure,docs\\en.pdf,open", "Web,Our website,x.txt,open"}, "TITLE:Welcome"); }
std::string GermanMenu(const std::string& title = "Willkommen") {
    return MenuFile({"Docs,Brosch\xfcre,docs\\de.pdf,open", "Web,Unsere Website,x.txt,open"}, "TITLE:" + title);
}
std::string BrazilianMenu() { return MenuFile({"Docs,Folheto,docs\\br.pdf,open"}, "TITLE:Bem-vindo"); }
std::string PortugueseMenu() { return MenuFile({"Docs,Brochura,docs\\pt.pdf,open"}, "TITLE:Bem-vindo (Portugal)"); }

// A medium with everyone's menu and German, Brazilian and Portuguese menus beside it.
struct Medium : OrvelundTest {
    std::string exe, content;
    std::string language;  // the UI language the fixture runs under

    void SetUp() override {
        OrvelundTest::SetUp();
        ASSERT_EQ(UiLanguage(), language) << "run this fixture under its locale (tests/e2e/in-locale)";
        exe = CopyExe();
        content = MakeContentFolder(Folder());
        WriteFileBytes(JoinPath(content, "app.jpg"), SolidBitmap(624, 213, RGB(250, 240, 200)));
        WriteFileBytes(Menu("config.ini"), EnglishMenu());
        WriteFileBytes(Menu("config.de.ini"), GermanMenu());
        WriteFileBytes(Menu("config.pt-BR.ini"), BrazilianMenu());
        WriteFileBytes(Menu("config.pt.ini"), PortugueseMenu());
    }
    std::string Menu(const std::string& name) const { return JoinPath(content, name); }
    std::string Bytes(const std::string& name) const { return ReadFileBytes(Menu(name)).value_or("missing"); }

    // Starts the program and waits for the window with this caption; the process stays in `p`.
    HWND Start(Process& p, const std::string& args, const std::string& caption) {
        p = Launch(exe, args);
        return WaitForWindow(caption, kWait, p.Id());
    }
    void Screenshot(HWND window, const std::string& name) {
        const std::string path = JoinPath(ArtifactsFolder(), name);
        EXPECT_TRUE(SaveScreenshot(path, window)) << path;
        std::cout << "screenshot: " << path << "\n";
    }
};

struct German : Medium {
    void SetUp() override {
        language = "de-DE";
        Medium::SetUp();
    }
};
struct Brazilian : Medium {
    void SetUp() override {
        language = "pt-BR";
        Medium::SetUp();
    }
};
struct English : Medium {
    void SetUp() override {
        language = "en-US";
        Medium::SetUp();
    }
};

TEST_F(German, TheMenuIsTheGermanOne) {
    Process p;
    HWND menu = Start(p, "", "Willkommen");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(TextOf(FindControl(menu, LblMenu(0))), kGermanLabel);
    EXPECT_EQ(TextOf(FindControl(menu, LblMenu(1))), "Unsere Website");
    EXPECT_EQ(ClientSize(menu).cy, Px(5000 - 360));  // two entries
    EXPECT_FALSE(WaitForMessageBox(500, p.Id()));   // a set-up medium: no first-run question
    Screenshot(menu, "lang-de-start.bmp");
}

TEST_F(German, LangChoosesAnotherMenuAndAnythingButATagIsIgnored) {
    struct Case {
        const char* args;
        const char* caption;
    } cases[] = {
        {"-lang:pt-BR", "Bem-vindo"},
        {"/-lang:PT", "Bem-vindo (Portugal)"},
        {"-lang:en", "Welcome"},         // no English menu: everyone's
        {"-lang:..\\..\\x", "Willkommen"},  // no tag: Windows' language
    };
    for (const auto& c : cases) {
        Process p;
        EXPECT_NE(Start(p, c.args, c.caption), nullptr) << c.args;
        p.Kill();
        p.WaitForExit(kWait);
    }
}

TEST_F(German, OkSavesOnlyTheGermanMenuAndTheRestartShowsIt) {
    Process p;
    HWND editor = Start(p, "-setup", "Willkommen - Menu Editor");
    ASSERT_NE(editor, nullptr);
    HWND list = FindControl(editor, wizard::sMenuItems);
    EXPECT_EQ(ListRows(list), (Rows{{"Docs", kGermanLabel, "docs\\de.pdf", "open", ""},
                                    {"Web", "Unsere Website", "x.txt", "open", ""}}));

    ASSERT_TRUE(ListDoubleClickRow(list, 1));
    HWND item = WaitForWindow("Willkommen - Edit Menu Item", kWait, p.Id());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(TextOf(FindControl(item, item::mLabel)), "Unsere Website");
    ASSERT_TRUE(ReplaceEditText(FindControl(item, item::mLabel), "Website"));
    ASSERT_TRUE(Click(FindControl(item, item::OKButton)));
    ASSERT_TRUE(WaitForNoWindow("Willkommen - Edit Menu Item", kWait, p.Id()));

    const std::string english = Bytes("config.ini"), brazilian = Bytes("config.pt-BR.ini"),
                      portuguese = Bytes("config.pt.ini");
    ASSERT_TRUE(ReplaceEditText(FindControl(editor, wizard::sTitle), "Willkommen in Halle 3"));
    ASSERT_TRUE(Click(FindControl(editor, wizard::OKButton)));
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box.title, "Orvelund - Menu Editor");
    EXPECT_EQ(box.text, "Your settings have been saved!\r\nThe program will now restart.");
    // Saved as UTF-8, which PCs of every code page read alike.
    EXPECT_EQ(Bytes("config.de.ini"), "\xEF\xBB\xBF" + MenuFile({"Docs," + kGermanLabel + ",docs\\de.pdf,open",
                                                                  "Web,Website,x.txt,open"},
                                                                 "TITLE:Willkommen in Halle 3"));
    EXPECT_EQ(Bytes("config.ini"), english);
    EXPECT_EQ(Bytes("config.pt-BR.ini"), brazilian);
    EXPECT_EQ(Bytes("config.pt.ini"), portuguese);
    ASSERT_TRUE(Answer(box, IDOK));

    EXPECT_TRUE(p.WaitForExit(kWait));
    const DWORD restarted = WaitForProcessOf(exe, kWait, {p.Id()});
    ASSERT_NE(restarted, 0u);
    HWND menu = WaitForWindow("Willkommen in Halle 3", kWait, restarted);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(TextOf(FindControl(menu, LblMenu(1))), "Website");
}

TEST_F(German, AutoRunFromTheGermanEditorCarriesTheTitleOfConfigIni) {
    Process p;
    HWND editor = Start(p, "-setup", "Willkommen - Menu Editor");
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(Click(FindControl(editor, wizard::AutoRunReset)));
    const std::string inf = JoinPath(Folder(), "autorun.inf");
    ASSERT_TRUE(WaitUntil([&] { return FileExists(inf); }, kWait));
    const std::string text = ReadFileBytes(inf).value_or("");
    EXPECT_NE(text.find("\r\nshell\\Run=Welcome\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nlabel=Welcome\r\n"), std::string::npos) << text;
    EXPECT_EQ(TextOf(FindControl(editor, wizard::AutoRunReset)), "Update AutoRun");
}

TEST_F(Brazilian, TheBrazilianMenuComesBeforeThePortugueseOne) {
    Process p;
    HWND menu = Start(p, "", "Bem-vindo");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(TextOf(FindControl(menu, LblMenu(0))), "Folheto");
    p.Kill();
    p.WaitForExit(kWait);

    // Without a Brazilian menu, the language's own; without that, everyone's.
    ASSERT_TRUE(DeleteFileW(Widen(Menu("config.pt-BR.ini")).c_str()));
    EXPECT_NE(Start(p, "", "Bem-vindo (Portugal)"), nullptr);
    p.Kill();
    p.WaitForExit(kWait);
    ASSERT_TRUE(DeleteFileW(Widen(Menu("config.pt.ini")).c_str()));
    EXPECT_NE(Start(p, "", "Welcome"), nullptr);
}

TEST_F(English, TheMenuIsConfigIni) {
    Process p;
    HWND menu = Start(p, "", "Welcome");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(TextOf(FindControl(menu, LblMenu(0))), "Brochure");
    Screenshot(menu, "lang-en-start.bmp");
}

TEST_F(English, ALanguageGivenOnTheCommandLineSurvivesTheRestart) {
    Process p;
    HWND editor = Start(p, "-setup/-lang:de", "Willkommen - Menu Editor");
    ASSERT_NE(editor, nullptr);
    const std::string english = Bytes("config.ini");
    ASSERT_TRUE(ReplaceEditText(FindControl(editor, wizard::sTitle), "Willkommen zur Messe"));
    ASSERT_TRUE(Click(FindControl(editor, wizard::OKButton)));
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(box.text, "Your settings have been saved!\r\nThe program will now restart.");
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_EQ(Bytes("config.de.ini"), "\xEF\xBB\xBF" + MenuFile({"Docs," + kGermanLabel + ",docs\\de.pdf,open",
                                                                  "Web,Unsere Website,x.txt,open"},
                                                                 "TITLE:Willkommen zur Messe"));
    EXPECT_EQ(Bytes("config.ini"), english);

    EXPECT_TRUE(p.WaitForExit(kWait));
    const DWORD restarted = WaitForProcessOf(exe, kWait, {p.Id()});
    ASSERT_NE(restarted, 0u);
    // Windows is English: only the option handed to the restart brings the German menu back.
    HWND menu = WaitForWindow("Willkommen zur Messe", kWait, restarted);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(TextOf(FindControl(menu, LblMenu(0))), kGermanLabel);
}

}  // namespace
