// One menu per reader language: which file a reader gets, and the program reading, editing, saving
// and restarting with that file while config.ini stays everyone else's menu.
#include <gtest/gtest.h>

#include <algorithm>

#include "editor/SetupWizard.h"
#include "menu/MenuLanguage.h"
#include "platform/MainWindowDesign.h"
#include "platform/SetupWizardDesign.h"
#include "tests/fakes/World.h"

namespace {

using namespace menulanguage;
using Names = std::vector<std::string>;

TEST(LanguageTag, LanguageScriptAndRegionInAnyCaseAndNothingElse) {
    struct Case {
        const char* text;
        const char* tag;  // nullptr: no language tag
    } cases[] = {
        {"de", "de"},
        {"DE", "de"},
        {"pt-br", "pt-BR"},
        {"zh-hant-tw", "zh-Hant-TW"},
        {"ZH-HANS", "zh-Hans"},
        {"fil-PH", "fil-PH"},
        {"es-419", "es-419"},
        {"", nullptr},
        {"d", nullptr},
        {"deut", nullptr},       // four letters make a script, not a language
        {"de_DE", nullptr},      // Linux's spelling
        {"de-", nullptr},
        {"de--DE", nullptr},
        {"de-DE-DE", nullptr},
        {"de-DE-1996", nullptr}, // variants are not part of a menu's name
        {"de-41", nullptr},
        {"de ", nullptr},
        {"..\\..\\x", nullptr},
        {"de\\..\\..\\x", nullptr},
        {"de.ini", nullptr},
        {"d\xc3\xa9", nullptr},  // letters outside ASCII
    };
    for (const auto& c : cases) {
        const auto tag = ParseLanguageTag(c.text);
        if (c.tag) {
            ASSERT_TRUE(tag) << c.text;
            EXPECT_EQ(tag->Text(), c.tag) << c.text;
        } else {
            EXPECT_FALSE(tag) << c.text << " read as " << tag->Text();
        }
    }
}

TEST(LanguageTag, WindowsLocaleNamesLoseTheirSortOrderAndVariant) {
    EXPECT_EQ(LanguageOfLocaleName("de-DE")->Text(), "de-DE");
    EXPECT_EQ(LanguageOfLocaleName("sr-Latn-RS")->Text(), "sr-Latn-RS");
    EXPECT_EQ(LanguageOfLocaleName("de-DE_phoneb")->Text(), "de-DE");
    EXPECT_EQ(LanguageOfLocaleName("zh-TW_pronun")->Text(), "zh-TW");
    EXPECT_EQ(LanguageOfLocaleName("ca-ES-valencia")->Text(), "ca-ES");
    EXPECT_EQ(LanguageOfLocaleName("zh-Hant")->Text(), "zh-Hant");
    EXPECT_FALSE(LanguageOfLocaleName(""));
    EXPECT_FALSE(LanguageOfLocaleName("x-IV"));
}

// The order in which a reader's menus are looked for, as the README gives it.
TEST(LanguageMatch, TagsTriedForAReader) {
    struct Case {
        const char* reader;
        Names tried;
    } cases[] = {
        {"de", {"de"}},
        {"de-DE", {"de-DE", "de"}},
        {"pt-BR", {"pt-BR", "pt"}},
        {"zh-TW", {"zh-Hant-TW", "zh-TW", "zh-Hant", "zh"}},
        {"zh-HK", {"zh-Hant-HK", "zh-HK", "zh-Hant", "zh"}},
        {"zh-MO", {"zh-Hant-MO", "zh-MO", "zh-Hant", "zh"}},
        {"zh-CN", {"zh-Hans-CN", "zh-CN", "zh-Hans", "zh"}},
        {"zh-SG", {"zh-Hans-SG", "zh-SG", "zh-Hans", "zh"}},
        {"zh", {"zh-Hans", "zh"}},
        {"zh-Hant", {"zh-Hant", "zh"}},
        {"zh-Hans-TW", {"zh-Hans-TW", "zh-Hans", "zh"}},  // zh-TW is Traditional: not for this reader
        {"sr-Latn-RS", {"sr-Latn-RS", "sr-Latn", "sr"}},  // sr-RS is Cyrillic
        {"sr-Cyrl-RS", {"sr-Cyrl-RS", "sr-RS", "sr-Cyrl", "sr"}},
        {"sr-RS", {"sr-Cyrl-RS", "sr-RS", "sr-Cyrl", "sr"}},
        {"sr-Latn-ME", {"sr-Latn-ME", "sr-ME", "sr-Latn", "sr"}},
        {"uz-Cyrl-UZ", {"uz-Cyrl-UZ", "uz-Cyrl", "uz"}},
        {"es-419", {"es-419", "es"}},
        {"ks-Deva-IN", {"ks-Deva-IN", "ks-IN", "ks-Deva", "ks"}},  // no usual script known: the region counts
    };
    for (const auto& c : cases) {
        Names tried;
        for (const auto& tag : TagsTried(*ParseLanguageTag(c.reader))) tried.push_back(tag.Text());
        EXPECT_EQ(tried, c.tried) << c.reader;
    }
}

TEST(LanguageMatch, FileNamesAreLanguageMenusWhateverTheirCase) {
    EXPECT_EQ(TagPartOf("config.pt-BR.ini"), "pt-BR");
    EXPECT_EQ(TagPartOf("CONFIG.de.INI"), "de");
    EXPECT_EQ(TagPartOf("config.english.ini"), "english");
    EXPECT_FALSE(TagPartOf("config.ini"));
    EXPECT_FALSE(TagPartOf("config..ini"));
    EXPECT_FALSE(TagPartOf("config.de.ini.~123.tmp"));  // a save that was cut short
    EXPECT_FALSE(TagPartOf("myconfig.de.ini"));

    const auto files = LanguageFiles({"app.jpg", "config.ini", "Config.PT-br.Ini", "config.english.ini",
                                      "config.de_DE.ini", "config.zh-hant.ini"});
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].name, "Config.PT-br.Ini");
    EXPECT_EQ(files[0].tag.Text(), "pt-BR");
    EXPECT_EQ(files[1].tag.Text(), "zh-Hant");
}

