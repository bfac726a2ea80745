// orvelund-check on media in the fake file system, one group per area of the check.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "check/Checker.h"
#include "check/MediumIndex.h"
#include "check/MenuWalk.h"
#include "check/Text.h"
#include "check/WebPage.h"
#include "common/CodePages.h"
#include "content/DefaultContent.h"
#include "platform/MainWindowDesign.h"
#include "tests/CheckMedium.h"
#include "tests/CodePageTexts.h"
#include "tests/PictureFiles.h"
#include "tests/fakes/FakeMedium.h"
#include "tests/fakes/World.h"

namespace {

namespace pf = picturefiles;
using checktest::Inf;
using checktest::kHeader;
using checktest::Program;
using checktest::SizedMedium;

std::string ReadData(const std::string& name) {
    std::ifstream in(std::string(ORVELUND_TEST_DATA) + "/" + name, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

struct Check : checktest::MediumTest {};

using ::testing::ElementsAre;

// ---- the menu file -----------------------------------------------------------------------------

TEST_F(Check, SoundMenuHasNoProblems) {
    Menu({"Manual,Read the manual,docs\\manual.pdf,open", "Web,Our site,http://www.example.com,open",
          "Files,All files,.,explore"});
    EXPECT_TRUE(Problems().empty()) << ::testing::PrintToString(Problems());
    const auto r = Run();
    EXPECT_EQ(r.report.entries, 3u);
    EXPECT_EQ(r.report.ExitStatus(), 0);
    EXPECT_EQ(r.menu.caption, "Demo");
    ASSERT_EQ(r.menu.entries.size(), 3u);
    EXPECT_EQ(r.menu.entries[0].link, "docs\\manual.pdf");
    EXPECT_EQ(r.menu.entries[2].target, CheckedEntry::Target::Folder);
}

TEST_F(Check, MissingOrUnreadableMenuIsAnError) {
    EXPECT_EQ(Found("E-MENU-MISSING").size(), 1u);
    EXPECT_EQ(Run().report.ExitStatus(), 1);
    Menu({"A,a,docs\\manual.pdf,open"});
    fs.Lock(root + "\\content\\config.ini");
    EXPECT_EQ(Found("E-MENU-UNREADABLE").size(), 1u);
}

TEST_F(Check, EncodingIsNamedAndUtf8WithoutMarkReadsAsTheProgramReadsIt) {
    Menu({"Caf\xC3\xA9,Men\xC3\xBC,docs\\manual.pdf,open"});
    EXPECT_TRUE(Problems().empty());
    EXPECT_EQ(Run().menu.entries.at(0).entry.Button, "Caf\xC3\xA9");  // UTF-8, as the program reads it

    Menu({"Caf\xE9,Men\xFC,docs\\manual.pdf,open"});  // Windows-1252: read alike only on Western PCs
    EXPECT_THAT(Problems(), ElementsAre("W-CODE-PAGE"));
    EXPECT_EQ(Run().menu.entries.at(0).entry.Button, "Caf\xC3\xA9");

    Put("content\\config.ini", ReadData("bad/utf16le.ini"));
    const auto notes = Found("N-MENU-ENCODING");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].what.find("UTF-16"), std::string::npos);
    EXPECT_EQ(Run().report.entries, 2u);
}

// Every code page an author's Windows may write in, found from the names of the files the menu
// opens and its button pictures, which the medium keeps in Unicode; the report and the page then
// quote and link the text as the author wrote it.
TEST_F(Check, EveryCodePageIsFoundFromTheNamesOnTheMedium) {
    using codepagetexts::InCodePage;
    for (const auto& script : codepagetexts::Scripts()) {
        SCOPED_TRACE(script.codePage);
        fs = FakeFileSystem();
        SetUp();
        Put("docs\\" + script.file, "%PDF");
        Put("content\\" + script.label + ".jpg", pf::Jpeg(137, 33));
        const std::string header = std::string(kHeader).replace(std::string(kHeader).find("Demo"), 4,
                                                                InCodePage(script.codePage, script.title));
        Menu({InCodePage(script.codePage, "Docs," + script.label + ",docs\\" + script.file + ",open"),
              InCodePage(script.codePage, script.label + ",x,docs\\manual.pdf,open")},
             header);
        const CheckResult r = Run();
        std::vector<std::string> problems;
        for (const auto& f : r.report.findings)
            if (f.severity != Severity::Note) problems.push_back(f.code + " " + f.what);
        ASSERT_EQ(problems.size(), 1u) << ::testing::PrintToString(problems);
        EXPECT_EQ(problems[0].find("W-CODE-PAGE config.ini is text in code page " + CodePageLabel(script.codePage) +
                                   ", without"), 0u) << problems[0];
        EXPECT_NE(problems[0].find("The code page was found from the names"), std::string::npos) << problems[0];
        EXPECT_EQ(r.menu.caption, script.title);
        ASSERT_EQ(r.menu.entries.size(), 2u);
        EXPECT_EQ(r.menu.entries[0].entry.Label, script.label);
        EXPECT_EQ(r.menu.entries[0].link, "docs\\" + script.file);
        EXPECT_EQ(r.menu.entries[1].picture, "content\\" + script.label + ".jpg");
        const std::string page = MenuPage(r);
        EXPECT_NE(page.find("<h1 dir=\"auto\">" + script.title), std::string::npos);
        EXPECT_NE(page.find("href=\"" + RelativeUrl("docs\\" + script.file) + "\""), std::string::npos);
    }
}

TEST_F(Check, ACodePageNothingDecidesIsAssumedAndHowToGiveItIsSaid) {
    using codepagetexts::InCodePage;
    const std::string russian = "\xd0\x9a\xd0\xb0\xd1\x82\xd0\xb0\xd0\xbb\xd0\xbe\xd0\xb3";  // Каталог
    const std::string header = std::string(kHeader).replace(std::string(kHeader).find("Demo"), 4,
                                                            InCodePage(1251, russian));
    // Only the title holds letters beyond ASCII: its bytes are text in most code pages.
    Menu({"Docs,Manual,docs\\manual.pdf,open"}, header);
    auto found = Found("W-CODE-PAGE");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0].what.find("code page 1252, Western European,"), std::string::npos) << found[0].what;
    EXPECT_NE(found[0].what.find("The code page is assumed, as nothing on the medium tells"), std::string::npos);
    EXPECT_NE(found[0].what.find("--code-page N"), std::string::npos);

    // The author says which: the title reads as written.
    FakeMedium medium(fs, root);
    CheckOptions options;
    options.codePage = 1251;
    const CheckResult given = CheckMedium(medium, options);
    EXPECT_EQ(given.menu.caption, russian);
    // On a Russian Windows the checker's own code page is the one taken.
    options = CheckOptions();
    options.fallbackCodePage = 1251;
    EXPECT_EQ(CheckMedium(medium, options).menu.caption, russian);

    // A name on the medium decides between code pages whose letters the bytes fit alike: 0xF8 is
    // "ø" in Windows-1252 and "ř" in Central European 1250.
    Put("docs\\P\xc5\x99\xc3\xadru\xc4\x8dka.pdf", "%PDF");  // Příručka.pdf
    Menu({InCodePage(1250, "Docs,P\xc5\x99\xc3\xadru\xc4\x8dka,docs\\P\xc5\x99\xc3\xadru\xc4\x8dka.pdf,open")});
    EXPECT_TRUE(Found("E-TARGET-MISSING").empty());
    found = Found("W-CODE-PAGE");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0].what.find("1250, Central European,"), std::string::npos);
    EXPECT_NE(found[0].what.find("The code page was found from the names"), std::string::npos);

    // Names that read alike in several code pages leave the choice open, and the finding names them.
    Put("docs\\Caf\xc3\xa9.pdf", "%PDF");
    Menu({"Docs,Caf\xe9,docs\\Caf\xe9.pdf,open"});
    found = Found("W-CODE-PAGE");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0].what.find("The code page is assumed: the names on the medium that it names read alike in "
                                 "1252, Western European; 1250, Central European"),
              std::string::npos) << found[0].what;
}

