// The menu window's view of the entries: settings, ten entries at a time, scrolling, launching.
#include <gtest/gtest.h>

#include "platform/MainWindowDesign.h"
#include "tests/fakes/World.h"

namespace {

using namespace MainCtl;

std::vector<std::string> Entries(int n) {
    std::vector<std::string> e;
    for (int i = 1; i <= n; ++i) e.push_back("B" + std::to_string(i) + ",Label " + std::to_string(i) + ",f" +
                                             std::to_string(i) + ".txt,open");
    return e;
}

struct MenuView : ::testing::Test {
    World w;
    void Start(const std::vector<std::string>& entries) {
        w.WriteMenu(entries);
        w.main.Form_Load();
    }
    std::vector<std::string> Labels(int n) {
        std::vector<std::string> out;
        for (int k = 0; k < n; ++k) out.push_back(w.form.Text(LblMenu(k)));
        return out;
    }
    bool Next() { return w.form.ControlVisible(BtnNext); }
    bool Prev() { return w.form.ControlVisible(BtnPrev); }
};

TEST_F(MenuView, WindowHeightFollowsTheNumberOfEntriesInView) {
    const int heights[] = {0, 4300, 5000, 5700, 6400, 7200, 7900, 8600, 9300, 10000, 10800, 10800, 10800};
    for (int n = 1; n <= 12; ++n) {
        World fresh;
        fresh.WriteMenu(Entries(n));
        fresh.main.Form_Load();
        EXPECT_EQ(fresh.form.height, heights[n]) << n << " entries";
        EXPECT_EQ(fresh.form.ControlVisible(BtnNext), n > 10) << n << " entries";
        EXPECT_FALSE(fresh.form.ControlVisible(BtnPrev));
    }
}

TEST_F(MenuView, OneEntryShowsOnlyTheFirstRowAndLeavesTheRestAsDesigned) {
    Start({"Docs,Read me,manual.pdf,open"});
    EXPECT_EQ(w.form.height, 4300);
    EXPECT_EQ(w.form.Text(BtnMenu(0)), "Docs");
    EXPECT_EQ(w.form.Picture(BtnMenu(0)), nullptr);
    EXPECT_EQ(w.form.Text(LblMenu(0)), "Read me");
    EXPECT_EQ(w.form.Text(BtnMenu(4)), "Button");
    EXPECT_EQ(w.form.Text(LblMenu(1)), "Caption");
    EXPECT_NE(SourceOf(w.form.Picture(BtnMenu(1))), "");  // the sample picture stays below the edge
}

TEST_F(MenuView, SettingsGiveCaptionColoursAndButtonColour) {
    Start({"Docs,Read me,manual.pdf,open"});
    EXPECT_EQ(w.form.caption, "Demo");
    EXPECT_EQ(w.state.ButtonColor, "16435132");
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(w.form.BackColor(BtnMenu(k)), 16435132);  // red 188, green 199, blue 250
        EXPECT_EQ(w.form.BackColor(LblMenu(k)), 16777215);
    }
    EXPECT_EQ(w.form.backColor, 16777215);
}

TEST_F(MenuView, TitleLineRules) {
    const struct {
        const char* line;
        const char* caption;
    } cases[] = {{"TITLE:My: Menu", "My"}, {"TITLE:", ""}, {"Welcome", "Talvenor"}, {"", "Talvenor"}};
    for (const auto& c : cases) {
        World fresh;
        fresh.WriteMenu({"Docs,Read me,manual.pdf,open"}, c.line);
        fresh.main.Form_Load();
        EXPECT_EQ(fresh.form.caption, c.caption) << c.line;
    }
}