TEST(LanguageMatch, TheReaderGetsTheFirstMenuThatExists) {
    struct Case {
        Names files;
        const char* ui;
        const char* lang;
        const char* menu;
    } cases[] = {
        // Regions.
        {{"config.ini", "config.de.ini"}, "de-DE", "", "config.de.ini"},
        {{"config.ini", "config.de.ini", "config.de-DE.ini"}, "de-DE", "", "config.de-DE.ini"},
        {{"config.ini", "config.de.ini", "config.de-DE.ini"}, "de-AT", "", "config.de.ini"},
        {{"config.ini", "config.de-DE.ini"}, "de-CH", "", "config.ini"},  // another region's menu is not taken
        {{"config.ini", "config.pt.ini", "config.pt-BR.ini"}, "pt-BR", "", "config.pt-BR.ini"},
        {{"config.ini", "config.pt.ini", "config.pt-BR.ini"}, "pt-PT", "", "config.pt.ini"},
        {{"config.ini", "config.pt-BR.ini"}, "pt-PT", "", "config.ini"},
        {{"config.ini", "config.de.ini"}, "en-US", "", "config.ini"},
        // Case.
        {{"CONFIG.PT-br.INI"}, "pt-BR", "", "CONFIG.PT-br.INI"},
        {{"config.zh-hant.ini"}, "zh-TW", "", "config.zh-hant.ini"},
        {{"config.de.ini"}, "en-US", "DE", "config.de.ini"},
        // Scripts.
        {{"config.zh-Hant.ini", "config.zh-Hans.ini"}, "zh-TW", "", "config.zh-Hant.ini"},
        {{"config.zh-Hant.ini", "config.zh-Hans.ini"}, "zh-HK", "", "config.zh-Hant.ini"},
        {{"config.zh-Hant.ini", "config.zh-Hans.ini"}, "zh-CN", "", "config.zh-Hans.ini"},
        {{"config.zh-Hans.ini"}, "zh-TW", "", "config.ini"},  // a menu for one script is not for the other
        {{"config.zh-TW.ini", "config.zh-Hant.ini"}, "zh-TW", "", "config.zh-TW.ini"},
        {{"config.zh-TW.ini", "config.zh-Hant.ini"}, "zh-HK", "", "config.zh-Hant.ini"},
        {{"config.zh.ini", "config.zh-Hans.ini"}, "zh-TW", "", "config.zh.ini"},  // the language's menu serves all
        {{"config.zh.ini", "config.zh-Hans.ini"}, "zh-CN", "", "config.zh-Hans.ini"},
        {{"config.sr-RS.ini", "config.sr.ini"}, "sr-Latn-RS", "", "config.sr.ini"},
        {{"config.sr-RS.ini", "config.sr.ini"}, "sr-Cyrl-RS", "", "config.sr-RS.ini"},
        {{"config.sr-Latn.ini", "config.sr-Cyrl.ini"}, "sr-Latn-RS", "", "config.sr-Latn.ini"},
        {{"config.sr-Latn.ini", "config.sr-Cyrl.ini"}, "sr-Cyrl-BA", "", "config.sr-Cyrl.ini"},
        {{"config.zh-Hant-TW.ini", "config.zh-TW.ini"}, "zh-TW", "", "config.zh-Hant-TW.ini"},
        {{"config.zh-Hant.ini"}, "en-US", "zh-Hant", "config.zh-Hant.ini"},
        {{"config.zh-TW.ini"}, "en-US", "zh-Hant", "config.ini"},  // no region given, none taken
        // -lang: and its fallbacks.
        {{"config.ini", "config.de.ini", "config.pt-BR.ini"}, "de-DE", "pt-BR", "config.pt-BR.ini"},
        {{"config.ini", "config.de.ini"}, "de-DE", "fr", "config.ini"},  // known tag, no menu: everyone's
        {{"config.ini", "config.de.ini"}, "de-DE", "de-LI", "config.de.ini"},
        {{"config.ini", "config.de.ini"}, "de-DE", "..\\..\\x", "config.de.ini"},  // no tag: Windows decides
        {{"config.ini", "config.english.ini"}, "en-US", "english", "config.ini"},
        {{"config.ini", "config.de.ini"}, "", "", "config.ini"},
        {{"config.ini", "config.de.ini"}, "", "de", "config.de.ini"},
        {{}, "de-DE", "de", "config.ini"},
        {{"config.ini", "config.de.ini.~42.tmp", "config.deutsch.ini"}, "de-DE", "", "config.ini"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MenuFileFor(c.files, c.ui, c.lang), c.menu)
            << "ui " << c.ui << ", -lang:" << c.lang << ", first file " << (c.files.empty() ? "" : c.files[0]);
    }
}