TEST_F(Check, AnAutorunFileInACodePageIsReadInItAndWarnedAbout) {
    using codepagetexts::InCodePage;
    const std::string title = "\xe8\xa3\xbd\xe5\x93\x81\xe3\x82\xab\xe3\x82\xbf\xe3\x83\xad\xe3\x82\xb0";  // 製品カタログ
    Put("docs\\\xe8\xb3\x87\xe6\x96\x99.pdf", "%PDF");  // 資料.pdf
    Menu({InCodePage(932, "Docs,x,docs\\\xe8\xb3\x87\xe6\x96\x99.pdf,open")},
         std::string(kHeader).replace(std::string(kHeader).find("Demo"), 4, InCodePage(932, title)));
    Put("autorun.inf", InCodePage(932, Inf({"[AutoRun]", "open=Orvelund.exe", "icon=content\\app.ico,0",
                                            "label=" + title})));
    const auto r = Run();
    std::vector<std::string> files;
    for (const auto& f : r.report.findings)
        if (f.code == "W-CODE-PAGE") files.push_back(f.file + ": " + f.what.substr(f.what.find("The code page")));
    EXPECT_THAT(files, ElementsAre("content\\config.ini: The code page was found from the names of the files and "
                                   "folders on the medium that it names.",
                                   "autorun.inf: The code page is the one the menu file was found in."));
    for (const auto& f : r.report.findings) EXPECT_NE(f.code, "N-AUTORUN-STALE") << f.what;  // the label reads as the title
}

