// The item editor and the Menu Editor's commands.
#include <gtest/gtest.h>

#include "editor/ColorModule.h"
#include "editor/MenuItem.h"
#include "platform/MenuItemDesign.h"
#include "platform/SetupWizardDesign.h"
#include "tests/fakes/World.h"

namespace {

struct ItemEditor : ::testing::Test {
    World w;
    FakeSetupWizardForm editorForm{w.pictures};
    SetupWizard editor{editorForm, w.main, w.services, w.state};
    FakeForm itemForm{MenuItemDesign(), w.pictures};
    MenuItem item{itemForm, editor, w.main, w.services, w.state};

    void SetUp() override {
        w.fs.AddFile(w.Content("Website.jpg"), "jpeg");
        w.WriteMenu({"Docs,Read me,manual.pdf,open", "Website,Visit us,http://www.orvelund.example,open",
                     "Odd,Strange verb,x.txt,shred"});
        w.main.Form_Load();
        editor.Form_Load();
    }
    void Edit(int row) {
        w.state.EditIndex = row;
        item.Form_Load();
    }
    std::string Text(ControlId id) { return itemForm.Text(id); }
};

using namespace ItemCtl;

TEST_F(ItemEditor, OpensWithTheRowsFieldsAndItsPicture) {
    Edit(2);
    EXPECT_EQ(Text(mButton), "Website");
    EXPECT_EQ(Text(mLabel), "Visit us");
    EXPECT_EQ(Text(mFileFolder), "http://www.orvelund.example");
    EXPECT_EQ(Text(mAction), "open");
    EXPECT_EQ(itemForm.caption, "Demo - Edit Menu Item");
    EXPECT_EQ(SourceOf(itemForm.Picture(mImage)), FakeFileSystem::Key(w.Content("Website.jpg")));
    EXPECT_FALSE(itemForm.Enabled(mTest));
}

TEST_F(ItemEditor, RefreshPreviewsTheButtonLikeTheMenuDoes) {
    Edit(2);
    item.mTest_Click();  // disabled until the first Refresh
    EXPECT_TRUE(w.shell.calls.empty());
    item.Refresh_Click();
    EXPECT_TRUE(itemForm.Enabled(mTest));
    EXPECT_EQ(Text(mTest), "");
    EXPECT_EQ(itemForm.controls[mTest].accessibleName, "Website");  // what a screen reader calls it
    EXPECT_EQ(SourceOf(itemForm.Picture(mTest)), FakeFileSystem::Key(w.Content("Website.jpg")));

    itemForm.SetText(mButton, "Web");  // no Web.jpg
    item.Refresh_Click();
    EXPECT_EQ(Text(mTest), "Web");
    EXPECT_EQ(itemForm.Picture(mTest), nullptr);
    EXPECT_EQ(itemForm.Picture(mImage), nullptr);
    item.OKButton_Click();
    EXPECT_EQ(editor.Cell(2, 0), "Web");
    EXPECT_EQ(editor.Cell(2, 4), "");
    EXPECT_TRUE(itemForm.closed);
}

TEST_F(ItemEditor, PreviewOfAPictureThatCannotBeDecodedShowsTheButtonsName) {
    w.fs.AddFile(w.Content("Bad.jpg"), "broken");
    Edit(2);
    item.Refresh_Click();  // Website.jpg: a picture
    ASSERT_NE(itemForm.Picture(mTest), nullptr);
    itemForm.SetText(mButton, "Bad");
    item.Refresh_Click();
    EXPECT_EQ(Text(mTest), "Bad");
    EXPECT_EQ(itemForm.Picture(mTest), nullptr);
    EXPECT_EQ(itemForm.Picture(mImage), nullptr);
}

TEST_F(ItemEditor, TestButtonLaunchesTheFieldsAsTheyStandAndOkKeepsAnyVerb) {
    Edit(3);
    item.Refresh_Click();
    itemForm.SetText(mFileFolder, "notes.txt");
    item.mTest_Click();
    ASSERT_EQ(w.shell.calls.size(), 1u);
    EXPECT_EQ(w.shell.calls[0].verb, "shred");
    EXPECT_EQ(w.shell.calls[0].file, "C:\\Work\\notes.txt");
    EXPECT_EQ(editor.Cell(3, 2), "x.txt");  // not saved by trying it
    item.OKButton_Click();
    EXPECT_EQ(editor.Cell(3, 2), "notes.txt");
    EXPECT_EQ(editor.Cell(3, 3), "shred");
}

TEST_F(ItemEditor, CancelLeavesTheRowAsItWas) {
    Edit(1);
    itemForm.SetText(mLabel, "Changed");
    item.CancelButton_Click();
    EXPECT_EQ(editor.Cell(1, 1), "Read me");
    EXPECT_TRUE(itemForm.closed);
}

TEST_F(ItemEditor, OkWritesIntoTheSameEntryAfterRowsMoved) {
    Edit(1);
    itemForm.SetText(mLabel, "Edited docs");
    editorForm.selected = 1;
    editor.MoveDown_Click();  // Docs is now row 2, Website row 1
    w.state.EditIndex = 3;    // and another double click changed the shared index
    item.OKButton_Click();
    EXPECT_EQ(editor.Cell(2, 0), "Docs");
    EXPECT_EQ(editor.Cell(2, 1), "Edited docs");
    EXPECT_EQ(editor.Cell(1, 1), "Visit us");
    EXPECT_EQ(editor.Cell(3, 1), "Strange verb");
}

TEST_F(ItemEditor, OkOnADeletedEntrySaysSoAndChangesNothing) {
    Edit(2);
    editorForm.selected = 2;
    editor.DeleteItem_Click();
    itemForm.SetText(mLabel, "Lost?");
    item.OKButton_Click();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_NE(w.dialogs.shown[0].prompt.find("deleted"), std::string::npos);
    EXPECT_EQ(editor.RowCount(), 2);
    EXPECT_EQ(editor.Cell(1, 1), "Read me");
    EXPECT_EQ(editor.Cell(2, 1), "Strange verb");
    EXPECT_EQ(Text(mLabel), "Lost?");  // still there to copy
}

TEST_F(ItemEditor, CommaInAFieldIsRefusedNamingTheFieldAndKeepingTheEdits) {
    Edit(1);
    itemForm.SetText(mLabel, "Read me, please");
    itemForm.SetText(mAction, "print");
    item.OKButton_Click();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_NE(w.dialogs.shown[0].prompt.find("The Label contains a comma (,)"), std::string::npos);
    EXPECT_FALSE(itemForm.closed);
    EXPECT_EQ(editor.Cell(1, 1), "Read me");
    EXPECT_EQ(Text(mAction), "print");
}

TEST_F(ItemEditor, MenuEditorRefusesAColonInTheTitle) {
    editorForm.SetText(WizardCtl::sTitle, "Demo: the menu");
    const std::string before = w.fs.Content(w.Content("config.ini"));
    editor.OKButton_Click();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_NE(w.dialogs.shown[0].prompt.find("The menu title contains a colon (:)"), std::string::npos);
    EXPECT_EQ(w.fs.Content(w.Content("config.ini")), before);
    EXPECT_FALSE(editorForm.closed);
    EXPECT_FALSE(w.state.ExitRequested);
}

TEST(ColorModule, OffersTheSameSixteenCustomColoursEveryTime) {
    const auto c = ColorModule::CustomColors();
    EXPECT_EQ(c[0], 139 + 256 * 155 + 65536 * 184);
    EXPECT_EQ(c[7], 236 + 256 * 164 + 65536 * 236);
    for (int i = 8; i < 16; ++i) EXPECT_EQ(c[i], 160 + 256 * 160 + 65536 * 160);

    FakeColorDialog dialog;  // changes the custom colours it is shown, as a user may
    std::int32_t chosen = 7;
    bool cancelled = false;
    ColorModule::ShowColorDialog(dialog, chosen, cancelled);
    ColorModule::ShowColorDialog(dialog, chosen, cancelled);
    ASSERT_EQ(dialog.shownWith.size(), 2u);
    EXPECT_EQ(dialog.shownWith[1], c);
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(chosen, 7);
}

TEST_F(ItemEditor, ColourPicksChangeTheButtonsAndButtonColour) {
    w.colors.answers = {255};
    editor.Color_Click(0);
    EXPECT_EQ(editorForm.BackColor(WizardCtl::Color0), 255);
    EXPECT_EQ(w.state.ButtonColor, "255");
    w.colors.answers = {Rgb(1, 2, 3)};
    editor.Color_Click(1);
    EXPECT_EQ(editorForm.BackColor(WizardCtl::Color1), Rgb(1, 2, 3));
    EXPECT_EQ(w.state.ButtonColor, "255");
    editor.Color_Click(0);  // cancelled
    EXPECT_EQ(editorForm.BackColor(WizardCtl::Color0), 255);
    ASSERT_TRUE(editor.WriteSetupConfig());
    EXPECT_NE(w.fs.Content(w.Content("config.ini")).find("\r\nBTCOLOR:255\r\nBGCOLOR:197121\r\n"), std::string::npos);
}

TEST_F(ItemEditor, OpenCommandsReachTheShell) {
    editor.AppImage_Click();
    editor.Content_Click();
    editor.Update_Click();
    editor.Instructions_Click();
    EXPECT_EQ(w.shell.calls,
              (std::vector<ShellCall>{
                  {w.form.Handle(), "open", "C:\\Menu\\content\\app.jpg"},
                  {editorForm.Handle(), "open", "C:\\Menu\\content\\"},
                  {w.form.Handle(), "open", "http://www.orvelund.example/cgi-bin/update.cgi?soft=Orvelund&vers=2.1.1"},
                  {w.form.Handle(), "open", "C:\\Menu\\content\\instructions.htm"},
              }));
    EXPECT_TRUE(w.fs.Has(w.Content("instructions.htm")));  // written again before it is opened
}

TEST_F(ItemEditor, AutoRunButtonReadsUpdateAfterAFailedWriteToo) {
    EXPECT_EQ(editorForm.Text(WizardCtl::AutoRunReset), "Create AutoRun");
    w.fs.FailWritesUnder("C:\\Menu");
    editor.AutoRunReset_Click();
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].title, "Demo - Menu Editor");
    EXPECT_EQ(editorForm.Text(WizardCtl::AutoRunReset), "Update AutoRun");
    EXPECT_FALSE(w.fs.Has("C:\\Menu\\autorun.inf"));
}

}  // namespace
