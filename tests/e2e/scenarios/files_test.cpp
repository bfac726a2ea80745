// Entries made from files under Wine: files and a folder dropped onto the Menu Editor's list (a
// real WM_DROPFILES), a file chosen in Windows' file dialog, a file and a folder from elsewhere
// copied onto the medium (and copies cancelled in the progress window), and a picture dropped
// onto the item editor's Image box.
#include "Layout.h"
#include "Orvelund.h"
#include "platform/ProgressDesign.h"

namespace {

using namespace e2e;
using namespace orv;
using Row = std::vector<std::string>;

struct Files : OrvelundTest {
    std::string medium, elsewhere, docs;
    Process p;
    HWND editor = nullptr, list = nullptr;

    void SetUp() override {
        OrvelundTest::SetUp();
        const std::string exe = CopyExe("Orvelund.exe", "medium");
        medium = JoinPath(Folder(), "medium");
        elsewhere = JoinPath(Folder(), "elsewhere");
        docs = JoinPath(medium, "docs");
        CreateDirectoryW(Widen(elsewhere).c_str(), nullptr);
        CreateDirectoryW(Widen(docs).c_str(), nullptr);
        WriteFileBytes(JoinPath(docs, "Catalogue.pdf"), "%PDF-1.4");
        WriteFileBytes(JoinPath(MakeContentFolder(medium), "config.ini"),
                       MenuFile({"A,Alpha,a.txt,open", "B,Beta,b.txt,open"}));
        p = Launch(exe, "-setup");
        editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
        ASSERT_NE(editor, nullptr);
        list = FindControl(editor, wizard::sMenuItems);
    }
    // A point inside row `row` (0-based) of the list.
    POINT OnRow(int row) {
        const RECT r = ListRowRect(list, row);
        return {r.left + 20, (r.top + r.bottom) / 2};
    }
    HWND OpenItemEditor(int row) {
        if (!ListDoubleClickRow(list, row)) return nullptr;
        return WaitForWindow("Demo - Edit Menu Item", kWait, p.Id());
    }
    bool Answer(const std::string& containing, int button) {
        MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
        if (!box || box.text.find(containing) == std::string::npos) {
            ADD_FAILURE() << "expected a message with \"" << containing << "\", got \"" << box.text << "\"";
            return false;
        }
        return e2e::Answer(box, button);
    }
    // Drops `file` from elsewhere onto the list, agrees to copy it and picks docs.
    bool DropAndCopyIntoDocs(const std::string& file) {
        return DropFilesOn(list, OnRow(0), {file}) && Answer("not on the medium", IDYES) &&
               ChooseInFileDialog(WaitForFileDialog("Choose the folder on the medium to copy into", kWait, p.Id()), docs);
    }
};

TEST_F(Files, FilesAndAFolderDroppedOntoTheListBecomeEntriesAfterTheRowUnderThePointer) {
    WriteFileBytes(JoinPath(elsewhere, "Shop.url"), "[InternetShortcut]\r\nURL=https://shop.orvelund.example/\r\n");
    ASSERT_TRUE(DropFilesOn(list, OnRow(0), {JoinPath(docs, "Catalogue.pdf"), docs, JoinPath(elsewhere, "Shop.url")}));
    ASSERT_TRUE(WaitUntil([&] { return ListRowCount(list) == 5; }, kWait));
    EXPECT_EQ(ListRows(list), (std::vector<Row>{{"A", "Alpha", "a.txt", "open", ""},
                                                {"Catalogue", "Catalogue", "docs\\Catalogue.pdf", "open", ""},
                                                {"docs", "docs", "docs", "open", ""},
                                                {"Shop", "Shop", "https://shop.orvelund.example/", "open", ""},
                                                {"B", "Beta", "b.txt", "open", ""}}));
    EXPECT_EQ(ListSelectedRow(list), 1);

    // Below the last row: at the end; the same file again gets a Button of its own.
    const RECT last = ListRowRect(list, 4);
    ASSERT_TRUE(DropFilesOn(list, POINT{last.left + 20, last.bottom + 30}, {JoinPath(docs, "catalogue.PDF")}));
    ASSERT_TRUE(WaitUntil([&] { return ListRowCount(list) == 6; }, kWait));
    EXPECT_EQ(ListRows(list)[5], (Row{"catalogue 2", "catalogue", "docs\\catalogue.PDF", "open", ""}));
    EXPECT_EQ(ListSelectedRow(list), 5);
}

TEST_F(Files, AFileAndAFolderChosenInWindowsDialogsBecomeTheEntrysTarget) {
    HWND item = OpenItemEditor(0);
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(Click(FindControl(item, item::BrowseFile)));
    HWND dialog = WaitForFileDialog("Choose the file this entry opens", kWait, p.Id());
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ChooseInFileDialog(dialog, JoinPath(docs, "Catalogue.pdf")));
    HWND field = FindControl(item, item::mFileFolder);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(field) == "docs\\Catalogue.pdf"; }, kWait)) << TextOf(field);

    // The folder dialog opens in the program's folder, where "docs" is the medium's docs.
    ASSERT_TRUE(Click(FindControl(item, item::BrowseFolder)));
    dialog = WaitForFileDialog("Choose the folder this entry opens", kWait, p.Id());
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(ChooseInFileDialog(dialog, "docs"));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(field) == "docs"; }, kWait)) << TextOf(field);
    ASSERT_TRUE(Click(FindControl(item, item::OKButton)));
    ASSERT_TRUE(WaitForNoWindow("Demo - Edit Menu Item", kWait, p.Id()));
    EXPECT_EQ(ListCell(list, 0, 2), "docs");
}