TEST_F(Check, SettingsTheProgramReadsDifferentlyThanMeant) {
    Menu({"A,a,docs\\manual.pdf,open"}, std::string(kHeader).replace(std::string(kHeader).find("TITLE:Demo"), 10,
                                                                      "TITLE:Demo: the menu"));
    auto colon = Found("W-TITLE-COLON");
    ASSERT_EQ(colon.size(), 1u);
    EXPECT_EQ(colon[0].line, 3u);
    EXPECT_EQ(Run().menu.caption, "Demo");

    // Both colour lines of these files are bad.
    Put("content\\config.ini", ReadData("bad/colour-not-a-number.ini"));
    EXPECT_EQ(Found("W-COLOR-INVALID").size(), 2u);
    Put("content\\config.ini", ReadData("bad/colour-out-of-range.ini"));
    EXPECT_EQ(Found("W-COLOR-INVALID").size(), 2u);
    Put("content\\config.ini", ReadData("bad/colour-hexadecimal.ini"));  // &HFF converts, 0xFF does not
    const auto hex = Found("W-COLOR-INVALID");
    ASSERT_EQ(hex.size(), 1u);
    EXPECT_EQ(hex[0].line, 5u);
    for (const char* file : {"hidesetup-trailing-blank.ini", "hidesetup-small-letters.ini", "hidesetup-word.ini",
                             "hidesetup-leading-zero.ini"}) {
        Put("content\\config.ini", ReadData(std::string("bad/") + file));
        EXPECT_EQ(Found("W-HIDESETUP-VALUE").size(), 1u) << file;
    }
    Put("content\\config.ini", ReadData("bad/settings-missing.ini"));  // lines 3 to 6 empty
    EXPECT_THAT(Problems(), ::testing::IsSupersetOf({"W-TITLE-MISSING", "W-HIDESETUP-VALUE"}));
    EXPECT_EQ(Run().menu.caption, "Talvenor");
    // An extra header line moves every setting down by one.
    Menu({"A,a,docs,open"}, std::string("## extra\r\n") + kHeader);
    const auto shifted = Found("W-MENU-SHIFTED");
    ASSERT_EQ(shifted.size(), 1u);
    EXPECT_EQ(shifted[0].line, 3u);
}

TEST_F(Check, EntriesThatDoNothingOrSplitWrongly) {
    Menu({"Short,only a label", "Extra,Read me, please,docs\\manual.pdf,open", "## note,x,docs\\manual.pdf,open",
          ",no name,docs\\manual.pdf,open"});
    const auto problems = Problems();
    for (const char* code : {"E-ENTRY-SHORT", "W-ENTRY-EXTRA-FIELDS", "W-ENTRY-COMMENT", "W-ENTRY-NO-NAME"})
        EXPECT_EQ(std::count(problems.begin(), problems.end(), code), 1) << code;
    const auto shortEntry = Found("E-ENTRY-SHORT");
    EXPECT_EQ(shortEntry.at(0).line, 9u);
    EXPECT_EQ(shortEntry.at(0).entry, "Short");
}

TEST_F(Check, BadInputGivesFindingsNeverACrash) {
    for (const char* file : {"binary-garbage.ini", "empty.ini", "header-only.ini", "nul-bytes.ini",
                             "forty-thousand-commas.ini", "one-mib-line.ini", "cr-only.ini", "utf16be.ini",
                             "long-title.ini"}) {
        Put("content\\config.ini", ReadData(std::string("bad/") + file));
        const auto r = Run();
        EXPECT_FALSE(r.report.findings.empty()) << file;
    }
    Put("content\\config.ini", ReadData("bad/binary-garbage.ini"));
    EXPECT_FALSE(Found("W-MENU-BINARY").empty());
    Put("content\\config.ini", ReadData("bad/empty.ini"));
    EXPECT_EQ(Found("E-MENU-NO-ENTRIES").size(), 1u);
}

