// The menu file's reading and writing rules, and how text files are cut into lines.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "common/CodePages.h"
#include "common/TextLines.h"
#include "menu/MenuFile.h"
#include "tests/fakes/FakeFileSystem.h"

namespace {

using namespace menufile;

TEST(TextLines, CrLfLoneCrAndLoneLfEachEndALine) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\n\r\r\n"), (std::vector<std::string>{"", "", ""}));
    EXPECT_TRUE(SplitLines("").empty());
    EXPECT_EQ(SplitLines("x", 0, 5), (std::vector<std::string>{"x"}));
    EXPECT_EQ(SplitLines("0\r\n1\r\n2\r\n3\r\n", 1, 2), (std::vector<std::string>{"1", "2"}));
    EXPECT_TRUE(SplitLines("0\r\n1\r\n", 5, 2).empty());
}

TEST(TextLines, PiecesSplitAnywhereGiveTheSameLines) {
    const std::string text = "line one\r\nline two\rthree\n\r\nfive,with,commas\r\n\r";
    const auto whole = SplitLines(text, 1, 4);
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        LineSplitter s(1, 4);
        s.Feed(text.data(), cut);
        s.Feed(text.data() + cut, text.size() - cut);
        s.Finish();
        EXPECT_EQ(s.Lines(), whole) << "cut at " << cut;
    }
}

// The plain rule, one byte at a time, to check the fast skipping of long files against.
std::vector<std::string> ReferenceLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(line);
            line.clear();
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += text[i];
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

TEST(TextLines, LongFilesWithMixedLineEndsSkipToTheRightLine) {
    std::mt19937 random(11);
    const char* ends[] = {"\r\n", "\n", "\r", "\r\n\r\n", "\n\r"};
    std::string text;
    for (int i = 0; text.size() < 40000; ++i) text += "entry " + std::to_string(i) + std::string(random() % 40, 'x') + ends[random() % 5];
    const auto all = ReferenceLines(text);
    for (std::size_t skip : {0ul, 1ul, 97ul, 500ul, 1234ul, all.size() - 11, all.size() - 1, all.size() + 3}) {
        const auto got = SplitLines(text, skip, 11);
        const std::size_t from = std::min(skip, all.size());
        const std::vector<std::string> want(all.begin() + static_cast<long>(from),
                                            all.begin() + static_cast<long>(std::min(from + 11, all.size())));
        EXPECT_EQ(got, want) << "skip " << skip;
    }
}

TEST(Settings, ValueRunsFromTheFirstColonToASecond) {
    EXPECT_EQ(SettingValue("TITLE:My: Menu"), "My");
    EXPECT_EQ(SettingValue("TITLE:"), "");
    EXPECT_EQ(SettingValue("Welcome"), std::nullopt);
    EXPECT_EQ(SettingValue("BTCOLOR:16435132"), "16435132");
    EXPECT_EQ(SettingValue("anything:at all"), "at all");  // the key is never compared
}

