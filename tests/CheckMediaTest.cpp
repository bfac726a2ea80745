// orvelund-check on what real media hold: addresses that run script, colours the page must keep
// readable, autorun.inf as Windows reads it, names that point nowhere, inputs of any size, and the
// space a disc really takes. One group per kind of medium the checker met.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>

#include "check/Checker.h"
#include "check/CommandLine.h"
#include "check/LineStream.h"
#include "check/MenuWalk.h"
#include "check/Text.h"
#include "check/WebPage.h"
#include "common/Contrast.h"
#include "common/TextLines.h"
#include "tests/CheckMedium.h"
#include "tests/PictureFiles.h"
#include "tests/fakes/FakeMedium.h"

namespace {

namespace pf = picturefiles;
namespace fsys = std::filesystem;
using checktest::Inf;
using checktest::kHeader;
using checktest::Program;
using checktest::SizedMedium;

std::size_t Occurrences(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

struct Media : checktest::MediumTest {};

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

// ---- addresses the page must never link -------------------------------------------------------

TEST_F(Media, ScriptAndFileAddressesAreErrorsAndNeverLinks) {
    Menu({"Js,a,javascript:alert(1),open", "Caps,b,JavaScript:alert(document.cookie),open",
          "Vbs,c,vbscript:msgbox(1),open", "Data,d,data:text/html;base64;PHNjcmlwdD4=,open",
          "Drive,e,file:///C:/Users/author/cat.pdf,open", "Share,f,file://server/share/x.pdf,open"});
    EXPECT_THAT(Problems(), ElementsAre("E-TARGET-SCRIPT", "E-TARGET-SCRIPT", "E-TARGET-SCRIPT", "E-TARGET-SCRIPT",
                                        "E-TARGET-ABSOLUTE", "E-TARGET-ABSOLUTE"));
    const auto r = Run();
    for (const auto& e : r.menu.entries) EXPECT_TRUE(e.error) << e.entry.Button;
    const std::string page = MenuPage(r);
    EXPECT_EQ(Occurrences(page, "<a "), 0u);
    EXPECT_EQ(Occurrences(page, "class=\"problem\" lang=\"en\">Does not open:"), 6u);
    for (const char* scheme : {"href=\"javascript", "href=\"JavaScript", "href=\"vbscript", "href=\"data", "href=\"file"})
        EXPECT_THAT(page, Not(HasSubstr(scheme)));
}

TEST_F(Media, ThePageLinksOnlyWebAndMailAddresses) {
    Menu({"Web,a,https://example.com/a b,open", "Www,b,www.example.com,open", "Mail,c,mailto:info@example.com,open",
          "Settings,d,ms-settings:display,open"});
    EXPECT_TRUE(Problems().empty()) << ::testing::PrintToString(Problems());  // the program opens them all
    const std::string page = MenuPage(Run());
    EXPECT_THAT(page, HasSubstr("href=\"https://example.com/a%20b\""));
    EXPECT_THAT(page, HasSubstr("href=\"http://www.example.com\""));
    EXPECT_THAT(page, HasSubstr("href=\"mailto:info@example.com\""));
    EXPECT_THAT(page, Not(HasSubstr("href=\"ms-settings")));
    EXPECT_EQ(Occurrences(page, "<a "), 3u);
    EXPECT_THAT(page, HasSubstr("ms-settings:"));  // shown, with a note instead of the link
}

// ---- colours ------------------------------------------------------------------------------------

std::uint32_t FromHex(const std::string& css) {  // "#RRGGBB" as 0x00BBGGRR
    const auto v = static_cast<std::uint32_t>(std::stoul(css.substr(1), nullptr, 16));
    return ((v & 0xFF) << 16) | (v & 0xFF00) | (v >> 16);
}

TEST_F(Media, PageTextReadsOnEveryColourTheProgramAccepts) {
    // System colours (negative: 0x80000000 and an index, which the window draws with the PC's
    // scheme), plain colours from black to white, mid greys and saturated ones, and values the
    // window paints by their lower 24 bits.
    const std::vector<std::string> colours = {"-2147483640", "-2147483643", "-2147483633", "-2147483635",
                                              "-2147483631", "-2147483646", "-2147483547", "0", "16777215",
                                              "8421504", "7829367", "255", "65535", "16711680", "-1", "16777216"};
    const std::regex rule(R"((body|\.button|\.label) \{[^}]*?background: ([^;]+);[^}]*?color: ([^;]+);)");
    for (const auto& button : colours) {
        for (const auto& ground : {colours[0], colours[1], colours[7], colours[8], colours[9], colours[10]}) {
            std::string header = kHeader;
            header.replace(header.find("BTCOLOR:16435132"), 16, "BTCOLOR:" + button);
            header.replace(header.find("BGCOLOR:16777215"), 16, "BGCOLOR:" + ground);
            Menu({"Manual,Read the manual,docs\\manual.pdf,open"}, header);
            const std::string page = MenuPage(Run());
            int rules = 0;
            for (auto it = std::sregex_iterator(page.begin(), page.end(), rule); it != std::sregex_iterator(); ++it) {
                const std::string back = (*it)[2], text = (*it)[3];
                ++rules;
                ASSERT_TRUE(std::regex_match(back, std::regex("#[0-9A-F]{6}")) &&
                            std::regex_match(text, std::regex("#[0-9A-F]{6}")))
                    << (*it)[1] << " is " << text << " on " << back << " (BTCOLOR " << button << ", BGCOLOR " << ground
                    << "): only a colour can be checked for contrast";
                EXPECT_GE(ContrastRatio(FromHex(text), FromHex(back)), 4.5)
                    << (*it)[1] << " is " << text << " on " << back << " (BTCOLOR " << button << ", BGCOLOR " << ground << ")";
            }
            EXPECT_EQ(rules, 3) << page;
        }
    }
}

// ---- autorun.inf --------------------------------------------------------------------------------

TEST_F(Media, CommandLinesAndIconsAreReadAsWindowsReadsThem) {
    Menu({"A,a,docs\\manual.pdf,open"});
    // No extension: Windows adds ".exe".
    Put("autorun.inf", Inf({"[AutoRun]", "open=Orvelund", "icon=Orvelund.exe,0", "label=Demo"}));
    EXPECT_TRUE(Problems().empty()) << ::testing::PrintToString(Problems());
    // The first token is the program, the rest its parameters.
    Put("cmdow.exe", Program());
    Put("video.mpg", "video");
    Put("autorun.inf", Inf({"[AutoRun]", "open=cmdow /run /max \\video.mpg", "label=Demo"}));
    EXPECT_TRUE(Problems().empty()) << ::testing::PrintToString(Problems());
    // An icon named with a blank, without quotes.
    Put("My Icon.ico", pf::Ico({pf::IcoBitmap(32, 32, 32)}));
    Put("autorun.inf", Inf({"[AutoRun]", "open=Orvelund.exe", "icon=My Icon.ico", "label=Demo"}));
    EXPECT_TRUE(Problems().empty()) << ::testing::PrintToString(Problems());
    // A renamed program started without its extension is the program.
    fs.Delete(root + "\\Orvelund.exe");
    Put("Start.exe", Program());
    Put("autorun.inf", Inf({"[AutoRun]", "open=Start", "label=Demo"}));
    EXPECT_TRUE(Problems().empty()) << ::testing::PrintToString(Problems());
    // What is missing is still missing.
    Put("autorun.inf", Inf({"[AutoRun]", "open=Setup /quiet", "icon=Drive Icon.ico,0", "label=Demo"}));
    const auto missing = Found("E-AUTORUN-PROGRAM-MISSING");
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_THAT(missing[0].what, HasSubstr("\"Setup.exe\""));
    EXPECT_EQ(Found("W-AUTORUN-ICON-MISSING").size(), 1u);
}

TEST_F(Media, EachProcessorsSectionIsCheckedForTheWindowsThatReadsIt) {
    Menu({"A,a,docs\\manual.pdf,open"});
    Put("autorun.inf", Inf({"[AutoRun.Amd64]", "open=setup64.exe", "", "[AutoRun]", "open=Orvelund.exe", "label=Demo"}));
    auto missing = Found("E-AUTORUN-PROGRAM-MISSING");
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_THAT(missing[0].what, HasSubstr("64-bit Windows"));
    EXPECT_THAT(missing[0].what, HasSubstr("[AutoRun.Amd64]"));
    EXPECT_EQ(missing[0].line, 2u);
    // 64-bit Windows reads only its own section: a label in [AutoRun] does not reach it.
    Put("setup64.exe", Program());
    EXPECT_THAT(Problems(), ::testing::IsEmpty());
    // Only the 64-bit section: 32-bit Windows finds nothing to read.
    Put("autorun.inf", Inf({"[AutoRun.Amd64]", "open=setup64.exe"}));
    const auto none = Found("E-AUTORUN-NO-SECTION");
    ASSERT_EQ(none.size(), 1u);
    EXPECT_THAT(none[0].what, HasSubstr("32-bit Windows"));
}

TEST_F(Media, IconAndLabelOnlySuitAStickButStartNothingFromADisc) {
    Menu({"A,a,docs\\manual.pdf,open"});
    const std::string text = Inf({"[AutoRun]", "icon=content\\app.ico", "label=R\xC3\xA9" "cup\xC3\xA9ration"});
    Put("autorun.inf", "\xFF\xFE" + Utf16LEFromUtf8(text));
    EXPECT_THAT(Problems(), ::testing::IsEmpty());
    const auto notes = Found("N-AUTORUN-ICON-ONLY");
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_THAT(notes[0].what, HasSubstr("USB stick"));
    EXPECT_THAT(notes[0].what, HasSubstr("CD or DVD"));
    EXPECT_TRUE(Found("N-AUTORUN-USB").empty());  // which would say that discs offer the menu
}

// The forms an autorun.inf takes in Microsoft's documentation and on the media of driver discs,
// installers and rescue sticks, each with a first comment line naming the files its medium holds:
// none may give a finding about autorun.inf or the program.
TEST_F(Media, CorpusOfAutoRunFormsHasNoFalseFinding) {
    Menu({"A,a,docs\\manual.pdf,open"});
    std::vector<fsys::path> corpus;
    for (const auto& item : fsys::directory_iterator(std::string(ORVELUND_TEST_DATA) + "/autorun")) corpus.push_back(item.path());
    std::sort(corpus.begin(), corpus.end());
    EXPECT_GE(corpus.size(), 20u);
    for (const auto& path : corpus) {
        fs = FakeFileSystem();
        SetUp();
        Menu({"A,a,docs\\manual.pdf,open"});
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        Put("autorun.inf", bytes.str());
        std::string text = bytes.str();
        if (text.rfind("\xFF\xFE", 0) == 0) text = Utf8FromUtf16(text.data() + 2, text.size() - 2, false);
        const auto medium = text.find("; medium:");
        ASSERT_NE(medium, std::string::npos) << path;
        std::istringstream names(text.substr(medium + 9, text.find('\r', medium) - medium - 9));
        for (std::string name; names >> name;) {
            std::replace(name.begin(), name.end(), '_', ' ');  // a blank inside a name
            const bool program = name.size() > 4 && (name.compare(name.size() - 4, 4, ".exe") == 0 ||
                                                     name.compare(name.size() - 4, 4, ".EXE") == 0);
            if (!fs.Has(root + "\\" + name)) Put(name, program ? Program() : "x");
        }
        bool read = false;  // the file was read: it either starts the menu or only dresses the drive
        for (const auto& f : Run().report.findings) {
            read |= f.code == "N-AUTORUN-USB" || f.code == "N-AUTORUN-ICON-ONLY";
            const bool autoRun = f.code.find("AUTORUN") != std::string::npos || f.code.find("PROGRAM") != std::string::npos;
            if (autoRun && f.code != "N-AUTORUN-USB" && f.code != "N-AUTORUN-ICON-ONLY" && f.code != "N-AUTORUN-STALE")
                ADD_FAILURE() << path.filename() << ": " << f.code << " " << f.what;
        }
        EXPECT_TRUE(read) << path.filename();
    }
}

// ---- names and links that point nowhere ------------------------------------------------------------

// A medium in a real folder: Linux holds names no Windows medium can.
struct MediaFolder : ::testing::Test {
    fsys::path folder;
    void SetUp() override {
        folder = fsys::temp_directory_path() /
                 ("orvelund-media-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fsys::remove_all(folder);
        fsys::create_directories(folder / "content");
        fsys::create_directories(folder / "docs");
        Write("Orvelund.exe", Program());
        Write("docs/manual.pdf", "%PDF");
    }
    void TearDown() override { fsys::remove_all(folder); }
    void Write(const std::string& relative, const std::string& bytes) {
        std::ofstream(folder / relative, std::ios::binary) << bytes;
    }
    void Menu(const std::vector<std::string>& entries) {
        std::string text = kHeader;
        for (const auto& e : entries) text += e + "\r\n";
        Write("content/config.ini", text);
    }
    // The text report, the JSON and the page; the exit status of --web.
    int Check(std::string& text, std::string& json, std::string& page) {
        std::string err;
        auto to = [&](std::string& out) { return [&](bool toError, const std::string& t) { (toError ? err : out) += t; }; };
        RunCheck({"--json", folder.string()}, to(json));
        const int status = RunCheck({"--web", folder.string()}, to(text));
        std::ifstream in(folder / "menu.htm", std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        page = s.str();
        return status;
    }
    static std::vector<std::string> Codes(const std::string& text) {
        std::vector<std::string> codes;
        static const std::regex code("\n  ([EWN]-[A-Z0-9-]+)  ");
        for (auto it = std::sregex_iterator(text.begin(), text.end(), code); it != std::sregex_iterator(); ++it)
            codes.push_back((*it)[1]);
        return codes;
    }
};

TEST_F(MediaFolder, NamesThatDifferOnlyInCaseAreAnErrorAndNotLinked) {
    Write("docs/Readme.txt", "one");
    Write("docs/README.txt", "other");
    Menu({"Readme,Read me,docs\\Readme.txt,open", "Manual,Manual,docs\\manual.pdf,open"});
    std::string text, json, page;
    EXPECT_EQ(Check(text, json, page), 1);
    EXPECT_THAT(Codes(text), ::testing::Contains("E-NAME-CASE-CLASH"));
    EXPECT_THAT(text, Not(HasSubstr("N-TARGET-CASE")));  // the entry spells the name as one of them does
    EXPECT_THAT(page, Not(HasSubstr("Readme.txt\"")));
    EXPECT_THAT(page, HasSubstr("href=\"docs/manual.pdf\""));
}

TEST_F(MediaFolder, NamesNoWindowsMediumHoldsAreFlaggedAndNeverLinked) {
    Write("a\\b.txt", "a backslash inside the name");
    Write("caf\xE9.txt", "a name in Latin-1");
    fsys::create_symlink(folder / "nowhere.pdf", folder / "gone.pdf");
    Menu({"Slash,a,a\\b.txt,open", "Link,b,gone.pdf,open", "Manual,c,docs\\manual.pdf,open"});
    std::string text, json, page;
    EXPECT_EQ(Check(text, json, page), 1);
    const auto codes = Codes(text);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), "E-TARGET-MISSING"), 2) << text;
    EXPECT_THAT(codes, ::testing::Contains("E-NAME-CHARACTERS"));
    EXPECT_THAT(codes, ::testing::Contains("E-NAME-ENCODING"));
    EXPECT_THAT(text, HasSubstr("symbolic link"));
    EXPECT_EQ(Occurrences(page, "<a "), 1u) << page;  // the manual only
    EXPECT_THAT(page, HasSubstr("href=\"docs/manual.pdf\""));
}

TEST_F(MediaFolder, ControlCharactersInNamesAreShownVisibly) {
    Write("docs/red\x1B[31m.txt", "x");
    Write("docs/two\nlines.txt", "x");
    Menu({"Manual,c,docs\\manual.pdf,open"});
    std::string text, json, page;
    Check(text, json, page);
    EXPECT_THAT(text, Not(HasSubstr("\x1B")));
    EXPECT_THAT(text, HasSubstr("red<U+001B>[31m.txt"));
    EXPECT_THAT(text, HasSubstr("two<U+000A>lines.txt"));
    EXPECT_THAT(text, Not(HasSubstr("(?)")));
    EXPECT_THAT(json, HasSubstr("red\\u001b[31m.txt"));
    EXPECT_THAT(json, Not(HasSubstr("\x1B")));
}

TEST_F(Media, AnEntryWithAnErrorIsNeverLinked) {
    Put("content\\Broken.jpg", pf::Jpeg(137, 33).substr(0, 10));
    Menu({"Broken,Broken picture,docs\\manual.pdf,open", "Fine,Fine,docs\\manual.pdf,open"});
    EXPECT_THAT(Problems(), ElementsAre("E-PICTURE-BROKEN"));
    const std::string page = MenuPage(Run());
    EXPECT_EQ(Occurrences(page, "<a "), 1u) << page;
    EXPECT_EQ(Occurrences(page, "class=\"problem\""), 1u);
}

// ---- bounded, whatever the input ------------------------------------------------------------

TEST_F(Media, ALongLineIsQuotedByItsStart) {
    Menu({"Huge,a," + std::string(1 << 20, 'x') + ".pdf,open"});
    const auto missing = Found("E-TARGET-MISSING");
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_LT(missing[0].what.size(), 1000u);
    EXPECT_LT(FormatText(Run().report).size(), 8000u);
}

TEST_F(Media, ALongFieldLeavesTheFieldsAfterItWhole) {
    Menu({"Long,\xC3\xA9" + std::string(1 << 20, 'x') + "\xC3\xA9,docs\\manual.pdf,open"});
    EXPECT_THAT(Problems(), ::testing::IsEmpty());
    const auto r = Run();
    ASSERT_EQ(r.menu.entries.size(), 1u);
    EXPECT_EQ(r.menu.entries[0].entry.FileFolder, "docs\\manual.pdf");
    EXPECT_EQ(r.menu.entries[0].link, "docs\\manual.pdf");
    EXPECT_EQ(r.menu.entries[0].entry.Label.rfind("\xC3\xA9xxx", 0), 0u);  // read as UTF-8, by the whole line
}

TEST_F(Media, FindingsOfOneKindAreListedFiveTimesAndTheRestCounted) {
    std::string text = kHeader;
    for (int i = 0; i < 100000; ++i) text += std::string(1, '\0') + "\r\n";  // NUL lines, no byte-order mark
    Put("content\\config.ini", text);
    const auto r = Run();
    std::size_t shortEntries = 0;
    for (const auto& f : r.report.findings) shortEntries += f.code == "E-ENTRY-SHORT";
    EXPECT_LE(shortEntries, 6u);
    EXPECT_EQ(r.report.Count(Severity::Error), 100000u + 1);  // every short entry still counts, and the hidden ones
    const std::string report = FormatText(r.report);
    EXPECT_LT(report.size(), 64000u);
    EXPECT_THAT(report, HasSubstr("And 99,995 more like these, on lines 14 to 100,008"));
    EXPECT_THAT(report, HasSubstr("W-MENU-BINARY"));
    EXPECT_LT(FormatJson(r.report).size(), 64000u);
}

TEST_F(MediaFolder, WebRefusesAPipeOrAFolderAtMenuHtm) {
    Menu({"Manual,c,docs\\manual.pdf,open"});
    ASSERT_EQ(mkfifo((folder / "menu.htm").c_str(), 0600), 0);
    std::string out, err;
    const auto write = [&](bool toError, const std::string& t) { (toError ? err : out) += t; };
    EXPECT_EQ(RunCheck({"--web", folder.string()}, write), 2);
    EXPECT_THAT(err, HasSubstr("named pipe"));
    EXPECT_TRUE(fsys::is_fifo(folder / "menu.htm"));  // left as it was
    fsys::remove(folder / "menu.htm");
    fsys::create_directory(folder / "menu.htm");
    err.clear();
    EXPECT_EQ(RunCheck({"--web", folder.string()}, write), 2);
    EXPECT_THAT(err, HasSubstr("folder"));
}

// ---- sizes as a disc counts them -------------------------------------------------------------

TEST_F(Media, SizesCountTheSectorsADiscGivesEveryFile) {
    Menu({"A,a,docs\\manual.pdf,open"});
    auto note = [&](std::size_t count, std::uint64_t size) {
        SizedMedium medium(fs, root);
        for (std::size_t i = 0; i < count; ++i) medium.extra.push_back({"many\\" + std::to_string(i), false, size, true});
        for (const auto& f : CheckMedium(medium).report.findings)
            if (f.code == "N-MEDIUM-SIZE" || f.code == "W-MEDIUM-TOO-BIG") return f.what;
        return std::string();
    };
    // 50,009 files of 100 bytes: 4.8 MiB of bytes, but a 2 KiB sector each on a disc.
    const std::string small = note(50009, 100);
    EXPECT_THAT(small, HasSubstr("2 KiB sectors"));
    EXPECT_THAT(small, HasSubstr("97.7 MiB"));
    EXPECT_THAT(small, HasSubstr("clusters"));
    // 200,000 files of 3,000 bytes hold 572 MiB but take two sectors each: 781 MiB, more than a CD.
    EXPECT_THAT(note(200000, 3000), HasSubstr("too much for a CD"));
}

// ---- large menus on the page ------------------------------------------------------------------

TEST_F(Media, PicturesLoadLazilyAndTheAuthorsTextKeepsItsDirection) {
    Put("content\\Guide.jpg", pf::Png(137, 33));
    Menu({"Guide,\xD8\xAF\xD9\x84\xD9\x8A\xD9\x84,docs\\manual.pdf,open", "Text,\xD7\xA2\xD7\x91\xD7\xA8\xD7\x99\xD7\xAA,"
          "docs\\manual.pdf,open"});
    const std::string page = MenuPage(Run());
    EXPECT_THAT(page, HasSubstr("<img src=\"content/Guide.jpg\" alt=\"Guide\" width=\"137\" height=\"33\" loading=\"lazy\">"));
    EXPECT_THAT(page, HasSubstr("<h1 dir=\"auto\">Demo</h1>"));
    EXPECT_THAT(page, HasSubstr("<span class=\"label\" dir=\"auto\">\xD7\xA2\xD7\x91\xD7\xA8\xD7\x99\xD7\xAA</span>"));
    EXPECT_THAT(page, HasSubstr("<span class=\"button\" dir=\"auto\">Text</span>"));
    const auto banner = page.find("<img class=\"banner\"");
    ASSERT_NE(banner, std::string::npos);
    EXPECT_THAT(page.substr(banner, page.find('>', banner) - banner), Not(HasSubstr("lazy")));  // in view at once
}

// ---- the menu file read in pieces --------------------------------------------------------------

// Random text files of the pieces menu files are made of: letters, commas, each line end, NUL,
// UTF-8 and Windows-1252 letters, stray bytes, and now and then a byte-order mark.
std::string RandomText(std::mt19937& random) {
    static const std::vector<std::string> pieces = {"a", "B", ",", " ", "\r", "\n", "\r\n", std::string(1, '\0'), "\t",
                                                    "\xC3\xA9", "\xE9", "\x80", "\xE2\x82", "\xF0\x9F\x98\x80", "\xFF", "\x1B"};
    static const std::vector<std::string> marks = {"", "", "", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    std::string text = marks[random() % marks.size()];
    const std::size_t n = random() % 60;
    for (std::size_t i = 0; i < n; ++i) text += pieces[random() % pieces.size()];
    return text;
}

TEST(MenuStream, LinesReadInPiecesAreTheLinesOfTheWholeFile) {
    std::mt19937 random(23);
    for (int round = 0; round < 3000; ++round) {
        const std::string bytes = RandomText(random);
        std::vector<std::string> lines;
        LineStream stream([&](StreamedLine& line) { lines.push_back(line.text); }, &FakeFileSystem::CodePage());
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t piece = std::min<std::size_t>(1 + random() % 5, bytes.size() - at);
            stream.Feed(bytes.data() + at, piece);
            at += piece;
        }
        stream.Finish();
        // The whole file at once, each line as the program reads it (a NUL as U+FFFD).
        const DecodedText whole = DecodeText(bytes, FakeFileSystem::CodePage());
        std::vector<std::string> expected = SplitLines(whole.utf8);
        for (auto& l : expected) l = TextLine(l, TextEncoding::Utf8, CodePage{});
        ASSERT_EQ(lines, expected) << ::testing::PrintToString(bytes);
        EXPECT_EQ(stream.Text().encoding, whole.encoding);
        EXPECT_EQ(stream.Text().controlBytes, whole.controlBytes) << ::testing::PrintToString(bytes);
        EXPECT_EQ(stream.Text().utf8WithoutMark, whole.utf8WithoutMark) << ::testing::PrintToString(bytes);
    }
}

TEST(MenuStream, ALongLineKeepsItsStartAndCountsAllOfIt) {
    std::vector<StreamedLine> lines;
    LineStream stream([&](StreamedLine& line) { lines.push_back(line); }, &FakeFileSystem::CodePage());
    const std::string line = std::string(3 << 20, 'x') + ",\xC3\xA9,b";
    for (std::size_t at = 0; at < line.size(); at += 4096) stream.Feed(line.data() + at, std::min<std::size_t>(4096, line.size() - at));
    stream.Feed("\r\nnext", 6);
    stream.Finish();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].cut);
    EXPECT_EQ(lines[0].bytes, line.size());
    EXPECT_EQ(lines[0].fields, 3u);
    EXPECT_LE(lines[0].text.size(), LineStream::kKeptLineBytes);
    EXPECT_TRUE(stream.Text().utf8WithoutMark);  // the whole line decides, also what was not kept
    EXPECT_EQ(lines[1].text, "next");
}

TEST_F(Media, StreamedMenusArePagedExactlyAsTheWindowPagesThem) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        const std::vector<std::string> entries = checktest::RandomEntries(random, "docs\\manual.pdf");
        Menu(entries);
        std::vector<std::string> lines = SplitLines(kHeader);
        lines.insert(lines.end(), entries.begin(), entries.end());
        const MenuWalk walk = WalkMenu(lines);
        for (const auto& e : Run().menu.entries)
            ASSERT_EQ(e.shown, bool(walk.shown.at(e.line - 9))) << "line " << e.line << " of " << ::testing::PrintToString(entries);
    }
}

}  // namespace
