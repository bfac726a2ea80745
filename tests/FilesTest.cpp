// Entries made from files: names and paths from file names, files dropped onto the Menu Editor's
// list, the copy onto the medium, and the item editor's dialogs and drops.
#include <gtest/gtest.h>

#include "editor/EntryFromFile.h"
#include "editor/MenuItem.h"
#include "platform/MenuItemDesign.h"
#include "tests/fakes/World.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST(EntryFromFile, NamesAButtonPictureAndAMenuLineCanCarry) {
    const std::string sixty(60, 'x');
    struct Case {
        std::string title;
        std::vector<std::string> taken;
        std::string button, label;
    } cases[] = {
        {"Price list", {}, "Price list", "Price list"},
        {"a\\b/c:d*e?f\"g<h>i|j", {}, "a b c d e f g h i j", "a\\b/c:d*e?f\"g<h>i|j"},
        {"Smith, John", {}, "Smith John", "Smith John"},
        {"Red , green ,blue,", {}, "Red green blue", "Red green blue"},
        {"tab\there\x7f" "and\xc2\x85" "C1", {}, "tab here and C1", "tab\there\x7f" "and\xc2\x85" "C1"},
        {" . hidden ... ", {}, "hidden", ". hidden ..."},
        {"...", {}, "New Button", "..."},
        {"CON", {}, "CON_", "CON"},
        {"con.backup", {}, "con_.backup", "con.backup"},
        {"Lpt9", {}, "Lpt9_", "Lpt9"},
        {"nul  ", {}, "nul_", "nul"},
        {"COM10", {}, "COM10", "COM10"},
        {"Console", {}, "Console", "Console"},
        {std::string(70, 'x'), {}, sixty, std::string(70, 'x')},
        {std::string(59, 'x') + "\xf0\x9f\x98\x80", {}, std::string(59, 'x'), std::string(59, 'x') + "\xf0\x9f\x98\x80"},
        {std::string(58, 'x') + " .yz", {}, std::string(58, 'x'), std::string(58, 'x') + " .yz"},
        {"Guide", {"guide"}, "Guide 2", "Guide"},
        {"Guide", {"Guide", "GUIDE 2", "Guide 4"}, "Guide 3", "Guide"},
        {"\xc3\x9c" "bersicht", {"\xc3\xbc" "bersicht"}, "\xc3\x9c" "bersicht 2", "\xc3\x9c" "bersicht"},
        {"\xd0\x9e\xd0\xb1\xd0\xb7\xd0\xbe\xd1\x80", {"\xd0\xbe\xd0\xb1\xd0\x97\xd0\x9e\xd0\xa0"}, "\xd0\x9e\xd0\xb1\xd0\xb7\xd0\xbe\xd1\x80 2", "\xd0\x9e\xd0\xb1\xd0\xb7\xd0\xbe\xd1\x80"},
        {sixty, {sixty}, std::string(58, 'x') + " 2", sixty},
    };
    for (const Case& c : cases) {
        std::unordered_set<std::string> taken;
        for (const auto& t : c.taken) taken.insert(NameKey(t));
        const std::string button = UniqueButton(ButtonFromName(c.title), taken);
        EXPECT_EQ(button, c.button) << c.title;
        EXPECT_EQ(LabelFromName(c.title), c.label) << c.title;
        EXPECT_TRUE(IsPictureName(button)) << button;
    }
    EXPECT_FALSE(IsPictureName("a/b"));
    EXPECT_FALSE(IsPictureName("PRN"));
    EXPECT_FALSE(IsPictureName(""));
}