TEST_F(MenuView, BadColoursLeaveTheColoursAlone) {
    w.fs.AddFile(w.Content("config.ini"),
                 "1\r\n2\r\nTITLE:x\r\nBTCOLOR\r\nBGCOLOR:abc\r\nHIDESETUP:0\r\n7\r\n8\r\nDocs,Read me,a,open\r\n");
    w.main.Form_Load();
    // A ButtonColor line without a colon keeps the empty colour text, which reads as black.
    EXPECT_EQ(w.form.BackColor(BtnMenu(0)), 0);
    EXPECT_EQ(w.form.BackColor(LblMenu(0)), Rgb(255, 255, 255));
    EXPECT_EQ(w.form.backColor, kWindowBackground);
}

TEST_F(MenuView, ButtonShowsItsPictureAndNoTextOrItsTextAndNoPicture) {
    w.fs.AddFile(w.Content("Instructions.jpg"), "jpeg");
    w.fs.AddFile(w.Content(" Docs.jpg"), "jpeg");
    Start({"Instructions,How to use,content\\instructions.htm,open", "Docs,Read me,a,open", " Docs,Spaced,a,open"});
    EXPECT_EQ(w.form.Text(BtnMenu(0)), "");
    EXPECT_EQ(SourceOf(w.form.Picture(BtnMenu(0))), FakeFileSystem::Key(w.Content("Instructions.jpg")));
    EXPECT_EQ(w.form.Text(LblMenu(0)), "How to use");
    EXPECT_EQ(w.form.Text(BtnMenu(1)), "Docs");
    EXPECT_EQ(w.form.Picture(BtnMenu(1)), nullptr);  // the design's sample picture is cleared
    EXPECT_EQ(SourceOf(w.form.Picture(BtnMenu(2))), FakeFileSystem::Key(w.Content(" Docs.jpg")));
    // A screen reader names each button after its entry, picture or not.
    EXPECT_EQ(w.form.controls[BtnMenu(0)].accessibleName, "Instructions");
    EXPECT_EQ(w.form.controls[BtnMenu(1)].accessibleName, "Docs");
    EXPECT_EQ(w.form.controls[BtnMenu(2)].accessibleName, " Docs");
}

TEST_F(MenuView, PictureButtonsAreNamedAfterTheEntryInViewWhileScrolling) {
    for (int i = 1; i <= 11; ++i) w.fs.AddFile(w.Content("B" + std::to_string(i) + ".jpg"), "jpeg");
    Start(Entries(11));
    EXPECT_EQ(w.form.controls[BtnMenu(9)].accessibleName, "B10");
    w.main.btnNext_Click();
    EXPECT_EQ(w.form.controls[BtnMenu(0)].accessibleName, "B2");
    EXPECT_EQ(w.form.controls[BtnMenu(9)].accessibleName, "B11");
    EXPECT_EQ(w.form.Text(BtnMenu(9)), "");
}

// A picture file that cannot be decoded (empty, cut short, not a picture) counts as no picture:
// the button shows its name, never the built-in sample nor the picture of the entry it showed
// before a page turn.
TEST_F(MenuView, PictureThatCannotBeDecodedShowsTheButtonsNameAndNoOtherPicture) {
    for (const char* bad : {"broken", "broken: cut short", "broken: empty"}) {
        World fresh;
        fresh.fs.AddFile(fresh.Content("Bad.jpg"), bad);
        fresh.WriteMenu({"Bad,Label,a,open"});
        fresh.main.Form_Load();
        EXPECT_EQ(fresh.form.Text(BtnMenu(0)), "Bad");
        EXPECT_EQ(fresh.form.Picture(BtnMenu(0)), nullptr);
    }

    // Entry 1 has a good picture, entry 2 a bad one: after Next, button 0 shows entry 2.
    w.fs.AddFile(w.Content("B1.jpg"), "jpeg");
    w.fs.AddFile(w.Content("B2.jpg"), "broken");
    Start(Entries(11));
    EXPECT_EQ(SourceOf(w.form.Picture(BtnMenu(0))), FakeFileSystem::Key(w.Content("B1.jpg")));
    EXPECT_EQ(SourceOf(w.form.Picture(BtnMenu(1))), "");
    EXPECT_EQ(w.form.Text(BtnMenu(1)), "B2");
    w.main.btnNext_Click();
    EXPECT_EQ(w.form.Picture(BtnMenu(0)), nullptr);
    EXPECT_EQ(w.form.Text(BtnMenu(0)), "B2");
    w.main.btnPrev_Click();
    EXPECT_EQ(SourceOf(w.form.Picture(BtnMenu(0))), FakeFileSystem::Key(w.Content("B1.jpg")));
    EXPECT_EQ(w.form.Text(BtnMenu(0)), "");
}