TEST_F(Check, HundredThousandEntriesAreOneFindingPastTheScrollLimit) {
    Put("content\\config.ini", ReadData("bad/hundred-thousand-entries.ini"));
    const auto never = Found("E-ENTRY-NEVER-SHOWN");
    ASSERT_EQ(never.size(), 1u);
    // The deepest view starts 32,767 entries down and shows ten: entry 32,778 is the first never shown.
    EXPECT_EQ(never[0].line, 8u + 32778u);
    EXPECT_NE(never[0].what.find("32,767"), std::string::npos);
    EXPECT_EQ(Found("W-MENU-TOO-MANY").size(), 1u);
}

// ---- paging ------------------------------------------------------------------------------------

std::vector<std::string> Entries(int from, int to) {
    std::vector<std::string> e;
    for (int i = from; i <= to; ++i) e.push_back("B" + std::to_string(i) + ",L" + std::to_string(i) + ",docs\\manual.pdf,open");
    return e;
}

TEST_F(Check, EntriesBehindAGapThatNextNeverReachesAreNeverShown) {
    auto menu = Entries(1, 3);
    menu.push_back("");
    for (auto& e : Entries(5, 6)) menu.push_back(e);
    Menu(menu);
    const auto never = Found("E-ENTRY-NEVER-SHOWN");
    ASSERT_EQ(never.size(), 1u);
    EXPECT_EQ(never[0].line, 13u);
    EXPECT_NE(never[0].what.find("lines 13 to 14"), std::string::npos);
    EXPECT_NE(never[0].what.find("empty line 12"), std::string::npos);
    EXPECT_TRUE(Found("W-MENU-GAP").empty());
    const auto r = Run();
    EXPECT_TRUE(r.menu.entries[2].shown);
    EXPECT_FALSE(r.menu.entries[3].shown);
}

TEST_F(Check, EntriesReachedOnlyByPagingPastAGapAreAWarning) {
    auto menu = Entries(1, 3);
    menu.push_back("");
    for (auto& e : Entries(5, 14)) menu.push_back(e);
    Menu(menu);
    EXPECT_TRUE(Found("E-ENTRY-NEVER-SHOWN").empty());
    const auto gap = Found("W-MENU-GAP");
    ASSERT_EQ(gap.size(), 1u);
    EXPECT_EQ(gap[0].line, 12u);
    // With the empty line at the top the window keeps the buttons of the view before.
    EXPECT_NE(gap[0].what.find("other entries"), std::string::npos);
}

TEST_F(Check, TrailingEmptyLinesOfTheFirstRunMenuAreNoGap) {
    auto menu = Entries(1, 4);
    for (int i = 0; i < 8; ++i) menu.push_back("");
    Menu(menu);
    EXPECT_TRUE(Problems().empty()) << ::testing::PrintToString(Problems());
}

// What the menu window shows when a user presses Next until it is hidden: the labels inside the
// window (the rows its height leaves visible), collected from the real window behaviour.
std::vector<bool> ShownByClicking(const std::vector<std::string>& entries) {
    World w;
    w.WriteMenu(entries);
    w.main.Form_Load();
    std::vector<bool> shown(entries.size(), false);
    auto collect = [&] {
        int rows = 0;
        for (int k = 1; k <= 10; ++k)
            if (w.form.height == kWindowHeightTable[k]) rows = k;
        for (int k = 0; k < rows; ++k) {
            const std::size_t entry = static_cast<std::size_t>(w.main.ScrollOffset() + k);
            // A view that begins with an empty line changes nothing: the rows still show the view before.
            if (entry < entries.size() && w.main.MenuLines()[1] != "" &&
                w.form.Text(MainCtl::LblMenu(k)) == menufile::EntryFromLine(entries[entry]).Label)
                shown[entry] = true;
        }
    };
    collect();
    for (int guard = 0; w.form.ControlVisible(MainCtl::BtnNext) && guard < 1000; ++guard) {
        w.main.btnNext_Click();
        collect();
    }
    return shown;
}