TEST(Entries, FieldsAreSplitAtEveryCommaWithNothingTrimmed) {
    const MenuEntry e = EntryFromLine("Docs,Read me, please,manual.pdf,open");
    EXPECT_EQ(e.Button, "Docs");
    EXPECT_EQ(e.Label, "Read me");
    EXPECT_EQ(e.FileFolder, " please");
    EXPECT_EQ(e.Action, "manual.pdf");

    EXPECT_EQ(EntryFromLine(" Docs,Label,x,open").Button, " Docs");
    const MenuEntry extra = EntryFromLine("Docs,Label,x,open,extra");
    EXPECT_EQ(extra.Action, "open");
    const MenuEntry shortLine = EntryFromLine("Docs");
    EXPECT_EQ(shortLine.Button, "Docs");
    EXPECT_EQ(shortLine.Label, "");
    EXPECT_EQ(SplitFields(",,"), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(SplitFields("## note"), (std::vector<std::string>{"## note"}));
}

TEST(Numbers, ColoursReadAsThirtyTwoBitValuesOrNotAtAll) {
    EXPECT_EQ(ToInt32("16435132"), 16435132);
    EXPECT_EQ(ToInt32("-1"), -1);
    EXPECT_EQ(ToInt32(" 255 "), 255);
    EXPECT_EQ(ToInt32(""), 0);  // empty text counts as 0, so the buttons turn black
    EXPECT_EQ(ToInt32("&HFF"), 255);
    EXPECT_EQ(ToInt32("&HFFFFFFFF"), -1);
    EXPECT_EQ(ToInt32("2.5"), 2);
    EXPECT_EQ(ToInt32("3.5"), 4);
    EXPECT_EQ(ToInt32("2147483647"), 2147483647);
    EXPECT_EQ(ToInt32("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ToInt32("2147483648"), std::nullopt);
    EXPECT_EQ(ToInt32("99999999999999999999"), std::nullopt);
    EXPECT_EQ(ToInt32("abc"), std::nullopt);
    EXPECT_EQ(ToInt32("12abc"), std::nullopt);
    EXPECT_EQ(ToInt32("&H1FFFFFFFF"), std::nullopt);
    EXPECT_EQ(ToInt32("-"), std::nullopt);
}

TEST(Writer, WritesTheHeaderThenOneLinePerEntryAndNothingAfter) {
    MenuSettings s{"Demo", 16435132, 16777215, 1};
    const auto lines = FileLines(s, {{"Docs", "Read me", "manual.pdf", "open"}, {"Files", "Browse", ".", "explore"}});
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "## ** Orvelund - CONFIGURATION FILE **", "## >> Configuration", "TITLE:Demo",
                         "BTCOLOR:16435132", "BGCOLOR:16777215", "HIDESETUP:1",
                         "## -- Configure items to appear in the menu in the correct order.  ",
                         "## -- [Button],[Label],[File/Folder],[Action]", "Docs,Read me,manual.pdf,open",
                         "Files,Browse,.,explore"}));
    EXPECT_EQ(FileLines(MenuSettings{}, {}).size(), 8u);
    EXPECT_EQ(EntryLine({"New Button", "", "", ""}), "New Button,,,");
    EXPECT_EQ(FileLines({"", -16777216, 0, 0}, {})[3], "BTCOLOR:-16777216");
}

TEST(Writer, WhatItWritesReadsBackFieldForField) {
    std::mt19937 random(7);
    const std::string alphabet = "abcXYZ 09.\\/#-_&'\"!?()";
    auto text = [&](int maxLength) {
        std::string s(static_cast<size_t>(random() % (maxLength + 1)), ' ');
        for (auto& c : s) c = alphabet[random() % alphabet.size()];
        return s;
    };
    for (int round = 0; round < 200; ++round) {
        MenuSettings s{text(20), static_cast<std::int32_t>(random()), static_cast<std::int32_t>(random()),
                       static_cast<int>(random() % 2)};
        std::vector<MenuEntry> entries(random() % 15);
        for (auto& e : entries) e = {text(8), text(12), text(16), text(6)};
        // An entry with every field empty would be an empty line, which readers skip.
        for (auto& e : entries)
            if (e.Button.empty()) e.Button = "b";

        std::string file;
        for (const auto& line : FileLines(s, entries)) file += line + "\r\n";
        const auto lines = SplitLines(file);
        ASSERT_EQ(lines.size(), 8 + entries.size());
        EXPECT_EQ(SettingValue(lines[kLineTitle]), s.Title);
        EXPECT_EQ(ToInt32(*SettingValue(lines[kLineButtonColor])), s.ButtonColor);
        EXPECT_EQ(ToInt32(*SettingValue(lines[kLineBackColor])), s.BackColor);
        EXPECT_EQ(lines[kLineHideSetup] == kHideSetupLine, s.HideSetup == 1);
        for (size_t i = 0; i < entries.size(); ++i) {
            const MenuEntry back = EntryFromLine(lines[kLineFirstEntry + i]);
            EXPECT_EQ(back.Button, entries[i].Button);
            EXPECT_EQ(back.Label, entries[i].Label);
            EXPECT_EQ(back.FileFolder, entries[i].FileFolder);
            EXPECT_EQ(back.Action, entries[i].Action);
        }
    }
}

}  // namespace

