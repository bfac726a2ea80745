// Bad menu files, one class each in tests/data/bad/: the menu window and the Menu Editor read
// every one of them to a defined result, and neither loses the entries after a bad line.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "editor/SetupWizard.h"
#include "platform/MainWindowDesign.h"
#include "platform/SetupWizardDesign.h"
#include "tests/fakes/World.h"

namespace {

using namespace MainCtl;

std::string Corpus(const std::string& name) {
    std::ifstream in(std::string(ORVELUND_TEST_DATA) + "/bad/" + name + ".ini", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Case {
    const char* name;
    std::string caption;
    int inView;      // entries in the first view; 0: the view is left as designed
    bool next;       // Next offered
    int editorRows;
    std::function<void(World&, FakeSetupWizardForm&, SetupWizard&)> more;
};

void Check(const Case& c) {
    SCOPED_TRACE(c.name);
    World w;
    w.fs.AddFile(w.Content("config.ini"), Corpus(c.name));
    w.main.Form_Load();
    EXPECT_EQ(w.form.caption, c.caption);
    if (c.inView == 0) EXPECT_EQ(w.form.heightChanges, 0);
    else EXPECT_EQ(w.form.height, kWindowHeightTable[c.inView]);
    EXPECT_EQ(w.form.ControlVisible(BtnNext), c.next);

    FakeSetupWizardForm form{w.pictures};
    SetupWizard editor{form, w.main, w.services, w.state};
    editor.Form_Load();
    EXPECT_EQ(editor.RowCount(), c.editorRows);
    EXPECT_EQ(form.caption, c.caption + " - Menu Editor");
    EXPECT_FALSE(w.form.visible);
    if (c.more) c.more(w, form, editor);

    // Paging and pressing every button stays within the menu's rules.
    for (int i = 0; i < 3; ++i) w.main.btnNext_Click();
    w.main.btnPrev_Click();
    for (int k = 0; k < 10; ++k) w.main.btnMenu_Click(k);
    EXPECT_GE(w.main.ScrollOffset(), 0);
}

const std::string kDesignButton = std::to_string(Rgb(192, 192, 255));

TEST(BadMenuFiles, EveryClassReadsToItsDefinedResult) {
    auto labels = [](std::vector<std::string> want) {
        return [want](World& w, FakeSetupWizardForm&, SetupWizard&) {
            for (std::size_t k = 0; k < want.size(); ++k) EXPECT_EQ(w.form.Text(LblMenu(int(k))), want[k]) << k;
        };
    };
    auto colours = [](std::int32_t button, std::int32_t back) {
        return [=](World& w, FakeSetupWizardForm& f, SetupWizard&) {
            EXPECT_EQ(w.form.BackColor(BtnMenu(0)), button);
            EXPECT_EQ(w.form.backColor, back);
            EXPECT_EQ(f.BackColor(WizardCtl::Color0), button);
        };
    };
    auto hidden = [](bool menuHides, bool editorTicks) {
        return [=](World& w, FakeSetupWizardForm& f, SetupWizard&) {
            EXPECT_EQ(w.form.setupMenuVisible, !menuHides);
            EXPECT_EQ(f.Checked(WizardCtl::HideSetup), editorTicks);
        };
    };
    const std::vector<Case> cases = {
        {"empty", "Talvenor", 0, false, 0, nullptr},
        {"header-only", "Bad", 0, false, 0, nullptr},
        {"no-final-line-end", "Bad", 2, false, 2, labels({"Alpha", "Beta"})},
        {"lf-only", "Bad", 2, false, 2, labels({"Alpha", "Beta"})},
        {"cr-only", "Bad", 2, false, 2, labels({"Alpha", "Beta"})},
        {"mixed-line-ends", "Bad", 3, false, 3, labels({"Alpha", "Beta", "Gamma"})},
        {"utf8-bom", "Caf\xc3\xa9", 2, false, 2, labels({"Alpha", "Beta"})},
        {"utf16le", "Bad", 2, false, 2, labels({"Alpha", "Beta"})},
        {"utf16be", "Bad", 2, false, 2, labels({"Alpha", "Beta"})},
        {"nul-bytes", "Bad", 2, false, 2,
         [](World& w, FakeSetupWizardForm&, SetupWizard& e) {
             // A NUL reads as U+FFFD, the character that could not be read: no system call cuts
             // the text short there, and what follows it is kept.
             EXPECT_EQ(w.form.Text(LblMenu(0)), "Al\xEF\xBF\xBDpha");
             EXPECT_EQ(e.Cell(2, 0), "B\xEF\xBF\xBD");
         }},
        {"one-mib-line", "Bad", 2, false, 2,
         [](World& w, FakeSetupWizardForm&, SetupWizard& e) {
             EXPECT_EQ(w.form.Text(LblMenu(0)).size(), 1u << 20);
             EXPECT_EQ(e.Cell(2, 1), "Beta");
         }},
        {"hundred-thousand-entries", "Bad", 10, true, 100000,
         [](World&, FakeSetupWizardForm&, SetupWizard& e) { EXPECT_EQ(e.Cell(100000, 1), "Entry 100000"); }},
        {"forty-thousand-commas", "Bad", 2, false, 2,
         [](World&, FakeSetupWizardForm&, SetupWizard& e) {
             EXPECT_EQ(e.Cell(1, 3), "open");
             EXPECT_EQ(e.Cell(2, 0), "B");
         }},
        {"colour-out-of-range", "Bad", 2, false, 2, colours(Rgb(192, 192, 255), kWindowBackground)},
        {"colour-negative", "Bad", 2, false, 2, colours(-1, -16777216)},
        {"colour-hexadecimal", "Bad", 2, false, 2, colours(255, kWindowBackground)},
        {"colour-not-a-number", "Bad", 2, false, 2, colours(Rgb(192, 192, 255), kWindowBackground)},
        {"hidesetup-trailing-blank", "Bad", 2, false, 2, hidden(false, true)},
        {"hidesetup-small-letters", "Bad", 2, false, 2, hidden(false, true)},
        {"hidesetup-leading-zero", "Bad", 2, false, 2, hidden(false, true)},
        {"hidesetup-word", "Bad", 2, false, 2, hidden(false, false)},
        {"long-title", std::string(10000, 'T'), 2, false, 2, nullptr},
        {"short-entries", "Bad", 4, false, 4,
         [](World& w, FakeSetupWizardForm&, SetupWizard& e) {
             EXPECT_EQ(w.form.Text(LblMenu(0)), "Caption");  // no label field: the old label stays
             EXPECT_EQ(e.Cell(3, 2), "c.txt");
             EXPECT_EQ(e.Cell(4, 1), "Alpha");  // the entry after the short ones is whole
         }},
        {"empty-lines-between", "Bad", 1, false, 2, nullptr},
        {"comment-like-entries", "Bad", 3, false, 3, labels({"Caption", "Alpha"})},
        {"settings-missing", "Talvenor", 2, false, 2,
         [](World& w, FakeSetupWizardForm& f, SetupWizard&) {
             EXPECT_EQ(f.Text(WizardCtl::sTitle), "");
             EXPECT_EQ(w.form.BackColor(BtnMenu(0)), Rgb(192, 192, 255));
         }},
    };
    for (const auto& c : cases) Check(c);
}

TEST(BadMenuFiles, BinaryGarbageGivesAMenuWithinTheRules) {
    World w;
    w.fs.AddFile(w.Content("config.ini"), Corpus("binary-garbage"));
    w.main.Form_Load();
    EXPECT_TRUE(w.form.heightChanges == 0 || (w.form.height >= 4300 && w.form.height <= 10800));
    FakeSetupWizardForm form{w.pictures};
    SetupWizard editor{form, w.main, w.services, w.state};
    editor.Form_Load();
    ASSERT_TRUE(editor.WriteSetupConfig());
    // What the editor writes is a well-formed menu file again.
    const auto lines = w.fs.ReadLines(w.Content("config.ini"), 0, FileSystem::kAllLines);
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->at(0), "## ** Orvelund - CONFIGURATION FILE **");
    EXPECT_EQ(lines->size(), 8u + static_cast<std::size_t>(editor.RowCount()));
}

TEST(BadMenuFiles, FolderNamedLikeTheMenuFileIsNoMenu) {
    World w;
    w.fs.AddFolder(w.Content("config.ini"));
    w.dialogs.answers = {mb::Yes};
    w.main.Form_Load();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);  // the first-run question
    EXPECT_EQ(w.form.caption, "Talvenor");
    EXPECT_FALSE(w.form.closed);
    FakeSetupWizardForm form{w.pictures};
    SetupWizard editor{form, w.main, w.services, w.state};
    editor.Form_Load();
    w.dialogs.answers = {mb::Ok};
    editor.OKButton_Click();
    EXPECT_NE(w.dialogs.shown.back().prompt.find("could not be saved"), std::string::npos);
    EXPECT_NE(w.dialogs.shown.back().prompt.find("folder of that name"), std::string::npos);  // says why
    EXPECT_TRUE(w.fs.FolderExists(w.Content("config.ini")));
    EXPECT_TRUE(w.shell.calls.empty());  // and nothing restarts
}

TEST(BadMenuFiles, MenuFileThatCannotBeOpenedShowsNoEntries) {
    World w;
    w.WriteMenu({"A,Alpha,a.txt,open"});
    w.fs.Lock(w.Content("config.ini"));
    w.main.Form_Load();
    EXPECT_TRUE(w.dialogs.shown.empty());  // it exists: no first-run question
    EXPECT_EQ(w.form.caption, "Talvenor");
    EXPECT_EQ(w.form.heightChanges, 0);
}

}  // namespace