TEST(CheckPaging, WalkAgreesWithTheWindowOnRandomMenus) {
    std::mt19937 random(17);
    for (int round = 0; round < 300; ++round) {
        const std::vector<std::string> entries = checktest::RandomEntries(random, "x");
        std::vector<std::string> lines = {"h1", "h2", "TITLE:T", "BTCOLOR:0", "BGCOLOR:0", "HIDESETUP:0", "h7", "h8"};
        lines.insert(lines.end(), entries.begin(), entries.end());
        const MenuWalk walk = WalkMenu(lines);
        const auto expected = ShownByClicking(entries);
        std::vector<bool> got(walk.shown.begin(), walk.shown.end());
        got.resize(entries.size(), false);
        ASSERT_EQ(got, expected) << "round " << round << ": " << ::testing::PrintToString(entries);
    }
}

// ---- targets -----------------------------------------------------------------------------------

TEST_F(Check, TargetsThatExistOnlyOnTheAuthorsPC) {
    Menu({"A,a,C:\\Users\\me\\manual.pdf,open", "B,b,\\\\server\\share\\x.pdf,open", "C,c,..\\..\\x.pdf,open",
          "D,d,docs\\missing.pdf,open", "E,e,,open"});
    EXPECT_THAT(Problems(), ElementsAre("E-TARGET-ABSOLUTE", "E-TARGET-ABSOLUTE", "E-TARGET-OUTSIDE",
                                        "E-TARGET-MISSING", "E-TARGET-EMPTY"));
    const auto r = Run();
    for (const auto& e : r.menu.entries) EXPECT_TRUE(e.error) << e.entry.Button;
}

TEST_F(Check, TargetsResolveAsTheProgramResolvesThem) {
    Put("content\\instructions.htm", "<html>");
    Menu({"A,a,content\\..\\docs\\MANUAL.PDF,open", "B,b,docs/manual.pdf,open", "C,c,\\docs\\manual.pdf,open",
          "D,d,content\\instructions.htm.,open", "E,e,..,explore"});
    EXPECT_THAT(Problems(), ElementsAre("E-TARGET-OUTSIDE"));
    EXPECT_EQ(Found("N-TARGET-CASE").size(), 1u);
    EXPECT_EQ(Found("N-TARGET-DRIVE-ROOT").size(), 1u);
    EXPECT_EQ(Run().menu.entries[0].link, "docs\\manual.pdf");  // the medium's spelling
}

TEST_F(Check, WebAddressesTheProgramDoesNotRecognise) {
    Menu({"A,a,http://example.com,open", "B,b,www.example.com,open", "C,c,https://example.com,open",
          "D,d,HTTP://EXAMPLE.COM,open", "E,e, http://example.com,open", "F,f,WWW.example.com,open"});
    // Any URL scheme, in any letters, reaches the browser; a blank before it or "WWW" in capitals does not.
    EXPECT_THAT(Problems(), ElementsAre("E-TARGET-NOT-WEB", "E-TARGET-NOT-WEB"));
    const auto r = Run();
    for (int i : {0, 2, 3}) EXPECT_EQ(r.menu.entries[i].target, CheckedEntry::Target::Web) << i;
    EXPECT_EQ(r.menu.entries[1].link, "www.example.com");
}

TEST_F(Check, BlanksAfterTheCommasAreShownWithTheirFix) {
    Menu({"A,a, docs\\manual.pdf,open", "B,b,docs\\manual.pdf, open"});
    const auto missing = Found("E-TARGET-MISSING");
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_NE(missing[0].fix.find("Remove the blank"), std::string::npos);
    EXPECT_EQ(Found("E-ACTION-BLANK").size(), 1u);
}

TEST_F(Check, ActionsThatDoNotFitTheTarget) {
    Menu({"A,a,docs\\manual.pdf,explore", "B,b,docs,print", "C,c,docs\\manual.pdf,play", "D,d,docs\\manual.pdf,",
          "E,e,docs\\manual.pdf,Open"});
    EXPECT_THAT(Problems(), ElementsAre("W-ACTION-EXPLORE-FILE", "W-ACTION-FOLDER", "W-ACTION-UNKNOWN", "W-ACTION-EMPTY"));
}

// ---- pictures ----------------------------------------------------------------------------------