namespace {

// ---- text files: plain ASCII, or Unicode with a mark that every PC reads alike ------------------

const CodePage& Cp1252() { return FakeFileSystem::CodePage(); }

// Texts beyond ASCII, one per kind of script or trap: each, written on any PC, must read the same
// on every other, so none is ever written in the writer's code page.
const char* kForeign[] = {
    "Caf\xc3\xa9 \xe2\x82\xac",                       // Western letters that Windows-1252 holds
    "\xce\x9c\xce\xb5\xce\xbd\xce\xbf\xcf\x8d",          // Greek
    "\xd0\x9a\xd0\xb0\xd1\x82\xd0\xb0\xd0\xbb\xd0\xbe\xd0\xb3",  // Cyrillic
    "\xe8\xb3\x87\xe6\x96\x99\xe3\x82\xbd",              // Japanese, whose code page has "\\" in ソ
    "\xe8\x8f\x9c\xe5\x8d\x95",                          // Chinese
    "\xd9\x82\xd8\xa7\xd8\xa6\xd9\x85\xd8\xa9",          // Arabic
    "\xf0\x9f\x93\x80 disc",                             // an emoji, outside the 16-bit range
    "Sales\xef\xbc\x8cNorth",                            // full-width comma
    "Title\xef\xbc\x9a Part",                            // full-width colon
    "C:\\Docs\xef\xbc\xbc" "file.pdf",                   // full-width backslash
};

TEST(TextFiles, AsciiIsWrittenAsItAlwaysWasAndAnythingElseAsUnicodeWithNothingLost) {
    const std::vector<std::string> ascii = {"TITLE:Demo", "plain", "", "A,b,c,open"};
    for (auto form : {UnicodeForm::Utf8WithMark, UnicodeForm::Utf16LEWithMark})
        EXPECT_EQ(TextFileBytes(ascii, form), "TITLE:Demo\r\nplain\r\n\r\nA,b,c,open\r\n");

    for (const char* foreign : kForeign) {
        const std::vector<std::string> lines = {"## header", std::string("TITLE:") + foreign, "A,b,c,open"};
        const std::string utf8 = TextFileBytes(lines, UnicodeForm::Utf8WithMark);
        EXPECT_EQ(utf8, "\xEF\xBB\xBF## header\r\nTITLE:" + std::string(foreign) + "\r\nA,b,c,open\r\n") << foreign;
        const std::string utf16 = TextFileBytes(lines, UnicodeForm::Utf16LEWithMark);
        ASSERT_EQ(utf16.substr(0, 2), "\xFF\xFE");
        EXPECT_EQ(Utf8FromUtf16(utf16.data() + 2, utf16.size() - 2, false), utf8.substr(3)) << foreign;

        // Read back line by line, on a PC of any code page, each file gives exactly the text
        // written; a full-width comma stays one character and never becomes a separator.
        for (const std::string& bytes : {utf8, utf16}) {
            for (unsigned reader : {1252u, 932u, 1251u}) {
                std::size_t mark = 0;
                const TextEncoding encoding = DetectEncoding(bytes.data(), bytes.size(), mark);
                const std::string text = encoding == TextEncoding::Utf8
                                             ? bytes.substr(mark)
                                             : Utf8FromUtf16(bytes.data() + mark, bytes.size() - mark, false);
                auto read = SplitLines(text);
                for (auto& line : read) line = TextLine(line, encoding, CodePageReader(reader));
                EXPECT_EQ(read, lines) << foreign << " read in " << reader;
                EXPECT_EQ(SplitFields(read[2]).size(), 4u);
            }
        }
    }
}

TEST(TextFiles, LinesWithoutAMarkAreUtf8WhenTheyCanOnlyBeUtf8) {
    // Well-formed UTF-8 outside ASCII: a text editor's "UTF-8 without BOM".
    EXPECT_EQ(TextLine("TITLE:\xce\x9c\xce\xb5\xce\xbd\xce\xbf\xcf\x8d", TextEncoding::Ansi, Cp1252()),
              "TITLE:\xce\x9c\xce\xb5\xce\xbd\xce\xbf\xcf\x8d");
    // Code-page text: "Café" with é as one byte, and the euro sign, is not UTF-8.
    EXPECT_EQ(TextLine("Caf\xe9 \x80", TextEncoding::Ansi, Cp1252()), "Caf\xc3\xa9 \xe2\x82\xac");
    // Broken UTF-8 (a cut sequence, an overlong form, a surrogate) is code-page text.
    for (const char* broken : {"a\xc3", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80"}) {
        EXPECT_FALSE(IsUtf8(broken, std::strlen(broken))) << broken;
        EXPECT_EQ(TextLine(broken, TextEncoding::Ansi, Cp1252()), Cp1252().FromAnsi(broken));
    }
    EXPECT_TRUE(IsUtf8("\xf0\x9f\x93\x80", 4));
    // A NUL never cuts a line: it reads as U+FFFD in every encoding.
    EXPECT_EQ(TextLine(std::string("C:\\a\0b.exe", 10), TextEncoding::Ansi, Cp1252()), "C:\\a\xEF\xBF\xBD" "b.exe");
    EXPECT_EQ(TextLine(std::string("x\0", 2), TextEncoding::Utf8, Cp1252()), "x\xEF\xBF\xBD");
}

}  // namespace
