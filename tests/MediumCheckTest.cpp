// The Menu Editor's check window: the findings of the menu as the editor shows it, errors first,
// the way from a finding to its entry, and the web page written from the editor.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>

#include "check/DiskMedium.h"
#include "check/FileSystemMedium.h"
#include "editor/MediumCheck.h"
#include "platform/MediumCheckDesign.h"
#include "tests/CheckMedium.h"
#include "tests/fakes/World.h"

namespace {

using namespace CheckCtl;

struct CheckWindow : ::testing::Test {
    World w;
    FakeSetupWizardForm editorForm{w.pictures};
    SetupWizard editor{editorForm, w.main, w.services, w.state};
    FakeMediumCheckForm form{w.pictures};
    MediumCheck check{form, editor, w.main, w.services, w.state};

    void SetUp() override {
        w.fs.AddFile("C:\\Menu\\Orvelund.exe", checktest::Program());
        w.fs.AddFile(w.Content("app.jpg"), picturefiles::Jpeg(624, 213));
        w.fs.AddFile(w.Content("app.ico"), picturefiles::Ico({picturefiles::IcoBitmap(32, 32, 32)}));
        w.fs.AddFile("C:\\Menu\\docs\\manual.pdf", "%PDF");
        w.WriteMenu({"Docs,Manual,docs\\manual.pdf,open"}, "TITLE:Demo", "HIDESETUP:1");
        w.main.Form_Load();
        editor.Form_Load();
    }
    std::vector<std::string> Column(int column) {
        std::vector<std::string> cells;
        for (int row = 1; row <= check.RowCount(); ++row) cells.push_back(check.Cell(row, column));
        return cells;
    }
    int RowOf(const std::string& code) {
        for (int row = 1; row <= check.RowCount(); ++row)
            if (check.Cell(row, 1) == code) return row;
        return 0;
    }
};

TEST_F(CheckWindow, ChecksTheMenuAsTheEditorShowsItAndListsErrorsFirst) {
    check.Form_Load();
    EXPECT_EQ(form.caption, "Demo - Check Medium");
    EXPECT_EQ(RowOf("E-TARGET-MISSING"), 0);
    EXPECT_THAT(form.Text(lblSummary), ::testing::StartsWith("Nothing to report: no errors and no warnings."));

    // Two entries added and not saved: one opens a file that is not on the medium, one has a
    // comment's look; the findings name their rows.
    editor.Rows().push_back({"Price list", "Prices", "docs\\prices.pdf", "open", "", 0});
    editor.Rows().push_back({"## note", "x", "docs\\manual.pdf", "open", "", 0});
    check.CheckAgain_Click();
    const int missing = RowOf("E-TARGET-MISSING");
    ASSERT_NE(missing, 0);
    EXPECT_EQ(check.Cell(missing, 0), "Error");
    EXPECT_EQ(check.Cell(missing, 2), "Row 2 (\"Price list\")");
    EXPECT_EQ(check.Cell(RowOf("W-ENTRY-COMMENT"), 2), "Row 3 (\"## note\")");
    EXPECT_THAT(form.Text(lblSummary), ::testing::HasSubstr("not saved yet"));
    // Errors, then warnings, then notes.
    const auto severities = Column(0);
    EXPECT_TRUE(std::is_sorted(severities.begin(), severities.end(), [](const std::string& a, const std::string& b) {
        auto rank = [](const std::string& s) { return s == "Error" ? 0 : s == "Warning" ? 1 : 2; };
        return rank(a) < rank(b);
    })) << ::testing::PrintToString(severities);
    // The first finding is selected, and its message and fix are shown.
    EXPECT_EQ(form.selected, 1);
    EXPECT_THAT(form.Text(txtDetails), ::testing::HasSubstr("\r\n\r\nFix: "));
    // Nothing was written: the check reads the unsaved menu, it does not save it.
    EXPECT_EQ(w.fs.Content(w.Content("config.ini")).find("Price list"), std::string::npos);
}

TEST_F(CheckWindow, AFindingAboutAnEntryLeadsToItsRowEvenAfterRowsMoved) {
    editor.Rows().push_back({"Price list", "Prices", "docs\\prices.pdf", "open", "", 99});
    check.Form_Load();
    form.selected = RowOf("E-TARGET-MISSING");
    editorForm.selected = 1;
    editor.MoveDown_Click();  // Docs goes below: Price list is row 1 now
    check.lvFindings_DblClick();
    EXPECT_EQ(editorForm.selected, 1);
    EXPECT_EQ(w.state.EditIndex, 1);
    EXPECT_EQ(w.windows.menuItemShown, 1);

    // A finding about the medium leads nowhere; one about an entry deleted since says so.
    form.selected = RowOf("N-MEDIUM-SIZE");
    check.lvFindings_DblClick();
    EXPECT_EQ(w.windows.menuItemShown, 1);
    form.selected = RowOf("E-TARGET-MISSING");
    editor.DeleteItem_Click();
    check.lvFindings_DblClick();
    EXPECT_EQ(w.windows.menuItemShown, 1);
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_THAT(w.dialogs.shown[0].prompt, ::testing::HasSubstr("has been deleted"));
}

TEST_F(CheckWindow, WritesTheWebPageAndOffersToOpenItButNeverOverAnAuthorsOwnPage) {
    check.Form_Load();
    w.dialogs.answers = {mb::Yes};
    check.WriteWebPage_Click();
    const std::string page = w.fs.Content("C:\\Menu\\menu.htm");
    EXPECT_NE(page.find("<!-- Written by orvelund-check"), std::string::npos);
    EXPECT_NE(page.find("<h1 dir=\"auto\">Demo</h1>"), std::string::npos);
    ASSERT_EQ(w.shell.calls.size(), 1u);
    EXPECT_EQ(w.shell.calls[0].file, "C:\\Menu\\menu.htm");

    w.fs.AddFile("C:\\Menu\\menu.htm", "<html>the author's own page</html>");
    check.WriteWebPage_Click();
    EXPECT_EQ(w.fs.Content("C:\\Menu\\menu.htm"), "<html>the author's own page</html>");
    EXPECT_THAT(w.dialogs.shown.back().prompt, ::testing::HasSubstr("was not written by orvelund-check"));
    EXPECT_EQ(w.dialogs.shown.back().buttons, mb::OkOnly | mb::Critical);
}

TEST_F(CheckWindow, MakesTheDiscImageOfTheSavedMediumOrSaysWhyNot) {
    w.fs.AddFolder("C:\\Images");
    // Saved as the editor shows it: the image is made without the question about unsaved changes.
    w.fs.AddFile(w.Content("config.ini"), TextFileBytes(editor.MenuFileLines(), UnicodeForm::Utf8WithMark));
    check.Form_Load();
    struct Case {
        const char* name;
        std::function<void()> prepare;
        std::deque<int> answers;   // the message boxes' answers, in order
        bool written;
        const char* said;          // in the last message
    } cases[] = {
        {"a sound medium", [] {}, {mb::Yes}, true, "The disc image has been written:\r\nC:\\Images\\Demo.iso"},
        {"a full disk", [&] { w.fs.freeSpace = 4096; }, {}, false, "the disk is full"},
        {"errors, and the author stops", [&] { w.fs.AddFile("C:\\Menu\\content\\app.ico", "broken"); w.fs.Delete("C:\\Menu\\Orvelund.exe"); },
         {mb::No}, false, "Make the disc image anyway?"},
        {"a name a disc cannot hold", [&] { w.fs.AddFile("C:\\Menu\\docs\\" + std::string(65, 'n') + ".pdf", "x"); },
         {mb::Yes}, false, "it cannot hold 1 name or file as they stand"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w.fs.Delete("C:\\Images\\Demo.iso");
        c.prepare();
        w.dialogs.answers = c.answers;
        w.shell.calls.clear();
        w.fileDialogs.answers = {std::string("C:\\Images\\Demo.iso")};
        check.MakeDiscImage_Click();
        ASSERT_FALSE(w.dialogs.shown.empty());
        EXPECT_THAT(w.dialogs.shown.back().prompt, ::testing::HasSubstr(c.said));
        EXPECT_EQ(w.fs.Has("C:\\Images\\Demo.iso"), c.written);
        if (!c.written) continue;
        const std::string iso = w.fs.Content("C:\\Images\\Demo.iso");
        EXPECT_EQ(iso.substr(16 * 2048 + 1, 5), "CD001");
        EXPECT_EQ(w.shell.calls.at(0).file, "C:\\Images\\Demo.iso");  // opened, as the author asked
    }
}

// One checker: the program's own file services give orvelund-check's findings on the sample medium.
TEST(CheckThroughTheFileServices, FindsWhatOrvelundCheckFindsOnTheSampleMedium) {
    namespace fs = std::filesystem;
    const fs::path sample = fs::path(ORVELUND_TEST_DATA) / "check-sample";
    FakeFileSystem files;
    files.AddFolder("E:\\");
    for (const auto& e : fs::recursive_directory_iterator(sample)) {
        std::string relative = fs::relative(e.path(), sample).u8string();
        std::replace(relative.begin(), relative.end(), '/', '\\');
        if (e.is_directory()) {
            files.AddFolder("E:\\" + relative);
            continue;
        }
        std::ifstream in(e.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files.AddFile("E:\\" + relative, bytes.str());
    }
    FileSystemMedium throughServices(files, "E:\\");
    DiskMedium onDisk(sample.u8string());
    EXPECT_EQ(FormatText(CheckMedium(throughServices).report), FormatText(CheckMedium(onDisk).report));
}

}  // namespace