TEST_F(Files, AFileFromAnotherFolderIsCopiedOntoTheMediumAndItsEntryMade) {
    const std::string bytes(3 * 1024 * 1024 + 17, 'x');
    ASSERT_TRUE(WriteFileBytes(JoinPath(elsewhere, "Price list.pdf"), bytes));
    ASSERT_TRUE(DropAndCopyIntoDocs(JoinPath(elsewhere, "Price list.pdf")));
    ASSERT_TRUE(WaitUntil([&] { return ListRowCount(list) == 3; }, kWait));
    EXPECT_EQ(ListRows(list)[1], (Row{"Price list", "Price list", "docs\\Price list.pdf", "open", ""}));
    EXPECT_EQ(ReadFileBytes(JoinPath(docs, "Price list.pdf")), bytes);

    // The same name again: asked before the file there is replaced; No keeps it and makes the entry.
    ASSERT_TRUE(WriteFileBytes(JoinPath(elsewhere, "Price list.pdf"), "newer"));
    ASSERT_TRUE(DropAndCopyIntoDocs(JoinPath(elsewhere, "Price list.pdf")));
    ASSERT_TRUE(Answer("is already in \"docs\"", IDNO));
    ASSERT_TRUE(WaitUntil([&] { return ListRowCount(list) == 4; }, kWait));
    EXPECT_EQ(ReadFileBytes(JoinPath(docs, "Price list.pdf")), bytes);
}

TEST_F(Files, AFolderFromAnotherFolderIsCopiedWholeAndOneOfThatNameIsKeptNotMerged) {
    const std::string course = JoinPath(elsewhere, "Course");
    for (const char* folder : {"", "Week 1", "empty"}) CreateDirectoryW(Widen(JoinPath(course, folder)).c_str(), nullptr);
    const std::string bytes(1024 * 1024 + 3, 'c');
    ASSERT_TRUE(WriteFileBytes(JoinPath(course, "Week 1\\notes.pdf"), bytes));
    ASSERT_TRUE(WriteFileBytes(JoinPath(course, "intro.txt"), "hello"));
    ASSERT_TRUE(DropAndCopyIntoDocs(course));
    ASSERT_TRUE(WaitUntil([&] { return ListRowCount(list) == 3; }, kWait));
    EXPECT_EQ(ListRows(list)[1], (Row{"Course", "Course", "docs\\Course", "open", ""}));
    EXPECT_EQ(ReadFileBytes(JoinPath(docs, "Course\\Week 1\\notes.pdf")), bytes);
    EXPECT_EQ(ReadFileBytes(JoinPath(docs, "Course\\intro.txt")), "hello");
    EXPECT_TRUE(FolderExists(JoinPath(docs, "Course\\empty")));

    ASSERT_TRUE(WriteFileBytes(JoinPath(course, "intro.txt"), "newer"));
    ASSERT_TRUE(DropAndCopyIntoDocs(course));
    ASSERT_TRUE(Answer("A folder named \"Course\" is already in \"docs\"", IDOK));
    ASSERT_TRUE(WaitUntil([&] { return ListRowCount(list) == 4; }, kWait));
    EXPECT_EQ(ReadFileBytes(JoinPath(docs, "Course\\intro.txt")), "hello");
}