TEST(EntryFromFile, PathsRelativeToTheProgramAsWindowsComparesThem) {
    const std::optional<std::string> outside;
    struct Case {
        const char *appPath, *path;
        std::optional<std::string> relative;
    } cases[] = {
        {"C:\\Menu", "C:\\Menu\\docs\\catalogue.pdf", "docs\\catalogue.pdf"},
        {"C:\\Menu", "c:/menu/Docs", "Docs"},
        {"C:\\Menu", "C:\\Menu", "."},
        {"C:\\Menu", "C:\\MENU\\", "."},
        {"C:\\Menu", "C:\\Menu2\\x.pdf", outside},
        {"C:\\Menu", "C:\\Other\\x.pdf", outside},
        {"C:\\Menu", "D:\\Menu\\x.pdf", outside},
        {"E:\\", "E:\\docs\\x.pdf", "docs\\x.pdf"},
        {"E:\\", "e:\\", "."},
        {"E:\\", "F:\\x.pdf", outside},
        {"\\\\server\\share\\menu", "\\\\SERVER\\Share\\Menu\\a.pdf", "a.pdf"},
        {"\\\\server\\share\\menu", "\\\\server\\other\\menu\\a.pdf", outside},
        {"\\\\server\\share", "\\\\server\\share\\a.pdf", "a.pdf"},
        {"C:\\Menu", "\\\\server\\share\\Menu\\a.pdf", outside},
        {"C:\\Menu", "C:\\Menu\\docs\\..\\a.pdf", "a.pdf"},
        {"C:\\Menu", "C:\\Menu\\.\\docs\\.\\a.pdf", "docs\\a.pdf"},
        {"C:\\Menu", "C:\\Menu\\..\\Other\\a.pdf", outside},
        {"C:\\Menu", "C:\\Menu\\..\\Menu\\a.pdf", "a.pdf"},
        {"C:\\Menu", "C:\\..\\..\\Menu\\a.pdf", "a.pdf"},
        {"C:\\Menu", "\\\\?\\C:\\Menu\\a.pdf", "a.pdf"},
        {"C:\\Menu", "docs\\a.pdf", outside},
        {"C:\\Menu", "\\Menu\\a.pdf", outside},
    };
    for (const Case& c : cases) EXPECT_EQ(RelativeToProgram(c.appPath, c.path), c.relative) << c.appPath << " | " << c.path;
}

// A Menu Editor open on two entries, with files on the medium and elsewhere.
struct Medium {
    World w;
    FakeSetupWizardForm editorForm{w.pictures};
    SetupWizard editor{editorForm, w.main, w.services, w.state};

    Medium() {
        w.WriteMenu({"A,Alpha,a.txt,open", "Guide,Old guide,guide.txt,open"});
        w.fs.AddFile(w.Content("Guide 2.jpg"), "jpeg");
        w.fs.AddFile("C:\\Menu\\docs\\Guide.pdf", "pdf");
        w.fs.AddFile("D:\\Downloads\\Price, 2026.pdf", "new");
        w.fs.AddFile("D:\\Links\\Site.url", "[InternetShortcut]\r\nURL = https://shop.example/a,b\r\n");
        w.fs.AddFolder("D:\\Photos");
        w.main.Form_Load();
        editor.Form_Load();
    }
    Rows RowsNow() {
        Rows rows;
        for (int r = 1; r <= editor.RowCount(); ++r)
            rows.push_back({editor.Cell(r, 0), editor.Cell(r, 1), editor.Cell(r, 2), editor.Cell(r, 3), editor.Cell(r, 4)});
        return rows;
    }
};
struct Files : ::testing::Test, Medium {};