TEST_F(Check, ButtonPicturesThatCannotBeShownOrDoNotFit) {
    Put("content\\Broken.jpg", pf::Jpeg(137, 33).substr(0, 10));
    Put("content\\Wide.jpg", pf::Png(300, 33));
    Put("content\\Small.jpg", pf::Bmp(100, 20, 24));
    Put("content\\Fits.jpg", pf::Gif(137, 33));
    std::string absurd = pf::Bmp(137, 33, 24);
    pf::SetU32(absurd, 18, 0x7FFFFFFF);  // a width no file can hold
    Put("content\\Absurd.jpg", absurd);
    Put("content\\Stray.jpg", pf::Jpeg(137, 33));
    Menu({"Broken,a,docs,open", "Wide,b,docs,open", "Small,c,docs,open", "Fits,d,docs,open", "Absurd,e,docs,open",
          "Broken,f,docs,open"});
    EXPECT_THAT(Problems(), ElementsAre("E-PICTURE-BROKEN", "W-PICTURE-CLIPPED", "E-PICTURE-BROKEN"));
    EXPECT_EQ(Found("N-PICTURE-SMALL").size(), 1u);
    const auto unused = Found("N-PICTURE-UNUSED");
    ASSERT_EQ(unused.size(), 1u);
    EXPECT_EQ(unused[0].file, "content\\Stray.jpg");
    const auto r = Run();
    EXPECT_EQ(r.menu.entries[3].picture, "content\\Fits.jpg");
    EXPECT_EQ(r.menu.entries[0].picture, "");
    EXPECT_TRUE(r.menu.entries[5].error);  // the second entry with the broken picture
}

TEST_F(Check, MainPictureAndIcon) {
    Menu({"A,a,docs,open"});
    Put("content\\app.jpg", pf::Jpeg(800, 600));
    Put("content\\app.ico", pf::Png(32, 32));
    EXPECT_THAT(Problems(), ElementsAre("W-PICTURE-CLIPPED", "W-ICON-BROKEN"));
    FakeFileSystem empty;
    fs = empty;
    SetUp();
    fs.Delete(root + "\\content\\app.jpg");
    Menu({"A,a,docs,open"});
    EXPECT_THAT(Problems(), ElementsAre("W-MAIN-PICTURE-MISSING"));
}

// ---- autorun.inf -------------------------------------------------------------------------------

TEST_F(Check, ARenamedProgramIsFoundThroughAutoRun) {
    Menu({"A,a,docs,open"});
    ASSERT_TRUE(Found("E-PROGRAM-MISSING").empty());  // the fixture's medium holds Orvelund.exe
    fs.Delete(root + "\\Orvelund.exe");
    Put("Start.exe", Program(0x14C));
    EXPECT_EQ(Found("E-PROGRAM-MISSING").size(), 1u);  // no autorun.inf names it
    Put("autorun.inf", Inf(AutoRunLines("Demo", true, "Start.exe")));
    EXPECT_TRUE(Found("E-PROGRAM-MISSING").empty());
    EXPECT_TRUE(Found("E-AUTORUN-PROGRAM-MISSING").empty());
}

TEST_F(Check, AutoRunWrittenByTheMenuEditorIsSound) {
    Menu({"A,a,docs,open"});
    EXPECT_EQ(Found("N-AUTORUN-MISSING").size(), 1u);
    Put("autorun.inf", Inf(AutoRunLines("Demo", true, "Orvelund.exe")));
    EXPECT_TRUE(Problems().empty()) << ::testing::PrintToString(Problems());
    EXPECT_EQ(Found("N-AUTORUN-USB").size(), 1u);
    EXPECT_TRUE(Found("N-AUTORUN-STALE").empty());
}

TEST_F(Check, AutoRunThatStartsNothingOrShowsTooMuch) {
    Menu({"A,a,docs,open"});
    Put("autorun.inf", Inf({"[AutoRun]", "open=Menu.exe", "icon=content\\drive.ico,0",
                            "label=A label that is far too long for any drive"}));
    Put("content\\autorun.inf", Inf(AutoRunLines("Demo", false, "Orvelund.exe")));
    EXPECT_THAT(Problems(), ElementsAre("W-AUTORUN-NOT-ROOT", "E-AUTORUN-PROGRAM-MISSING", "W-AUTORUN-ICON-MISSING",
                                        "W-AUTORUN-LABEL-LONG"));
    EXPECT_EQ(Found("N-AUTORUN-STALE").size(), 1u);
    Put("autorun.inf", Inf({"open=Orvelund.exe"}));
    EXPECT_THAT(Problems(), ElementsAre("W-AUTORUN-NOT-ROOT", "E-AUTORUN-NO-SECTION"));
}