// ---- the program with a menu per language ------------------------------------------------------

std::string Menu(const std::string& title, const std::vector<std::string>& entries) {
    std::string text = "## ** Orvelund - CONFIGURATION FILE **\r\n## >> Configuration\r\nTITLE:" + title +
                       "\r\nBTCOLOR:16435132\r\nBGCOLOR:16777215\r\nHIDESETUP:0\r\n## -- Configure items\r\n"
                       "## -- [Button],[Label],[File/Folder],[Action]\r\n";
    for (const auto& e : entries) text += e + "\r\n";
    return text;
}

struct Languages : ::testing::Test {
    World w{"C:\\Menu"};
    FakeSetupWizardForm editorForm{w.pictures};
    SetupWizard editor{editorForm, w.main, w.services, w.state};

    void SetUp() override {
        w.fs.AddFolder("C:\\Menu\\content");
        w.fs.AddFile(w.Content("config.ini"), Menu("Welcome", {"Docs,Read me,docs\\en.pdf,open"}));
        w.fs.AddFile(w.Content("config.de.ini"), Menu("Willkommen", {"Docs,Lies mich,docs\\de.pdf,open"}));
        w.fs.AddFile(w.Content("config.pt-BR.ini"), Menu("Bem-vindo", {"Docs,Leia-me,docs\\pt.pdf,open"}));
    }
    void Start(const std::string& ui, const std::string& commandLine = "") {
        w.services.app.uiLanguage = ui;
        w.services.app.commandLine = commandLine;
        w.main.Form_Load();
    }
    std::string Bytes(const std::string& name) { return w.fs.Content(w.Content(name)); }
};