// Pictures are asked for at the size their control shows: a button keeps its middle, the main
// picture its top left part; the icon is kept whole.
TEST_F(MenuView, PicturesAreLoadedForTheAreaTheirControlShows) {
    w.fs.AddFile(w.Content("B1.jpg"), "jpeg");
    w.fs.AddFile(w.Content("app.jpg"), "jpeg");
    w.fs.AddFile(w.Content("app.ico"), "ICON");
    Start(Entries(1));
    const auto* button = dynamic_cast<const FakePicture*>(w.form.Picture(BtnMenu(0)).get());
    ASSERT_NE(button, nullptr);
    const ControlDesign& design = MainWindowDesign().controls[BtnMenu(0)];
    EXPECT_EQ(button->shown, (ShownArea{design.width / 15 + 1, design.height / 15 + 1, true}));
    const auto* main = dynamic_cast<const FakePicture*>(w.form.Picture(Picture1).get());
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->shown, (ShownArea{9330 / 15 + 1, 3135 / 15 + 1, false}));
    const auto* icon = dynamic_cast<const FakePicture*>(w.form.icon.get());
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->shown, ShownArea{});
}

TEST_F(MenuView, LineWithoutALabelKeepsTheOldLabel) {
    Start({"Docs", "## note,Comment-like,x,open"});
    EXPECT_EQ(w.form.Text(BtnMenu(0)), "Docs");
    EXPECT_EQ(w.form.Text(LblMenu(0)), "Caption");
    EXPECT_EQ(w.form.Text(BtnMenu(1)), "## note");
}

TEST_F(MenuView, EmptyLineEndsTheViewButNotTheLookAhead) {
    auto entries = Entries(3);
    entries.push_back("");
    for (auto& e : Entries(11)) entries.push_back(e);
    Start(entries);
    EXPECT_EQ(w.form.height, 5700);
    EXPECT_TRUE(Next());
    EXPECT_EQ(w.form.Text(LblMenu(3)), "Caption");
}

TEST_F(MenuView, MissingMenuFileChangesNothingButTheCaption) {
    w.main.ReadConfig();
    EXPECT_EQ(w.form.caption, "Talvenor");
    EXPECT_EQ(w.form.height, 10800);
    EXPECT_EQ(w.form.heightChanges, 0);
    EXPECT_EQ(w.form.Text(BtnMenu(4)), "Button");
}

TEST_F(MenuView, NextAndPrevMoveTheViewOneEntryAtATime) {
    Start(Entries(12));
    EXPECT_EQ(Labels(10).front(), "Label 1");
    w.main.btnNext_Click();
    EXPECT_EQ(w.main.ScrollOffset(), 1);
    EXPECT_EQ(Labels(10).front(), "Label 2");
    EXPECT_EQ(Labels(10).back(), "Label 11");
    EXPECT_TRUE(Prev());
    EXPECT_TRUE(Next());
    w.main.btnNext_Click();
    EXPECT_EQ(Labels(10).back(), "Label 12");
    EXPECT_FALSE(Next());
    EXPECT_EQ(w.form.height, 10800);
    w.main.btnPrev_Click();
    w.main.btnPrev_Click();
    EXPECT_EQ(Labels(10).front(), "Label 1");
    EXPECT_FALSE(Prev());
    EXPECT_TRUE(Next());
    w.main.ShowMenuPage("next");  // not a direction: the view is only read again
    EXPECT_EQ(w.main.ScrollOffset(), 0);
}