// ---- names and sizes ---------------------------------------------------------------------------

TEST_F(Check, NamesThatWindowsOrTheMediumCannotHold) {
    Menu({"A,a,docs,open"});
    Put("docs\\CON.txt", "x");
    Put("docs\\nul", "x");
    Put("docs\\what?.txt", "x");
    Put("docs\\trailing.", "x");
    Put("docs\\" + std::string(65, 'n') + ".txt", "x");
    Put(std::string(120, 'a') + "\\" + std::string(120, 'b') + ".txt", "x");
    Put("content\\config.ini.~4242.tmp", "x");
    const auto problems = Problems();
    EXPECT_EQ(std::count(problems.begin(), problems.end(), "E-NAME-RESERVED"), 2);
    EXPECT_EQ(std::count(problems.begin(), problems.end(), "E-NAME-CHARACTERS"), 1);
    EXPECT_EQ(std::count(problems.begin(), problems.end(), "E-NAME-TRAILING"), 1);
    EXPECT_EQ(std::count(problems.begin(), problems.end(), "W-NAME-LONG"), 3);  // 69, 120 and 124 characters
    EXPECT_EQ(std::count(problems.begin(), problems.end(), "W-PATH-LONG"), 1);
    EXPECT_EQ(std::count(problems.begin(), problems.end(), "W-TEMP-FILE"), 1);
}

TEST_F(Check, SizesAgainstFatAndDiscs) {
    Menu({"A,a,docs,open"});
    auto run = [&](std::uint64_t size) {
        SizedMedium medium(fs, root);
        medium.extra.push_back({"video.mp4", false, size, true});
        return CheckMedium(medium).report;
    };
    auto codes = [](const Report& r, const std::string& code) {
        std::vector<std::string> what;
        for (const auto& f : r.findings)
            if (f.code == code) what.push_back(f.what);
        return what;
    };
    EXPECT_NE(codes(run(1000), "N-MEDIUM-SIZE").at(0).find("fit on a CD"), std::string::npos);
    EXPECT_NE(codes(run(kCdBytes + 1), "N-MEDIUM-SIZE").at(0).find("fit on a DVD"), std::string::npos);
    const auto big = run(std::uint64_t(5) << 30);
    EXPECT_EQ(codes(big, "W-FILE-4GIB").size(), 1u);
    EXPECT_NE(codes(big, "N-MEDIUM-SIZE").at(0).find("dual-layer"), std::string::npos);
    EXPECT_EQ(codes(run(kDualLayerDvdBytes + 1), "W-MEDIUM-TOO-BIG").size(), 1u);
    EXPECT_TRUE(codes(run((std::uint64_t(1) << 32) - 1), "W-FILE-4GIB").empty());
}

TEST_F(Check, UnreadableFilesAreNamed) {
    Menu({"A,a,docs\\manual.pdf,open"});
    fs.Lock(root + "\\docs\\manual.pdf");
    EXPECT_THAT(Problems(), ElementsAre("W-UNREADABLE"));
}

// ---- the program -------------------------------------------------------------------------------

TEST_F(Check, TheProgramAtTheRootAndItsBitness) {
    Menu({"A,a,docs,open"});
    Put("Orvelund.exe", Program(0x8664));
    EXPECT_THAT(Problems(), ElementsAre("W-PROGRAM-64BIT"));
    Put("Orvelund.exe", "not a program");
    EXPECT_THAT(Problems(), ElementsAre("E-PROGRAM-BROKEN"));
    fs.Delete(root + "\\Orvelund.exe");
    Put("menu\\Orvelund.exe", Program(0x14C));
    const auto missing = Found("E-PROGRAM-MISSING");
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_NE(missing[0].what.find("menu\\Orvelund.exe"), std::string::npos);
}

// ---- the first-run medium ----------------------------------------------------------------------