TEST_F(Languages, TheWindowShowsTheReadersMenuAndLangOverridesWindows) {
    Start("de-DE");
    EXPECT_EQ(w.state.MenuFile, "config.de.ini");
    EXPECT_EQ(w.form.caption, "Willkommen");
    EXPECT_EQ(w.form.Text(MainCtl::LblMenu(0)), "Lies mich");
    w.main.btnMenu_Click(0);
    ASSERT_EQ(w.shell.calls.size(), 1u);
    EXPECT_EQ(w.shell.calls[0].file, "C:\\Work\\docs\\de.pdf");
    EXPECT_TRUE(w.dialogs.shown.empty());  // a set-up medium: no first-run question

    World other("C:\\Menu");
    other.fs = w.fs;
    other.services.app.uiLanguage = "de-DE";
    other.services.app.commandLine = "-setup/-lang:pt-BR";
    other.main.Form_Load();
    EXPECT_EQ(other.form.caption, "Bem-vindo");
    EXPECT_EQ(other.state.LanguageOption, "pt-BR");
    EXPECT_EQ(other.windows.setupWizardShown, 1);
}

TEST_F(Languages, LangIsAnOptionOfItsOwnSpelledExactlyLikeTheOthers) {
    struct Case {
        const char* line;
        const char* option;
        const char* menu;
    } cases[] = {
        {"-lang:pt-BR", "pt-BR", "config.pt-BR.ini"},
        {"/-lang:PT-br/", "pt-BR", "config.pt-BR.ini"},
        {"-lang:de/-lang:pt-br", "pt-BR", "config.pt-BR.ini"},  // the last one counts
        {"-lang:pt-BR/-lang:..\\..\\x", "pt-BR", "config.pt-BR.ini"},
        {"-lang:en", "en", "config.ini"},
        {"-lang:pt-BR ", "", "config.de.ini"},        // a blank is part of the argument
        {"-lang:pt-BR -setup", "", "config.de.ini"},  // one argument, no tag
        {"-LANG:pt-BR", "", "config.de.ini"},
        {"-lang:", "", "config.de.ini"},
        {"-lang:..\\..\\x", "", "config.de.ini"},
    };
    for (const auto& c : cases) {
        World run("C:\\Menu", c.line);
        run.fs = w.fs;
        run.services.app.uiLanguage = "de-DE";
        run.main.Form_Load();
        EXPECT_EQ(run.state.LanguageOption, c.option) << c.line;
        EXPECT_EQ(run.state.MenuFile, c.menu) << c.line;
    }
}

TEST_F(Languages, PageTurnsReadTheReadersMenu) {
    std::vector<std::string> entries;
    for (int i = 1; i <= 12; ++i) entries.push_back("B" + std::to_string(i) + ",Eintrag " + std::to_string(i) + ",x,open");
    w.fs.AddFile(w.Content("config.de.ini"), Menu("Willkommen", entries));
    Start("de-DE");
    EXPECT_TRUE(w.form.ControlVisible(MainCtl::BtnNext));
    w.main.btnNext_Click();
    EXPECT_EQ(w.form.Text(MainCtl::LblMenu(9)), "Eintrag 11");
    w.main.btnNext_Click();
    EXPECT_EQ(w.form.Text(MainCtl::LblMenu(9)), "Eintrag 12");
    EXPECT_FALSE(w.form.ControlVisible(MainCtl::BtnNext));
}