TEST_F(Files, DroppedFilesBecomeEntriesAfterTheRowUnderThePointer) {
    editor.sMenuItems_DropFiles(
        {"C:\\Menu\\docs\\Guide.pdf", "C:\\Menu\\docs", "D:\\Links\\Site.url", "C:\\Menu", "C:\\Menu\\gone.pdf"}, 1);
    EXPECT_EQ(RowsNow(), (Rows{{"A", "Alpha", "a.txt", "open", ""},
                               {"Guide 2", "Guide", "docs\\Guide.pdf", "open", "Guide 2.jpg"},
                               {"docs", "docs", "docs", "open", ""},
                               {"Site", "Site", "https://shop.example/a%2Cb", "open", ""},
                               {"Menu", "Menu", ".", "open", ""},
                               {"Guide", "Old guide", "guide.txt", "open", ""}}));
    EXPECT_EQ(editorForm.selected, 2);
    EXPECT_EQ(editorForm.rowCount, 6);
    ASSERT_EQ(w.dialogs.shown.size(), 1u);
    EXPECT_NE(w.dialogs.shown[0].prompt.find("C:\\Menu\\gone.pdf"), std::string::npos);
    EXPECT_EQ(w.dialogs.shown[0].title, "Demo - Menu Editor");

    editor.sMenuItems_DropFiles({"C:\\Menu\\docs\\Guide.pdf"}, 0);  // below the last row
    EXPECT_EQ(RowsNow().back(), (std::vector<std::string>{"Guide 3", "Guide", "docs\\Guide.pdf", "open", ""}));
    EXPECT_EQ(editorForm.selected, 7);
    ASSERT_TRUE(editor.WriteSetupConfig());
    EXPECT_NE(w.fs.Content(w.Content("config.ini")).find("\r\nSite,Site,https://shop.example/a%2Cb,open\r\n"),
              std::string::npos);
}

TEST_F(Files, AFileFromElsewhereIsCopiedOntoTheMediumOnlyAsTheAuthorDecides) {
    const std::string copy = "C:\\Menu\\docs\\Price, 2026.pdf";
    struct Case {
        const char* what;
        std::vector<int> answers;  // the message boxes', in order
        std::vector<std::optional<std::string>> folders;
        bool there;           // a file of that name is on the medium already
        int cancelAt;         // the progress report at which Cancel is pressed, -1 never
        CopyResult fails;     // Copied: the copy works
        std::string target;   // the new entry's File/Folder, "" for none
        std::string onMedium; // what the medium then holds under that name, "" for nothing
    } cases[] = {
        {"declined", {mb::No}, {}, false, -1, CopyResult::Copied, "", ""},
        {"copied", {mb::Yes}, {"C:\\Menu\\docs"}, false, -1, CopyResult::Copied, "docs\\Price, 2026.pdf", "new"},
        {"folder dialog cancelled", {mb::Yes}, {std::nullopt}, false, -1, CopyResult::Copied, "", ""},
        {"a folder off the medium is refused", {mb::Yes, mb::Ok}, {"D:\\Photos", "C:\\Menu\\docs"}, false, -1,
         CopyResult::Copied, "docs\\Price, 2026.pdf", "new"},
        {"replaced after the question", {mb::Yes, mb::Yes}, {"C:\\Menu\\docs"}, true, -1, CopyResult::Copied,
         "docs\\Price, 2026.pdf", "new"},
        {"the file there kept", {mb::Yes, mb::No}, {"C:\\Menu\\docs"}, true, -1, CopyResult::Copied,
         "docs\\Price, 2026.pdf", "old"},
        {"left out at the question", {mb::Yes, mb::Cancel}, {"C:\\Menu\\docs"}, true, -1, CopyResult::Copied, "", "old"},
        {"cancelled", {mb::Yes}, {"C:\\Menu\\docs"}, false, 1, CopyResult::Copied, "", ""},
        {"medium full", {mb::Yes}, {"C:\\Menu\\docs"}, false, -1, CopyResult::MediumFull, "", ""},
    };
    for (const Case& c : cases) {
        Medium fixture;
        World& w = fixture.w;
        if (c.there) w.fs.AddFile(copy, "old");
        w.dialogs.answers.assign(c.answers.begin(), c.answers.end());
        w.fileDialogs.answers.assign(c.folders.begin(), c.folders.end());
        w.progress.cancelAt = c.cancelAt;
        if (c.fails != CopyResult::Copied) w.copier.failing[FakeFileSystem::Key("D:\\Downloads\\Price, 2026.pdf")] = c.fails;
        fixture.editor.sMenuItems_DropFiles({"D:\\Downloads\\Price, 2026.pdf"}, 0);

        const Rows rows = fixture.RowsNow();
        EXPECT_EQ(rows.size(), c.target.empty() ? 2u : 3u) << c.what;
        const std::vector<std::string> entry{"Price 2026", "Price 2026", c.target, "open", ""};
        if (!c.target.empty()) {
            EXPECT_EQ(rows.back(), entry) << c.what;
        }
        EXPECT_EQ(w.fs.Content(copy), c.onMedium) << c.what;
        EXPECT_TRUE(w.dialogs.answers.empty()) << c.what << ": a question was not asked";
        EXPECT_EQ(w.progress.open, 0) << c.what;
        for (const auto& shown : w.fileDialogs.shown) EXPECT_EQ(shown.start, "C:\\Menu") << c.what;
        if (c.fails == CopyResult::MediumFull) {
            EXPECT_NE(w.dialogs.shown.back().prompt.find("not enough free space"), std::string::npos) << c.what;
        }
    }
}