TEST(CheckFirstRun, TheMediumAFirstStartWritesHasNoProblems) {
    World w("C:\\Stick");
    w.dialogs.answers = {mb::Yes};
    w.main.Form_Load();
    ASSERT_TRUE(w.fs.Has(w.Content("config.ini")));
    // The fake pictures are stand-ins; the real program saves bitmaps of the built-in pictures' sizes.
    for (const char* name : {"Instructions.jpg", "Website.jpg", "Explore.jpg", "Updates.jpg"})
        w.fs.AddFile(w.Content(name), pf::Bmp(137, 33, 24));
    w.fs.AddFile(w.Content("app.jpg"), pf::Bmp(624, 213, 24));
    w.fs.AddFile(w.Content("app.ico"), pf::Ico({pf::IcoBitmap(64, 64, 24)}));
    w.fs.AddFile("C:\\Stick\\Orvelund.exe", Program(0x14C));

    FakeMedium medium(w.fs, "C:\\Stick");
    const auto r = CheckMedium(medium);
    EXPECT_EQ(r.report.Count(Severity::Error), 0u);
    EXPECT_EQ(r.report.Count(Severity::Warning), 0u);
    for (const auto& f : r.report.findings) EXPECT_EQ(f.severity, Severity::Note) << f.code << ": " << f.what;
    EXPECT_EQ(r.report.entries, 4u);
    for (const auto& e : r.menu.entries) {
        EXPECT_TRUE(e.shown);
        EXPECT_FALSE(e.picture.empty()) << e.entry.Button;
    }
}

// ---- pieces ------------------------------------------------------------------------------------

TEST(CheckPieces, FoldingComparesNamesAsWindowsDoes) {
    EXPECT_EQ(MediumIndex::Fold("Content/Übersicht.PDF"), MediumIndex::Fold("content\\übersicht.pdf"));
    EXPECT_EQ(MediumIndex::Fold("ŁÓDŹ"), MediumIndex::Fold("łódź"));
    EXPECT_EQ(MediumIndex::Fold("МЕНЮ"), MediumIndex::Fold("меню"));
    EXPECT_NE(MediumIndex::Fold("a"), MediumIndex::Fold("b"));
    MediumIndex index({{"Docs", true, 0, true}, {"Docs\\Read Me.txt", false, 3, true}});
    ASSERT_NE(index.Find("docs/READ ME.TXT"), nullptr);
    EXPECT_EQ(index.Find("docs/READ ME.TXT")->path, "Docs\\Read Me.txt");
    EXPECT_EQ(index.Find("docs\\other.txt"), nullptr);
}

TEST(CheckPieces, TextIsDecodedAsTheProgramReadsIt) {
    const CodePage& cp1252 = FakeFileSystem::CodePage();
    EXPECT_EQ(DecodeText("\x80 \xE9", cp1252).utf8, "\xE2\x82\xAC \xC3\xA9");  // Windows-1252
    EXPECT_TRUE(DecodeText("caf\xC3\xA9", cp1252).utf8WithoutMark);
    EXPECT_FALSE(DecodeText("caf\xE9", cp1252).utf8WithoutMark);
    // Each line on its own, as the program reads it: one in UTF-8, one in the code page.
    EXPECT_EQ(DecodeText("caf\xC3\xA9\r\ncaf\xE9", cp1252).utf8, "caf\xC3\xA9\r\ncaf\xC3\xA9");
    EXPECT_EQ(DecodeText("\xEF\xBB\xBFx\xFF", cp1252).utf8, "x\xEF\xBF\xBD");
    EXPECT_EQ(Utf16Length("a\xC3\xA9\xF0\x9F\x98\x80"), 4u);  // a, é, and an emoji in two units
}

TEST(CheckPieces, ReportsAreGroupedAndJsonIsEscaped) {
    Report r;
    r.entries = 1;
    r.files = 2;
    r.findings = {{Severity::Note, "N-X", "a", 0, "", "note", ""},
                  {Severity::Error, "E-X", "content\\config.ini", 9, "Say \"hi\"", "bad\x01\xFF", "fix"}};
    const std::string text = FormatText(r);
    EXPECT_LT(text.find("E-X"), text.find("N-X"));
    EXPECT_EQ(text.substr(text.rfind('\n', text.size() - 2) + 1), "1 entry, 2 files, 1 error, 0 warnings, 1 note\n");
    const std::string json = FormatJson(r);
    EXPECT_NE(json.find(R"("file": "content\\config.ini", "line": 9, "entry": "Say \"hi\"", "what": "bad\u0001)"
                        "\xEF\xBF\xBD\""),
              std::string::npos)
        << json;
    EXPECT_EQ(r.ExitStatus(), 1);
}

}  // namespace