// Only config.ini makes a folder a set-up medium: a folder with a German menu alone is set up on
// its first start like an empty one, and then shows German readers their menu.
TEST_F(Languages, AFolderWithOnlyALanguagesMenuIsSetUpAndKeepsThatMenu) {
    World fresh("C:\\Menu");
    fresh.fs.AddFolder("C:\\Menu\\content");
    const std::string german = Menu("Willkommen", {"Docs,Lies mich,docs\\de.pdf,open"});
    fresh.fs.AddFile(fresh.Content("config.de.ini"), german);
    fresh.services.app.uiLanguage = "de-DE";
    fresh.dialogs.answers = {mb::Yes};
    fresh.main.Form_Load();
    ASSERT_EQ(fresh.dialogs.shown.size(), 1u);
    EXPECT_EQ(fresh.dialogs.shown[0].title, "Orvelund - Setup Wizard");
    EXPECT_TRUE(fresh.fs.Has(fresh.Content("config.ini")));
    EXPECT_EQ(fresh.fs.Content(fresh.Content("config.de.ini")), german);
    for (const auto& written : fresh.fs.writes) EXPECT_EQ(written.find("config.de"), std::string::npos) << written;
    EXPECT_EQ(fresh.form.caption, "Willkommen");
    EXPECT_EQ(fresh.windows.setupWizardShown, 1);

    World english("C:\\Menu");
    english.fs.AddFolder("C:\\Menu\\content");
    english.fs.AddFile(english.Content("config.de.ini"), german);
    english.services.app.uiLanguage = "en-US";
    english.dialogs.answers = {mb::Yes};
    english.main.Form_Load();
    EXPECT_EQ(english.form.caption, "Orvelund");  // the first menu it wrote
}

TEST_F(Languages, TheMenuEditorEditsAndSavesOnlyTheReadersMenu) {
    Start("de-DE", "-setup");
    editor.Form_Load();
    EXPECT_EQ(editorForm.caption, "Willkommen - Menu Editor");
    EXPECT_EQ(editorForm.Text(WizardCtl::sTitle), "Willkommen");
    ASSERT_EQ(editor.RowCount(), 1);
    EXPECT_EQ(editor.Cell(1, 1), "Lies mich");

    const std::string english = Bytes("config.ini"), brazilian = Bytes("config.pt-BR.ini");
    editorForm.SetText(WizardCtl::sTitle, "Willkommen am Stand");
    editor.AddItem_Click();
    editor.OKButton_Click();
    EXPECT_NE(Bytes("config.de.ini").find("TITLE:Willkommen am Stand\r\n"), std::string::npos);
    EXPECT_NE(Bytes("config.de.ini").find("Docs,Lies mich,docs\\de.pdf,open\r\nNew Button,,,\r\n"), std::string::npos);
    EXPECT_EQ(Bytes("config.ini"), english);
    EXPECT_EQ(Bytes("config.pt-BR.ini"), brazilian);
    EXPECT_EQ(std::count_if(w.fs.writes.begin(), w.fs.writes.end(),
                            [](const std::string& path) { return path.find("config") != std::string::npos; }),
              1);
    // Windows chose German: the restart is given no option and Windows chooses again.
    EXPECT_EQ(w.shell.calls, (std::vector<ShellCall>{{editorForm.Handle(), "open", "C:\\Menu\\Orvelund.exe"}}));
}