TEST_F(Files, ACopyCancelledInTheProgressWindowLeavesNoFileAndNoEntry) {
    // 64 pieces of 256 KiB, each read as from a slow disc: 16 seconds, unless cancelled. The
    // program answers the driver between two pieces.
    ASSERT_TRUE(WriteFileBytes(JoinPath(elsewhere, "Film.mp4"), std::string(16 * 1024 * 1024, 'f')));
    ASSERT_TRUE(SlowReads(p.Id(), 250));
    ASSERT_TRUE(DropAndCopyIntoDocs(JoinPath(elsewhere, "Film.mp4")));
    HWND progress = WaitForWindow("Copying onto the medium", kWait, p.Id());
    ASSERT_NE(progress, nullptr);
    EXPECT_FALSE(IsWindowEnabled(editor));  // waits for the copy, as under a modal dialog
    EXPECT_TRUE(LaidOutAt(progress,
                          {{Win32ControlId(ProgressCtl::CancelButton), 4065, 1065, 1215, 375},
                           {Win32ControlId(ProgressCtl::lText), 120, 120, 5160, 495},
                           {Win32ControlId(ProgressCtl::Bar), 120, 690, 5160, 255}},
                          ScreenDpi()));
    EXPECT_EQ(TextOf(FindControl(progress, Win32ControlId(ProgressCtl::lText))), "Copying \"Film.mp4\" to \"docs\"");
    Sleep(300);
    EXPECT_TRUE(SaveScreenshot(JoinPath(ArtifactsFolder(), "progress.bmp"), progress));
    ASSERT_TRUE(Click(FindControl(progress, Win32ControlId(ProgressCtl::CancelButton))));
    EXPECT_TRUE(WaitForNoWindow("Copying onto the medium", kWait, p.Id()));
    SlowReads(p.Id(), 0);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(editor) != 0; }, kWait));
    EXPECT_EQ(ListRowCount(list), 2);
    EXPECT_FALSE(FileExists(JoinPath(docs, "Film.mp4")));
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(Widen(JoinPath(docs, "Film.mp4*")).c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "left behind: " << Narrow(found.cFileName);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);

    // A folder's copy cancelled half-way leaves no folder, not even the part already copied.
    const std::string films = JoinPath(elsewhere, "Films");
    CreateDirectoryW(Widen(films).c_str(), nullptr);
    ASSERT_TRUE(WriteFileBytes(JoinPath(films, "a.txt"), "first"));
    ASSERT_TRUE(MoveFileW(Widen(JoinPath(elsewhere, "Film.mp4")).c_str(), Widen(JoinPath(films, "b.mp4")).c_str()));
    ASSERT_TRUE(SlowReads(p.Id(), 250));
    ASSERT_TRUE(DropAndCopyIntoDocs(films));
    progress = WaitForWindow("Copying onto the medium", kWait, p.Id());
    ASSERT_NE(progress, nullptr);
    Sleep(300);
    ASSERT_TRUE(Click(FindControl(progress, Win32ControlId(ProgressCtl::CancelButton))));
    EXPECT_TRUE(WaitForNoWindow("Copying onto the medium", kWait, p.Id()));
    SlowReads(p.Id(), 0);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(editor) != 0; }, kWait));
    EXPECT_EQ(ListRowCount(list), 2);
    const HANDLE folder = FindFirstFileW(Widen(JoinPath(docs, "Films*")).c_str(), &found);
    EXPECT_EQ(folder, INVALID_HANDLE_VALUE) << "left behind: " << Narrow(found.cFileName);
    if (folder != INVALID_HANDLE_VALUE) FindClose(folder);
}

TEST_F(Files, APictureDroppedOnTheImageBoxBecomesTheButtonsPictureScaledToFit) {
    ASSERT_TRUE(WriteFileBytes(JoinPath(elsewhere, "photo.bmp"), SolidBitmap(400, 200, RGB(0, 0, 255))));
    HWND item = OpenItemEditor(1);
    ASSERT_NE(item, nullptr);
    HWND image = FindControl(item, item::mImage);
    ASSERT_TRUE(DropFilesOn(image, {JoinPath(elsewhere, "photo.bmp")}));
    const std::string picture = JoinPath(medium, "content\\B.jpg");
    ASSERT_TRUE(WaitUntil([&] { return FileExists(picture); }, kWait));
    // A Windows bitmap under the .jpg name, 400 x 200 scaled to fit 137 x 33: 66 x 33.
    const std::string bytes = ReadFileBytes(picture).value_or("");
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(*reinterpret_cast<const LONG*>(bytes.data() + 18), 66);
    EXPECT_EQ(*reinterpret_cast<const LONG*>(bytes.data() + 22), 33);
    EXPECT_TRUE(WaitUntil([&] { return ListCell(list, 1, 4) == "B.jpg"; }, kWait));
    EXPECT_TRUE(WaitUntil([&] { return PixelAt(image, POINT{10, 10}) == RGB(0, 0, 255); }, kWait));

    // A picture of that name is replaced only after a question.
    ASSERT_TRUE(WriteFileBytes(JoinPath(elsewhere, "small.bmp"), SolidBitmap(20, 10, RGB(255, 0, 0))));
    ASSERT_TRUE(DropFilesOn(image, {JoinPath(elsewhere, "small.bmp")}));
    ASSERT_TRUE(Answer("has a picture already", IDYES));
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(picture).value_or("").size() == 54 + 60 * 10; }, kWait));  // 20 x 10
    EXPECT_TRUE(WaitUntil([&] { return PixelAt(image, POINT{5, 5}) == RGB(255, 0, 0); }, kWait));
}

}  // namespace