TEST_F(MenuView, ElevenEntriesScrollOnceAndBack) {
    Start(Entries(11));
    w.main.btnNext_Click();
    EXPECT_EQ(Labels(10).front(), "Label 2");
    EXPECT_FALSE(Next());
    EXPECT_TRUE(Prev());
    w.main.btnPrev_Click();
    EXPECT_FALSE(Prev());
    EXPECT_TRUE(Next());
}

TEST_F(MenuView, PictureComesAndGoesWhileScrolling) {
    auto entries = Entries(12);
    entries[5] = "Pic,With picture,x,open";  // entry 6: button 4 after one Next
    w.fs.AddFile(w.Content("Pic.jpg"), "jpeg");
    Start(entries);
    EXPECT_NE(w.form.Picture(BtnMenu(5)), nullptr);
    w.main.btnNext_Click();
    EXPECT_NE(w.form.Picture(BtnMenu(4)), nullptr);
    EXPECT_EQ(w.form.Text(BtnMenu(4)), "");
    EXPECT_EQ(w.form.Picture(BtnMenu(5)), nullptr);
    EXPECT_EQ(w.form.Text(BtnMenu(5)), "B7");
    w.main.btnNext_Click();
    EXPECT_EQ(w.form.Picture(BtnMenu(4)), nullptr);
    EXPECT_EQ(w.form.Text(BtnMenu(4)), "B7");
}

TEST_F(MenuView, ReadingTheMenuAgainReturnsToTheTop) {
    Start(Entries(12));
    w.main.btnNext_Click();
    w.main.btnNext_Click();
    w.main.ReadConfig();
    EXPECT_EQ(w.main.ScrollOffset(), 0);
    EXPECT_EQ(Labels(1).front(), "Label 1");
    EXPECT_FALSE(Prev());
    EXPECT_TRUE(Next());
}

TEST_F(MenuView, VeryLongMenuStopsScrollingInsteadOfWrappingRound) {
    std::string text = "1\r\n2\r\nTITLE:Long\r\nBTCOLOR:1\r\nBGCOLOR:1\r\nHIDESETUP:0\r\n7\r\n8\r\n";
    // Short lines keep 32,767 page turns through the fake quick; only the deep ones carry labels.
    for (int i = 1; i <= 32790; ++i) text += i < 32760 ? std::string("B\r\n") : "B,L" + std::to_string(i) + ",x,open\r\n";
    w.fs.AddFile(w.Content("config.ini"), text);
    w.main.Form_Load();
    for (int i = 0; i < 32800; ++i) w.main.btnNext_Click();
    EXPECT_EQ(w.main.ScrollOffset(), 32767);
    EXPECT_EQ(w.form.Text(LblMenu(0)), "L32768");
    EXPECT_FALSE(Next());
    w.main.btnPrev_Click();
    EXPECT_EQ(w.form.Text(LblMenu(0)), "L32767");
}

struct Launching : MenuView {};

TEST_F(Launching, ButtonOpensItsEntryWithItsVerb) {
    w.fs.currentFolder = "C:\\Work";
    Start({"Web,a,http://www.orvelund.example,open", "Host,b,www.orvelund.example,open", "Here,c,.,explore",
           "Up,d,..,open", "Root,e,\\,explore", "Rel,f,content\\instructions.htm,open",
           "Abs,g,D:\\docs\\a.pdf,print", "Blank,h, notes.txt, edit", "Caps,i,WWW.orvelund.example,open",
           "Comma,j,a,b.txt,open"});
    for (int k = 0; k < 10; ++k) w.main.btnMenu_Click(k);
    const auto owner = w.form.Handle();
    EXPECT_EQ(w.shell.calls, (std::vector<ShellCall>{
                                 {owner, "open", "http://www.orvelund.example"},
                                 {owner, "open", "www.orvelund.example"},
                                 {owner, "explore", "C:\\Work"},
                                 {owner, "open", "C:\\"},
                                 {owner, "explore", "C:\\"},
                                 {owner, "open", "C:\\Work\\content\\instructions.htm"},
                                 {owner, "print", "D:\\docs\\a.pdf"},
                                 {owner, " edit", "C:\\Work\\ notes.txt"},
                                 {owner, "open", "C:\\Work\\WWW.orvelund.example"},
                                 {owner, "b.txt", "C:\\Work\\a"},
                             }));
}