TEST_F(Files, AFolderFromElsewhereIsCopiedWholeButNeverMergedOrReplaced) {
    const std::string picture = "C:\\Menu\\docs\\Photos\\Week 1\\a.jpg";
    struct Case {
        const char* what;
        const char* dropped;
        const char* there;  // what the medium holds under the copy's name: "", "file" or "folder"
        std::vector<int> answers;
        int cancelAt;
        std::string target;  // the new entry's File/Folder, "" for none
        std::string onMedium;  // `picture` afterwards
        std::string why;       // in the last message, for a copy refused
    } cases[] = {
        {"copied", "D:\\Photos", "", {mb::Yes}, -1, "docs\\Photos", "jpeg", ""},
        {"the folder there kept", "D:\\Photos", "folder", {mb::Yes, mb::Ok}, -1, "docs\\Photos", "old", ""},
        {"left out at the question", "D:\\Photos", "folder", {mb::Yes, mb::Cancel}, -1, "", "old", ""},
        {"a file of that name there", "D:\\Photos", "file", {mb::Yes, mb::Ok}, -1, "", "", "holds a file of that name"},
        {"cancelled", "D:\\Photos", "", {mb::Yes}, 1, "", "", ""},
        {"the medium inside it", "C:\\", "", {mb::Yes, mb::Ok}, -1, "", "", "\"docs\" is inside it"},
    };
    for (const Case& c : cases) {
        Medium fixture;
        World& w = fixture.w;
        w.fs.AddFile("D:\\Photos\\Week 1\\a.jpg", "jpeg");
        w.fs.AddFolder("D:\\Photos\\empty");
        w.fs.AddFolder(c.dropped);  // a drive's root is a folder too
        if (c.there == std::string("folder")) w.fs.AddFile(picture, "old");
        if (c.there == std::string("file")) w.fs.AddFile("C:\\Menu\\docs\\Photos", "old");
        w.dialogs.answers.assign(c.answers.begin(), c.answers.end());
        w.fileDialogs.answers = {"C:\\Menu\\docs"};
        w.progress.cancelAt = c.cancelAt;
        fixture.editor.sMenuItems_DropFiles({c.dropped}, 0);

        const Rows rows = fixture.RowsNow();
        ASSERT_EQ(rows.size(), c.target.empty() ? 2u : 3u) << c.what;
        if (!c.target.empty()) {
            EXPECT_EQ(rows.back(), (std::vector<std::string>{"Photos", "Photos", c.target, "open", ""})) << c.what;
        }
        EXPECT_EQ(w.fs.Content(picture), c.onMedium) << c.what;
        EXPECT_EQ(w.fs.FolderExists("C:\\Menu\\docs\\Photos\\empty"), c.onMedium == "jpeg") << c.what;
        EXPECT_TRUE(w.dialogs.answers.empty()) << c.what << ": a question was not asked";
        EXPECT_NE(w.dialogs.shown.back().prompt.find(c.why), std::string::npos) << c.what;
    }

    // Files and folders from elsewhere are asked about in one question.
    editor.sMenuItems_DropFiles({"D:\\Photos", "D:\\Downloads\\Price, 2026.pdf"}, 0);
    EXPECT_EQ(w.dialogs.shown.back().prompt.rfind("These files and folders are not on the medium:", 0), 0u);
}