TEST_F(Languages, ALanguageMenuIsSavedInUtf8LikeConfigIni) {
    Start("de-DE");
    editor.Form_Load();
    editorForm.SetText(WizardCtl::sTitle, "Gr\xc3\xbc\xc3\x9f" "e");  // "Grüße" fits Windows-1252, but not every PC's code page
    editor.OKButton_Click();
    EXPECT_EQ(Bytes("config.de.ini").substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(Bytes("config.de.ini").find("TITLE:Gr\xc3\xbc\xc3\x9f" "e\r\n"), std::string::npos);

    World greek("C:\\Menu", "-lang:el");
    greek.fs = w.fs;
    greek.fs.AddFile(greek.Content("config.el.ini"), Menu("Welcome", {}));
    greek.main.Form_Load();
    FakeSetupWizardForm greekForm{greek.pictures};
    SetupWizard greekEditor{greekForm, greek.main, greek.services, greek.state};
    greekEditor.Form_Load();
    greekForm.SetText(WizardCtl::sTitle, "\xce\x9a\xce\xb1\xce\xbb\xcf\x89\xcf\x83\xce\xae\xcf\x81\xce\xb8\xce\xb1\xcf\x84\xce\xb5");
    greekEditor.OKButton_Click();
    const std::string bytes = greek.fs.Content(greek.Content("config.el.ini"));
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(bytes.find("TITLE:\xce\x9a\xce\xb1"), std::string::npos);
    EXPECT_EQ(greek.fs.Content(greek.Content("config.ini")), Bytes("config.ini"));
}

TEST_F(Languages, ASaveByAnotherEditorIsNoticedOnlyInTheFileBeingEdited) {
    Start("de-DE");
    editor.Form_Load();
    // Somebody saves the English menu meanwhile: not this editor's file, nothing to ask.
    w.fs.AddFile(w.Content("config.ini"), Menu("Welcome back", {}));
    editor.OKButton_Click();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].prompt, "Your settings have been saved!\r\nThe program will now restart.");

    World again("C:\\Menu");
    again.fs = w.fs;
    again.services.app.uiLanguage = "de-DE";
    again.main.Form_Load();
    FakeSetupWizardForm form{again.pictures};
    SetupWizard second{form, again.main, again.services, again.state};
    second.Form_Load();
    const std::string theirs = Menu("Andere", {});
    again.fs.AddFile(again.Content("config.de.ini"), theirs);
    again.dialogs.answers = {mb::No};
    second.OKButton_Click();
    ASSERT_EQ(again.dialogs.shown.size(), 1u);
    EXPECT_NE(again.dialogs.shown[0].prompt.find("changed by another program"), std::string::npos);
    EXPECT_NE(again.dialogs.shown[0].prompt.find("C:\\Menu\\content\\config.de.ini"), std::string::npos);
    EXPECT_EQ(again.fs.Content(again.Content("config.de.ini")), theirs);
}

TEST_F(Languages, TheRestartKeepsALanguageGivenOnTheCommandLine) {
    Start("en-US", "-setup/-lang:de");
    editor.Form_Load();
    EXPECT_EQ(editorForm.caption, "Willkommen - Menu Editor");
    editor.OKButton_Click();
    ASSERT_EQ(w.shell.calls.size(), 1u);
    EXPECT_EQ(w.shell.calls[0].file, "C:\\Menu\\Orvelund.exe");
    EXPECT_EQ(w.shell.calls[0].parameters, "/-lang:de");

    // The new instance reads its command line the way Windows hands it over, blanks and all.
    for (const char* given : {"\"C:\\Menu\\Orvelund.exe\" /-lang:de", "\"C:\\Menu\\Orvelund.exe\"   /-lang:de",
                              "C:\\Menu\\Orvelund.exe\t/-lang:de"}) {
        World restarted("C:\\Menu", ArgumentsOf(given));
        restarted.fs = w.fs;
        restarted.services.app.uiLanguage = "en-US";
        restarted.main.Form_Load();
        EXPECT_EQ(restarted.state.MenuFile, "config.de.ini") << given;
        EXPECT_EQ(restarted.form.caption, "Willkommen") << given;
    }
}

TEST_F(Languages, AutoRunCarriesConfigIniTitleWhateverLanguageTheEditorShows) {
    Start("de-DE");
    editor.Form_Load();
    editor.AutoRunReset_Click();
    const std::string inf = w.fs.Content("C:\\Menu\\autorun.inf");
    EXPECT_NE(inf.find("\r\nshell\\Run=Welcome\r\n"), std::string::npos) << inf;
    EXPECT_NE(inf.find("\r\nlabel=Welcome\r\n"), std::string::npos) << inf;

    // config.ini's title read as the window would show it: up to a second colon.
    w.fs.AddFile(w.Content("config.ini"), Menu("Messe: Halle 3", {}));
    editor.AutoRunReset_Click();
    EXPECT_NE(w.fs.Content("C:\\Menu\\autorun.inf").find("\r\nlabel=Messe\r\n"), std::string::npos);
}

}  // namespace