TEST_F(Launching, AnyUrlSchemeGoesToTheShellAsItStandsAndADriveLetterStaysAPath) {
    w.fs.currentFolder = "C:\\Work";
    const char* unchanged[] = {"https://www.orvelund.example/a?b=c", "mailto:info@orvelund.example",
                               "ftp://files.orvelund.example/x.zip", "file:///C:/Docs/a.pdf", "HTTPS://X.EXAMPLE",
                               "ms-settings:display", "svn+ssh://host/repo", "z39.50r://host", "tel:+15551234",
                               "ab:", "www"};
    for (const char* target : unchanged) {
        EXPECT_TRUE(IsWebTarget(target)) << target;
        w.shell.calls.clear();
        w.main.Launch(target, "open");
        ASSERT_EQ(w.shell.calls.size(), 1u);
        EXPECT_EQ(w.shell.calls[0].file, target);
    }
    const struct { const char* target; const char* path; } paths[] = {
        {"C:notes.txt", "C:\\Work\\notes.txt"},  // drive-relative, on the current drive
        {"C:\\Docs\\a.pdf", "C:\\Docs\\a.pdf"},
        {"1http:x", "C:\\Work\\1http:x"},         // a scheme starts with a letter
        {"my file:x", "C:\\Work\\my file:x"},     // a blank is no scheme character
        {":x", "C:\\Work\\:x"},
        {"https", "C:\\Work\\https"},             // no colon
    };
    for (const auto& p : paths) {
        EXPECT_FALSE(IsWebTarget(p.target)) << p.target;
        w.shell.calls.clear();
        w.main.Launch(p.target, "open");
        ASSERT_EQ(w.shell.calls.size(), 1u);
        EXPECT_EQ(w.shell.calls[0].file, p.path) << p.target;
    }
}

// A NUL inside a menu line: the launched path is the whole path, never the part before the NUL.
TEST_F(Launching, ANulInsideALineNeverCutsThePathShort) {
    const std::string nul(1, '\0');
    w.fs.AddFile(w.Content("config.ini"), "## 1\r\n## 2\r\nTITLE:My" + nul + "Menu\r\n4\r\n5\r\n6\r\n7\r\n8\r\n"
                                          "Go,Label,C:\\Safe" + nul + "\\..\\..\\Windows\\x.exe,open\r\n");
    w.main.Form_Load();
    EXPECT_EQ(w.form.caption, "My\xEF\xBF\xBDMenu");
    w.main.btnMenu_Click(0);
    ASSERT_EQ(w.shell.calls.size(), 1u);
    EXPECT_NE(w.shell.calls[0].file, "C:\\Safe");
    EXPECT_EQ(w.shell.calls[0].file.find('\0'), std::string::npos);
    EXPECT_NE(w.shell.calls[0].file.find("x.exe"), std::string::npos);
}

TEST_F(Launching, ShortLinesAndEmptyRowsLaunchNothing) {
    Start({"Docs,Read me,manual.pdf", "Docs"});
    for (int k = 0; k < 10; ++k) w.main.btnMenu_Click(k);
    EXPECT_TRUE(w.shell.calls.empty());
}

TEST_F(Launching, AfterScrollingAButtonOpensTheEntryBesideIt) {
    Start(Entries(12));
    w.main.btnNext_Click();
    w.main.btnNext_Click();
    w.main.btnMenu_Click(9);
    ASSERT_EQ(w.shell.calls.size(), 1u);
    EXPECT_EQ(w.shell.calls[0].file, "C:\\Work\\f12.txt");
}

}  // namespace