struct ItemFiles : Files {
    FakeForm itemForm{MenuItemDesign(), w.pictures};
    MenuItem item{itemForm, editor, w.main, w.services, w.state};
    void SetUp() override {
        w.state.EditIndex = 1;
        item.Form_Load();
    }
};

using namespace ItemCtl;

TEST_F(ItemFiles, FileFolderFromWindowsDialogsAndFromADrop) {
    w.fileDialogs.answers = {"C:\\Menu\\docs\\Guide.pdf", "C:\\Menu", std::nullopt};
    item.BrowseFile_Click();
    EXPECT_EQ(itemForm.Text(mFileFolder), "docs\\Guide.pdf");
    item.BrowseFolder_Click();
    EXPECT_EQ(itemForm.Text(mFileFolder), ".");
    item.BrowseFile_Click();  // cancelled
    EXPECT_EQ(itemForm.Text(mFileFolder), ".");
    ASSERT_EQ(w.fileDialogs.shown.size(), 3u);
    EXPECT_FALSE(w.fileDialogs.shown[0].folder);
    EXPECT_TRUE(w.fileDialogs.shown[1].folder);
    EXPECT_EQ(w.fileDialogs.shown[0].start, "C:\\Menu");

    item.Form_DropFiles(mFileFolder, {"C:\\Menu\\docs", "C:\\Menu\\docs\\Guide.pdf"});  // one target only
    EXPECT_EQ(itemForm.Text(mFileFolder), ".");
    item.Form_DropFiles(Label1, {"C:\\Menu\\docs"});  // not a place that takes files
    EXPECT_EQ(w.dialogs.shown.size(), 2u);
    item.Form_DropFiles(mFileFolder, {"C:\\Menu\\docs"});
    EXPECT_EQ(itemForm.Text(mFileFolder), "docs");
    EXPECT_EQ(editor.Cell(1, 2), "a.txt");  // until OK
}

TEST_F(ItemFiles, APictureDroppedOnTheImageBoxBecomesTheButtonsPicture) {
    w.fs.AddFile("D:\\Photos\\shop.png", "png");
    w.fs.AddFile("D:\\Photos\\notes.txt", "broken");
    item.Form_DropFiles(mImage, {"D:\\Photos\\notes.txt"});
    EXPECT_NE(w.dialogs.shown.back().prompt.find("not a picture"), std::string::npos);
    item.Form_DropFiles(mImage, {"D:\\Photos\\shop.png"});
    EXPECT_EQ(w.fs.Content(w.Content("A.jpg")), "BMP:d:\\photos\\shop.png");
    auto* saved = dynamic_cast<const FakePicture*>(itemForm.Picture(mImage).get());
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->source, FakeFileSystem::Key(w.Content("A.jpg")));
    EXPECT_EQ(editor.Cell(1, 4), "A.jpg");

    const std::size_t asked = w.dialogs.shown.size();
    w.dialogs.answers = {mb::No};
    w.fs.AddFile("D:\\Photos\\other.gif", "gif");
    item.Form_DropFiles(mImage, {"D:\\Photos\\other.gif"});
    EXPECT_EQ(w.dialogs.shown.size(), asked + 1);  // asked before replacing, and told no
    EXPECT_EQ(w.fs.Content(w.Content("A.jpg")), "BMP:d:\\photos\\shop.png");

    itemForm.SetText(mButton, "a:b");
    item.Form_DropFiles(lImage, {"D:\\Photos\\other.gif"});
    EXPECT_NE(w.dialogs.shown.back().prompt.find("\"a b\""), std::string::npos);
    itemForm.SetText(mButton, "");
    item.Form_DropFiles(mImage, {"D:\\Photos\\other.gif"});
    EXPECT_NE(w.dialogs.shown.back().prompt.find("name first"), std::string::npos);
    EXPECT_FALSE(w.fs.Has(w.Content(".jpg")));
}

}  // namespace
