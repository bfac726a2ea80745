// The menu file's reading and writing rules, and how text files are cut into lines.
#include <gtest/gtest.h>

#include <random>

#include "menu/MenuFile.h"
#include "platform/TextLines.h"

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
