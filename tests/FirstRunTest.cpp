// The first start: the default menu, its pictures, the user's guide, and autorun.inf on request.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/TextLines.h"
#include "content/DefaultContent.h"
#include "platform/MainWindowDesign.h"
#include "tests/fakes/World.h"

namespace {

using namespace MainCtl;

std::string Expected(const std::string& name) {
    std::ifstream in(std::string(ORVELUND_TEST_DATA) + "/expected/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Names(const std::vector<std::string>& paths) {
    std::vector<std::string> names;
    for (const auto& p : paths) names.push_back(p.substr(p.find_last_of('\\') + 1));
    return names;
}

struct DefaultContent : ::testing::Test {
    World w;
    void StartAnsweringYes() {
        w.dialogs.answers = {mb::Yes};
        w.main.Form_Load();
    }
};

TEST_F(DefaultContent, EmptyFolderGetsEveryFileInOrderAndTheEditorOpens) {
    StartAnsweringYes();
    EXPECT_EQ(Names(w.fs.writes), (std::vector<std::string>{"Instructions.jpg", "Website.jpg", "Explore.jpg",
                                                            "Updates.jpg", "instructions.htm", "app.ico",
                                                            "config.ini", "app.jpg"}));
    EXPECT_EQ(w.fs.Content(w.Content("config.ini")), Expected("config.ini"));
    EXPECT_EQ(w.fs.Content(w.Content("instructions.htm")), Expected("instructions.htm"));
    EXPECT_EQ(w.fs.Content(w.Content("app.ico")), "ICON:built-in:icon");
    EXPECT_EQ(w.fs.Content(w.Content("Website.jpg")), "BMP:built-in:website");  // a bitmap under a .jpg name
    EXPECT_EQ(w.fs.Content(w.Content("app.jpg")), "BMP:built-in:main");
    EXPECT_EQ(w.windows.setupWizardShown, 1);
    EXPECT_TRUE(w.state.ShowEditorAtStart);
}

TEST_F(DefaultContent, MenuWindowShowsTheFourDefaultEntriesWithTheirPictures) {
    StartAnsweringYes();
    EXPECT_EQ(w.form.caption, "Orvelund");
    EXPECT_EQ(w.form.height, 6400);
    const char* labels[] = {"How to use Orvelund", "Visit www.orvelund.example", "Explore Files",
                            "Online Check for Updates"};
    const char* pictures[] = {"Instructions.jpg", "Website.jpg", "Explore.jpg", "Updates.jpg"};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(w.form.Text(LblMenu(k)), labels[k]);
        EXPECT_EQ(w.form.Text(BtnMenu(k)), "");
        EXPECT_EQ(SourceOf(w.form.Picture(BtnMenu(k))), FakeFileSystem::Key(w.Content(pictures[k])));
    }
    EXPECT_EQ(w.form.Text(BtnMenu(4)), "Button");
    EXPECT_FALSE(w.form.ControlVisible(BtnNext));
    // The main picture stays the built-in one; the file just written is not loaded.
    EXPECT_EQ(SourceOf(w.form.Picture(Picture1)), "built-in:main");
}

TEST_F(DefaultContent, UsersOwnFilesAreKeptAndTheirIconIsWrittenBack) {
    w.fs.AddFile(w.Content("Instructions.jpg"), "my picture");
    w.fs.AddFile(w.Content("instructions.htm"), "");
    w.fs.AddFile(w.Content("app.ico"), "ICON my own");
    StartAnsweringYes();
    EXPECT_EQ(w.fs.Content(w.Content("Instructions.jpg")), "my picture");
    EXPECT_EQ(w.fs.Content(w.Content("instructions.htm")), "");
    EXPECT_EQ(w.fs.Content(w.Content("app.ico")), "ICON:" + FakeFileSystem::Key(w.Content("app.ico")));
    EXPECT_EQ(w.fs.Content(w.Content("config.ini")), Expected("config.ini"));
}

TEST_F(DefaultContent, StartWithAMenuWritesNothingButAMissingMainPicture) {
    w.WriteMenu({"Docs,Read me,manual.pdf,open"});
    w.main.Form_Load();
    EXPECT_EQ(Names(w.fs.writes), std::vector<std::string>{"app.jpg"});

    World again;
    again.WriteMenu({"Docs,Read me,manual.pdf,open"});
    again.fs.AddFile(again.Content("app.jpg"), "jpeg");
    again.main.Form_Load();
    EXPECT_TRUE(again.fs.writes.empty());
    EXPECT_EQ(SourceOf(again.form.Picture(Picture1)), FakeFileSystem::Key(again.Content("app.jpg")));
}

TEST_F(DefaultContent, MainPictureThatWillNotLoadLeavesTheBuiltInOne) {
    w.WriteMenu({"Docs,Read me,manual.pdf,open"});
    w.fs.AddFile(w.Content("app.jpg"), "broken");
    w.main.Form_Load();
    EXPECT_EQ(SourceOf(w.form.Picture(Picture1)), "built-in:main");
    EXPECT_TRUE(w.fs.writes.empty());
}

TEST_F(DefaultContent, ReadOnlyMediumStillShowsTheMenuAndSaysNothing) {
    w.WriteMenu({"Docs,Read me,manual.pdf,open", "Files,Browse,.,explore"});
    w.fs.FailWritesUnder("C:\\Menu");
    w.main.Form_Load();
    EXPECT_TRUE(w.fs.writes.empty());
    EXPECT_TRUE(w.dialogs.shown.empty());
    EXPECT_FALSE(w.form.closed);
    EXPECT_EQ(SourceOf(w.form.Picture(Picture1)), "built-in:main");
    EXPECT_EQ(w.form.Text(LblMenu(1)), "Browse");
    EXPECT_EQ(w.form.height, 5000);
}

TEST_F(DefaultContent, GuideIsWrittenWhenMissingAndTheMenuGoesBackToTheTop) {
    std::vector<std::string> entries;
    for (int i = 1; i <= 12; ++i) entries.push_back("B" + std::to_string(i) + ",L" + std::to_string(i) + ",x,open");
    w.WriteMenu(entries);
    w.fs.AddFile(w.Content("app.jpg"), "jpeg");
    w.main.Form_Load();
    w.main.btnNext_Click();
    w.main.btnNext_Click();
    w.main.CheckForInstructions();
    EXPECT_EQ(w.fs.Content(w.Content("instructions.htm")), Expected("instructions.htm"));
    EXPECT_EQ(w.main.ScrollOffset(), 0);
    EXPECT_EQ(w.form.Text(LblMenu(0)), "L1");
    EXPECT_FALSE(w.form.ControlVisible(BtnPrev));
    EXPECT_TRUE(w.form.ControlVisible(BtnNext));
}

TEST(Version, UpdateAddressCarriesTheVersionWithoutLeadingZeros) {
    EXPECT_EQ(VersionText(Version{}), "2.1.1");
    EXPECT_EQ(UpdateAddress(Version{10, 0, 7}),
              "http://www.orvelund.example/cgi-bin/update.cgi?soft=Orvelund&vers=10.0.7");
}

struct AutoRun : ::testing::Test {
    World w;
    std::string file() { return w.fs.Content("C:\\Menu\\autorun.inf"); }
};

TEST_F(AutoRun, WritesEightLinesWithTheCaptionAndTheIcon) {
    w.fs.AddFile(w.Content("app.ico"), "ICON");
    w.form.caption = "My  Menu ";
    w.main.CheckForAutoRun("My  Menu  - Menu Editor");
    EXPECT_EQ(file(), Expected("autorun.inf"));
    w.main.CheckForAutoRun("x");
    EXPECT_EQ(file(), Expected("autorun.inf"));  // rewritten, not appended to
    EXPECT_TRUE(w.dialogs.shown.empty());
}

TEST_F(AutoRun, WithoutAnIconOrATitleNamesTheProgramAndLeavesTheLinesEmpty) {
    w.form.caption = "";
    w.main.CheckForAutoRun("x");
    const std::string text = file();
    EXPECT_NE(text.find("\r\nshell\\Run=\r\nicon=Orvelund.exe,0\r\nlabel=\r\n"), std::string::npos);
}

TEST_F(AutoRun, NamesTheProgramsOwnFileAndQuotesANameWithABlank) {
    w.services.app.exeName = "Start.exe";
    w.main.CheckForAutoRun("x");
    EXPECT_NE(file().find("open=Start.exe\r\nShellExecute=Start.exe\r\nshell\\Run\\command=Start.exe\r\n"),
              std::string::npos);
    EXPECT_NE(file().find("icon=Start.exe,0"), std::string::npos);
    w.services.app.exeName = "My Menu.exe";
    w.main.CheckForAutoRun("x");
    EXPECT_NE(file().find("open=\"My Menu.exe\"\r\nShellExecute=My Menu.exe\r\nshell\\Run\\command=\"My Menu.exe\"\r\n"),
              std::string::npos);
}

TEST_F(AutoRun, ATitleOutsideTheCodePageIsWrittenInUtf16WithItsMark) {
    w.form.caption = "\xce\x9c\xce\xb5\xce\xbd\xce\xbf\xcf\x8d \xf0\x9f\x93\x80";
    w.main.CheckForAutoRun("x");
    const std::string bytes = file();
    ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    const std::string text = Utf8FromUtf16(bytes.data() + 2, bytes.size() - 2, false);
    EXPECT_NE(text.find("\r\nlabel=" + w.form.caption + "\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(0, 12), "[AutoRun]\r\na");
}

TEST_F(AutoRun, FailedWriteIsReportedAndKeepsTheOldFile) {
    w.fs.AddFile("C:\\Menu\\autorun.inf", "old bytes");
    w.fs.SetReadOnly("C:\\Menu\\autorun.inf");
    w.main.CheckForAutoRun("Demo - Menu Editor");
    EXPECT_EQ(file(), "old bytes");
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_EQ(w.dialogs.shown[0].title, "Demo - Menu Editor");
    EXPECT_EQ(w.dialogs.shown[0].buttons, mb::OkOnly | mb::Critical);
    EXPECT_EQ(w.dialogs.shown[0].prompt,
              "The autorun.inf file could not be updated. Please delete autorun.inf manually and restart the "
              "application.");
}

TEST_F(AutoRun, DriveRootWritesBesideTheProgram) {
    World root("E:\\");
    root.form.caption = "Stick";
    root.main.CheckForAutoRun("x");
    EXPECT_TRUE(root.fs.Has("E:\\autorun.inf"));
}

}  // namespace
