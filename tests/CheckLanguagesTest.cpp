// orvelund-check on media with a menu per language: each language's menu checked as a menu of its
// own, names of that form that are no language, menus that drifted apart from config.ini, and
// the pages --web writes for them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "check/CommandLine.h"
#include "check/LanguageNames.h"
#include "check/WebPage.h"
#include "tests/CheckMedium.h"
#include "tests/PictureFiles.h"

namespace {

namespace pf = picturefiles;
namespace fsys = std::filesystem;
using checktest::kHeader;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

struct CheckLanguages : checktest::MediumTest {
    // content\config.<tag>.ini: the Menu Editor's header with its own title, and these entries.
    void LanguageMenu(const std::string& tag, const std::vector<std::string>& entries, const std::string& title = "Demo") {
        std::string text = kHeader;
        text.replace(text.find("TITLE:Demo"), 10, "TITLE:" + title);
        for (const auto& e : entries) text += e + "\r\n";
        Put("content\\config." + tag + ".ini", text);
    }
    std::vector<Finding> In(const std::string& file) {
        std::vector<Finding> out;
        for (const auto& f : Run().report.findings)
            if (f.file == file) out.push_back(f);
        return out;
    }
    static std::vector<std::string> Codes(const std::vector<Finding>& findings) {
        std::vector<std::string> codes;
        for (const auto& f : findings) codes.push_back(f.code);
        return codes;
    }
};

TEST_F(CheckLanguages, EachLanguagesMenuIsCheckedAsAMenuOfItsOwn) {
    Menu({"Manual,Read the manual,docs\\manual.pdf,open", "Web,Our site,http://www.example.com,open"});
    Put("content\\Handbuch.jpg", pf::Jpeg(137, 33).substr(0, 10));  // only the German menu names it
    LanguageMenu("de", {"Handbuch,Das Handbuch,docs\\handbuch.pdf,open", "Web,Unsere Seite,http://www.example.com,",
                        "Kurz", "", "Später,Nie gezeigt,docs\\manual.pdf,open"},
                 "Demo: Deutsch");
    LanguageMenu("pt-br", {"Manual,O manual,docs\\manual.pdf,open", "Web,Nosso site,http://www.example.com,open"});
    Put("autorun.inf", checktest::Inf({"[AutoRun]", "open=Orvelund.exe", "icon=content\\app.ico", "label=Demo"}));

    const auto r = Run();
    ASSERT_EQ(r.languages.size(), 2u);
    EXPECT_EQ(r.languages[0].tag, "de");
    EXPECT_EQ(r.languages[0].file, "content\\config.de.ini");
    EXPECT_EQ(r.languages[1].tag, "pt-BR");  // as the program compares it, whatever case the name has
    EXPECT_EQ(r.languages[0].caption, "Demo");
    EXPECT_EQ(r.languages[1].entries.at(0).link, "docs\\manual.pdf");
    EXPECT_EQ(r.menu.caption, "Demo");
    EXPECT_EQ(r.report.entries, 8u);
    EXPECT_EQ(r.report.menus, 3u);
    EXPECT_THAT(SummaryLine(r.report), HasSubstr("8 entries in 3 menus"));
    EXPECT_THAT(FormatJson(r.report), HasSubstr("\"menus\": 3}"));

    // Every check a menu gets, each finding naming the German file and its line.
    const auto de = In("content\\config.de.ini");
    EXPECT_THAT(Codes(de), ::testing::IsSupersetOf({"W-TITLE-COLON", "E-TARGET-MISSING", "W-ACTION-EMPTY",
                                                    "E-ENTRY-SHORT", "E-ENTRY-NEVER-SHOWN", "N-LANGUAGE-DIFFERS"}));
    std::map<std::string, std::size_t> lines;
    for (const auto& f : de) lines[f.code] = f.line;
    EXPECT_EQ(lines["E-TARGET-MISSING"], 9u);
    EXPECT_EQ(lines["E-ENTRY-NEVER-SHOWN"], 13u);
    // config.ini and the Portuguese menu have none of the German menu's faults, and the label of
    // autorun.inf is config.ini's title, whatever the other menus are called.
    EXPECT_THAT(Problems(), ElementsAre("W-TITLE-COLON", "E-TARGET-MISSING", "W-ACTION-EMPTY", "E-ENTRY-SHORT",
                                        "E-ENTRY-NEVER-SHOWN", "E-PICTURE-BROKEN"));
    EXPECT_TRUE(Found("N-AUTORUN-STALE").empty());
    // The picture only the German menu uses: checked, named by the German file's line, and in use.
    const auto broken = Found("E-PICTURE-BROKEN");
    ASSERT_EQ(broken.size(), 1u);
    EXPECT_EQ(broken[0].file, "content\\Handbuch.jpg");
    EXPECT_THAT(broken[0].what, HasSubstr("line 9 of content\\config.de.ini"));
    EXPECT_TRUE(Found("N-PICTURE-UNUSED").empty());
    EXPECT_TRUE(r.languages[0].entries[0].error);
}

TEST_F(CheckLanguages, AMissingConfigIniHidesTheLanguagesMenusToo) {
    LanguageMenu("de", {"Handbuch,Das Handbuch,docs\\manual.pdf,open"});
    const auto missing = Found("E-MENU-MISSING");
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_THAT(missing[0].what, HasSubstr("(content\\config.de.ini) are not shown either"));
    EXPECT_TRUE(Found("N-LANGUAGE-DIFFERS").empty());
}

TEST_F(CheckLanguages, NamesOfTheFormThatAreNoLanguageAreNeverRead) {
    Menu({"Manual,Read the manual,docs\\manual.pdf,open"});
    for (const char* name : {"config.english.ini", "config.de_DE.ini", "config.x1.ini", "Config.Deutsch.INI"})
        Put(std::string("content\\") + name, "anything");
    Put("content\\config.ini.bak", "not of the form");
    Put("docs\\config.xx_YY.ini", "not in the content folder");
    const auto r = Run();
    EXPECT_TRUE(r.languages.empty());  // none of them is checked as a menu
    std::map<std::string, std::string> fixes;
    for (const auto& f : Found("W-LANGUAGE-TAG")) fixes[f.file] = f.fix;
    ASSERT_EQ(fixes.size(), 4u);
    EXPECT_THAT(fixes["content\\config.english.ini"], HasSubstr("Rename it config.en.ini,"));
    EXPECT_THAT(fixes["content\\config.de_DE.ini"], HasSubstr("Rename it config.de-DE.ini,"));
    EXPECT_THAT(fixes["content\\Config.Deutsch.INI"], HasSubstr("Rename it config.de.ini,"));
    EXPECT_THAT(fixes["content\\config.x1.ini"], HasSubstr("Rename it config.<language>.ini,"));
}

TEST_F(CheckLanguages, AMenuThatLeadsElsewhereThanConfigIniIsNotedOnce) {
    Menu({"Manual,Read the manual,docs\\manual.pdf,open", "Web,Our site,http://www.example.com,open",
          "Files,All files,docs,explore", "Root,Everything,.,explore"});
    // Other buttons and labels, the same targets however spelt, and an empty line: nothing to note.
    LanguageMenu("de", {"Handbuch,Das Handbuch,DOCS/Manual.PDF,open", "Netz,Unsere Seite,http://www.example.com,open",
                        "", "Dateien,Alle Dateien,.\\docs,explore", "Alles,Alles,.,explore"});
    EXPECT_TRUE(Found("N-LANGUAGE-DIFFERS").empty());

    // Three targets of four differ: one note, at the first of them.
    LanguageMenu("fr", {"Manuel,Le manuel,docs\\manual.pdf,open", "Web,Notre site,http://www.example.fr,open",
                        "Fichiers,Tous,docs\\manual.pdf,explore", "Racine,Tout,docs,explore"});
    // One entry fewer, else alike; and one more than config.ini has.
    LanguageMenu("it", {"Manuale,Il manuale,docs\\manual.pdf,open", "Web,Il sito,http://www.example.com,open",
                        "File,Tutti,docs,explore"});
    LanguageMenu("es", {"Manual,El manual,docs\\manual.pdf,open", "Web,Sitio,http://www.example.com,open",
                        "Archivos,Todos,docs,explore", "Raíz,Todo,.,explore", "Nuevo,Nuevo,docs\\manual.pdf,open"});
    std::map<std::string, Finding> notes;
    for (const auto& f : Found("N-LANGUAGE-DIFFERS")) notes[f.file] = f;
    ASSERT_EQ(notes.size(), 3u);
    const Finding& fr = notes["content\\config.fr.ini"];
    EXPECT_EQ(fr.line, 10u);
    EXPECT_EQ(fr.entry, "Web");
    EXPECT_THAT(fr.what, HasSubstr("Entry 2 (line 10) opens \"http://www.example.fr\", where entry 2 of "
                                   "content\\config.ini (line 10) opens \"http://www.example.com\"; 2 more entries differ."));
    EXPECT_THAT(fr.fix, HasSubstr("-setup/-lang:fr"));
    const Finding& it = notes["content\\config.it.ini"];
    EXPECT_THAT(it.what, HasSubstr("The menu has 3 entries, content\\config.ini has 4. Entry 4 of content\\config.ini "
                                   "(line 12) has none here."));
    EXPECT_EQ(it.line, 0u);
    const Finding& es = notes["content\\config.es.ini"];
    EXPECT_THAT(es.what, HasSubstr("Entry 5 (line 13) has none in content\\config.ini."));
    EXPECT_EQ(es.entry, "Nuevo");
}

TEST_F(CheckLanguages, TemporaryFilesOfEveryMenuAndPageAreNamedWithTheirFile) {
    Menu({"Manual,Read the manual,docs\\manual.pdf,open"});
    LanguageMenu("de", {"Handbuch,Das Handbuch,docs\\manual.pdf,open"});
    Put("content\\config.de.ini.~4711.tmp", "half a menu");
    Put("content\\config.fr.ini.~12.tmp", "the first save of a French menu");
    Put("menu.de.htm.~815.tmp", "half a page");
    std::map<std::string, std::string> temp;
    for (const auto& f : Found("W-TEMP-FILE")) temp[f.file] = f.what;
    ASSERT_EQ(temp.size(), 3u);
    EXPECT_THAT(temp["content\\config.de.ini.~4711.tmp"],
                HasSubstr("a save of content\\config.de.ini that was interrupted; content\\config.de.ini itself holds"));
    EXPECT_THAT(temp["content\\config.fr.ini.~12.tmp"], HasSubstr("before content\\config.fr.ini was first written"));
    EXPECT_THAT(temp["menu.de.htm.~815.tmp"], HasSubstr("a save of menu.de.htm"));
    EXPECT_EQ(Run().languages.size(), 1u);  // a leftover is no menu
}

TEST_F(CheckLanguages, PagesWrittenForAMenuThatIsGoneAreNoted) {
    Menu({"Manual,Read the manual,docs\\manual.pdf,open"});
    LanguageMenu("de", {"Handbuch,Das Handbuch,docs\\manual.pdf,open"});
    const std::string ours = std::string("<!DOCTYPE html>\n") + kWebGenerator + " 2.1.1 from content\\config.x.ini -->";
    Put("menu.de.htm", ours);
    Put("menu.FR.htm", ours);
    Put("menu.it.htm", "<html>the author's own Italian page</html>");
    const auto stale = Found("N-WEB-PAGE-STALE");
    ASSERT_EQ(stale.size(), 1u);
    EXPECT_EQ(stale[0].file, "menu.FR.htm");
    EXPECT_THAT(stale[0].what, HasSubstr("content\\config.fr.ini, which the medium no longer holds"));
}

TEST(LanguageNames, LanguagesAreNamedInTheirOwnWords) {
    auto own = [](const char* tag) { return OwnName(*menulanguage::ParseLanguageTag(tag)); };
    EXPECT_EQ(own("de"), "Deutsch");
    EXPECT_EQ(own("pt-BR"), "Português (BR)");
    EXPECT_EQ(own("zh-TW"), "繁體中文 (TW)");  // the region's usual script goes without saying
    EXPECT_EQ(own("zh-Hans"), "简体中文");
    EXPECT_EQ(own("sr-Latn-RS"), "Srpski (RS)");
    EXPECT_EQ(own("de-Latn-CH"), "Deutsch (Latn-CH)");
    EXPECT_EQ(own("eu"), "eu");  // not in the table: its tag
    EXPECT_EQ(TagOfLanguageName("FRANCAIS"), "fr");
    EXPECT_EQ(TagOfLanguageName("français"), "fr");
    EXPECT_EQ(TagOfLanguageName("klingon"), std::nullopt);
}

// ---- the pages ---------------------------------------------------------------------------------

TEST_F(CheckLanguages, EveryLanguageHasAPageThatLinksAllOthers) {
    Menu({"Manual,Read the manual,docs\\manual.pdf,open"});
    EXPECT_THAT(MenuPage(Run()), Not(HasSubstr("<nav")));  // one menu: no list of languages
    LanguageMenu("de", {"Handbuch,Das Handbuch,docs\\manual.pdf,open"}, "Handbuch & mehr");
    LanguageMenu("zh-Hant-TW", {"Manual,手冊,docs\\manual.pdf,open"});
    const auto r = Run();
    ASSERT_EQ(r.languages.size(), 2u);
    EXPECT_EQ(PageName(r.menu), "menu.htm");
    EXPECT_EQ(PageName(r.languages[1]), "menu.zh-Hant-TW.htm");

    const std::string base = MenuPage(r), de = MenuPage(r, r.languages[0]);
    // config.ini states no language: undetermined; a language's page has its tag.
    EXPECT_THAT(base, HasSubstr("<html lang=\"und\">"));
    EXPECT_THAT(de, HasSubstr("<html lang=\"de\">"));
    EXPECT_THAT(de, HasSubstr("from content\\config.de.ini."));
    EXPECT_THAT(de, HasSubstr("<h1 dir=\"auto\">Handbuch &amp; mehr</h1>"));
    EXPECT_THAT(de, HasSubstr("href=\"docs/manual.pdf\"><span class=\"button\" dir=\"auto\">Handbuch</span>"));
    const std::string list = "<nav aria-label=\"Languages\" lang=\"en\">\n<ul class=\"languages\">\n"
                             "<li><a href=\"menu.htm\" lang=\"en\"%1>Other languages</a></li>\n"
                             "<li><a href=\"menu.de.htm\" lang=\"de\" hreflang=\"de\"%2>Deutsch</a></li>\n"
                             "<li><a href=\"menu.zh-Hant-TW.htm\" lang=\"zh-Hant-TW\" hreflang=\"zh-Hant-TW\">"
                             "繁體中文 (TW)</a></li>\n</ul>\n</nav>\n<main>\n";
    auto marked = [&](bool first) {
        std::string l = list;
        const std::string current = " aria-current=\"page\"";
        l.replace(l.find("%1"), 2, first ? current : "");
        l.replace(l.find("%2"), 2, first ? "" : current);
        return l;
    };
    EXPECT_THAT(base, HasSubstr("<body>\n" + marked(true)));
    EXPECT_THAT(de, HasSubstr("<body>\n" + marked(false)));
}

// --web on a real folder: a page per language, all of them or none.
struct LanguagePages : checktest::FolderTest {
    LanguagePages() : FolderTest("orvelund-languages-") {}
    void SetUp() override {
        FolderTest::SetUp();
        Write("Orvelund.exe", checktest::Program());
        Write("content/config.ini", std::string(kHeader) + "Manual,Manual,content\\config.ini,open\r\n");
        Write("content/config.de.ini", std::string(kHeader) + "Handbuch,Handbuch,content\\config.de.ini,open\r\n");
    }
    int Run(const std::vector<std::string>& options, std::string& out, std::string& err) {
        std::vector<std::string> args = options;
        args.push_back(folder.string());
        return RunCheck(args, [&](bool toError, const std::string& t) { (toError ? err : out) += t; });
    }
};

TEST_F(LanguagePages, WritesAPagePerLanguageAndNeverOverAnAuthorsPage) {
    std::string out, err;
    EXPECT_EQ(Run({"--web"}, out, err), 0);
    EXPECT_THAT(Read("menu.htm"), HasSubstr("href=\"content/config.ini\""));
    EXPECT_THAT(Read("menu.de.htm"), HasSubstr("href=\"content/config.de.ini\""));
    EXPECT_THAT(err, HasSubstr("wrote " + (folder / "menu.de.htm").string()));
    Write("content/config.de.ini", std::string(kHeader) + "Neu,Neu,content\\config.ini,open\r\n");
    EXPECT_EQ(Run({"--web"}, out, err), 0);
    EXPECT_THAT(Read("menu.de.htm"), HasSubstr(">Neu<"));  // its own page is written again
    for (const auto& item : fsys::directory_iterator(folder))
        EXPECT_EQ(item.path().filename().string().find(".tmp"), std::string::npos) << item.path();

    // The author's own German page: kept, and no page is written, so the pages never link a page
    // that is not theirs.
    Write("menu.de.htm", "<html>Mein Menü</html>");
    Write("content/config.ini", std::string(kHeader) + "Changed,Changed,content\\config.ini,open\r\n");
    err.clear();
    EXPECT_EQ(Run({"--web"}, out, err), 2);
    EXPECT_THAT(err, HasSubstr("menu.de.htm was not written by orvelund-check"));
    EXPECT_EQ(Read("menu.de.htm"), "<html>Mein Menü</html>");
    EXPECT_THAT(Read("menu.htm"), Not(HasSubstr("Changed")));
}

TEST_F(LanguagePages, TwoSpellingsOfOneLanguageAreAClashAndTheFirstNameIsChecked) {
    Write("content/config.DE.ini", std::string(kHeader) + "Gross,Gross,content\\missing.pdf,open\r\n");
    std::string out, err;
    EXPECT_EQ(Run({}, out, err), 1);
    EXPECT_THAT(out, HasSubstr("E-NAME-CASE-CLASH  content\\config.DE.ini\n"));
    EXPECT_THAT(out, HasSubstr("Orvelund shows readers of \"de\" content\\config.DE.ini, the first of the names in "
                               "sort order"));
    // The program's choice is what is checked: the missing file of config.DE.ini, not config.de.ini's entries.
    EXPECT_THAT(out, HasSubstr("E-TARGET-MISSING  content\\config.DE.ini line 9 (\"Gross\")"));
    EXPECT_THAT(out, Not(HasSubstr("content\\config.de.ini line")));
}

}  // namespace
