// orvelund-check.exe on the medium that the real Orvelund.exe writes at its first start: the
// default menu must check without errors, so an author who burns it as it is gets a working disc.
// And the same checks from the Menu Editor's check window: on the menu as the editor shows it, the
// way from a finding to its entry, and the web page written from there.
#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

const std::string& CheckExe() {
    static const std::string path = [] {
        const char* value = std::getenv("ORVELUND_CHECK_EXE");
        return value ? WinPathFromUnix(value) : std::string();
    }();
    return path;
}

// Runs the console program with its standard output in `outFile`; returns its exit status.
DWORD RunConsole(const std::string& exe, const std::string& args, const std::string& outFile) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    // Shared: the console host Wine starts for the program inherits this handle too and may still
    // hold it for a moment after the program has ended, which made the report unreadable
    // (ERROR_SHARING_VIOLATION) for the read that follows.
    HANDLE out = CreateFileW(Widen(outFile).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return 1000;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = out;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::wstring command = L"\"" + Widen(exe) + L"\" " + Widen(args);
    const BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &si, &pi);
    CloseHandle(out);
    if (!started) return 1001;
    WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 1002;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

struct CheckFirstRun : OrvelundTest {};

TEST_F(CheckFirstRun, TheMediumAFirstStartWritesChecksWithoutErrors) {
    ASSERT_FALSE(CheckExe().empty()) << "ORVELUND_CHECK_EXE is not set";
    Process p = Launch(CopyExe());
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    ASSERT_TRUE(box);
    ASSERT_TRUE(Answer(box, IDYES));
    // The editor opens once every first-run file is written.
    ASSERT_NE(WaitForWindow("Orvelund - Menu Editor", kWait, p.Id()), nullptr);
    p.Kill();

    const std::string json = JoinPath(ArtifactsFolder(), "check-first-run.json");
    const std::string text = JoinPath(ArtifactsFolder(), "check-first-run.txt");
    EXPECT_EQ(RunConsole(CheckExe(), "--json \"" + Folder() + "\"", json), 0u);
    EXPECT_EQ(RunConsole(CheckExe(), "\"" + Folder() + "\"", text), 0u);
    const auto read = ReadFileBytes(json);
    ASSERT_TRUE(read) << "the report " << json << " cannot be read";
    const std::string& report = *read;
    EXPECT_NE(report.find("\"entries\": 4, \"files\": 9,"), std::string::npos) << report;
    EXPECT_NE(report.find("\"errors\": 0"), std::string::npos) << report;
#ifdef _WIN64
    // The 64-bit build of the program is the one finding: it does not start on 32-bit Windows.
    EXPECT_NE(report.find("\"warnings\": 1,"), std::string::npos) << report;
    EXPECT_NE(report.find("W-PROGRAM-64BIT"), std::string::npos) << report;
#else
    EXPECT_NE(report.find("\"warnings\": 0,"), std::string::npos) << report;
#endif

    // Its web page: written with the check's exit status, kept with the artifacts.
    EXPECT_EQ(RunConsole(CheckExe(), "--web \"" + Folder() + "\"", JoinPath(ArtifactsFolder(), "check-first-run-web.txt")),
              0u);
    const auto page = ReadFileBytes(JoinPath(Folder(), "menu.htm"));
    ASSERT_TRUE(page);
    EXPECT_NE(page->find("<h1 dir=\"auto\">Orvelund</h1>"), std::string::npos);
    EXPECT_NE(page->find("href=\"content/instructions.htm\""), std::string::npos);
    EXPECT_NE(page->find("<img src=\"content/Updates.jpg\" alt=\"Updates\""), std::string::npos);
    WriteFileBytes(JoinPath(ArtifactsFolder(), "first-run-menu.htm"), *page);
}

// A medium with a menu the Menu Editor saves byte for byte as it is (ASCII, its own header, no
// empty lines), so that its check window and orvelund-check read the same file.
struct CheckWindow : OrvelundTest {
    std::string exe, content;
    void SetUp() override {
        OrvelundTest::SetUp();
        content = MakeContentFolder(Folder());
        WriteFileBytes(JoinPath(content, "app.jpg"), SolidBitmap(624, 213, RGB(200, 220, 250)));
        CreateDirectoryW(Widen(JoinPath(Folder(), "docs")).c_str(), nullptr);
        WriteFileBytes(JoinPath(JoinPath(Folder(), "docs"), "manual.pdf"), "%PDF");
        WriteFileBytes(JoinPath(content, "Broken.jpg"), "not a picture");
        WriteFileBytes(JoinPath(content, "config.ini"),
                       MenuFile({"Docs,Manual,docs\\manual.pdf,open", "Broken,Picture,docs\\manual.pdf,open",
                                 "Abs,Absolute,C:\\Users\\me\\x.pdf,open", "Web,Site, https://www.example.com,open"}));
        exe = CopyExe();
    }
    HWND OpenCheck(Process& p) {
        p = Launch(exe, "/-setup");
        HWND editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
        if (!editor || !Click(FindControl(editor, wizard::CheckMedium))) return nullptr;
        return WaitForWindow("Demo - Check Medium", kWait, p.Id());
    }
    // The row of the check window's list with this code and place, -1 when there is none.
    static int RowOf(HWND list, const std::string& code, const std::string& where) {
        const auto rows = ListRows(list);
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].at(1) == code && rows[i].at(2) == where) return static_cast<int>(i);
        return -1;
    }
};

TEST_F(CheckWindow, FindsForASavedMenuWhatOrvelundCheckFinds) {
    ASSERT_FALSE(CheckExe().empty()) << "ORVELUND_CHECK_EXE is not set";
    const std::string json = JoinPath(ArtifactsFolder(), "check-window-medium.json");
    EXPECT_EQ(RunConsole(CheckExe(), "--json \"" + Folder() + "\"", json), 1u);
    const std::string report = ReadFileBytes(json).value_or("");
    // Each finding of the console's report, as the window names it: code, then where.
    std::vector<std::pair<std::string, std::string>> expected;
    for (std::size_t at = report.find("\"code\": \""); at != std::string::npos; at = report.find("\"code\": \"", at + 1)) {
        const std::string code = report.substr(at + 9, report.find('"', at + 9) - at - 9);
        const std::size_t fileAt = report.find("\"file\": \"", at) + 9;
        std::string file = report.substr(fileAt, report.find('"', fileAt) - fileAt);
        for (std::size_t b; (b = file.find("\\\\")) != std::string::npos;) file.replace(b, 2, "\\");
        const int line = std::atoi(report.c_str() + report.find("\"line\": ", at) + 8);
        // The window names the settings' lines by the control that holds them.
        static const char* settings[] = {"Title", "Button", "BackGround", "Hide"};
        const bool menu = file == "content\\config.ini";
        expected.push_back({code, menu && line >= 9            ? "Row " + std::to_string(line - 8)
                                  : menu && line >= 3 && line <= 6 ? settings[line - 3]
                                  : file.empty()                   ? "The"
                                                                   : file});
    }
    ASSERT_GE(expected.size(), 5u) << report;

    Process p;
    HWND check = OpenCheck(p);
    ASSERT_NE(check, nullptr);
    const auto rows = ListRows(FindControl(check, check::lvFindings));
    std::vector<std::pair<std::string, std::string>> shown;
    for (const auto& row : rows) {
        const std::string& where = row.at(2);
        shown.push_back({row.at(1), where.rfind("Row ", 0) == 0 ? where.substr(0, where.find(' ', 4)) : where.substr(0, where.find(' '))});
    }
    std::sort(expected.begin(), expected.end());
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(TextOf(FindControl(check, check::lblSummary)).find("not saved yet"), std::string::npos);
}

TEST_F(CheckWindow, ListsAMissingFileOfAnUnsavedEntryAndLeadsToItsRow) {
    Process p = Launch(exe, "/-setup");
    HWND editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    const std::string saved = ReadFileBytes(JoinPath(content, "config.ini")).value_or("");
    HWND entries = FindControl(editor, wizard::sMenuItems);
    ASSERT_TRUE(Click(FindControl(editor, wizard::AddItem)));
    ASSERT_TRUE(WaitUntil([&] { return ListRowCount(entries) == 5; }, kWait));
    ASSERT_TRUE(ListDoubleClickRow(entries, 4));
    HWND item = WaitForWindow("Demo - Edit Menu Item", kWait, p.Id());
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(ReplaceEditText(FindControl(item, item::mButton), "Prices"));
    ASSERT_TRUE(ReplaceEditText(FindControl(item, item::mFileFolder), "docs\\prices.pdf"));
    ASSERT_TRUE(Click(FindControl(item, item::OKButton)));
    ASSERT_TRUE(WaitForNoWindow("Demo - Edit Menu Item", kWait, p.Id()));

    ASSERT_TRUE(Click(FindControl(editor, wizard::CheckMedium)));
    HWND check = WaitForWindow("Demo - Check Medium", kWait, p.Id());
    ASSERT_NE(check, nullptr);
    HWND list = FindControl(check, check::lvFindings);
    const int missing = RowOf(list, "E-TARGET-MISSING", "Row 5 (\"Prices\")");
    ASSERT_GE(missing, 0) << ::testing::PrintToString(ListRows(list));
    EXPECT_EQ(ListCell(list, 0, 0), "Error");  // errors first
    EXPECT_NE(TextOf(FindControl(check, check::lblSummary)).find("not saved yet"), std::string::npos);
    ASSERT_TRUE(ListSelectRow(list, missing));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(FindControl(check, check::txtDetails)).find("docs\\prices.pdf") != std::string::npos; }, kWait));
    EXPECT_NE(TextOf(FindControl(check, check::txtDetails)).find("\r\n\r\nFix: "), std::string::npos);
    EXPECT_TRUE(SaveScreenshot(JoinPath(ArtifactsFolder(), "check-window.bmp"), check));

    // A double click on the finding opens the item editor on its row; so does Enter.
    ASSERT_TRUE(ListDoubleClickRow(list, missing));
    item = WaitForWindow("Demo - Edit Menu Item", kWait, p.Id());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(TextOf(FindControl(item, item::mButton)), "Prices");
    EXPECT_EQ(ListSelectedRow(entries), 4);
    ASSERT_TRUE(Click(FindControl(item, item::CancelButton)));
    ASSERT_TRUE(WaitForNoWindow("Demo - Edit Menu Item", kWait, p.Id()));
    ASSERT_TRUE(FocusControl(list));
    PressKey(VK_RETURN);
    EXPECT_NE(WaitForWindow("Demo - Edit Menu Item", kWait, p.Id()), nullptr);
    // The check read the unsaved menu; it wrote nothing.
    EXPECT_EQ(ReadFileBytes(JoinPath(content, "config.ini")).value_or(""), saved);
}

TEST_F(CheckWindow, WritesTheWebPageAndOpensItInTheBrowser) {
    Process p;
    HWND check = OpenCheck(p);
    ASSERT_NE(check, nullptr);
    ASSERT_TRUE(Click(FindControl(check, check::WriteWebPage)));
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    ASSERT_TRUE(box);
    const std::string page = JoinPath(Folder(), "menu.htm");
    EXPECT_EQ(box.title, "Demo - Check Medium");
    EXPECT_NE(box.text.find("The web page has been written:\r\n" + page), std::string::npos) << box.text;
    EXPECT_EQ(box.ButtonCaptions(), (std::vector<std::string>{"Yes", "No"}));
    ASSERT_TRUE(Answer(box, IDYES));
    EXPECT_TRUE(RecorderGot({{"open", page}}));
    const std::string html = ReadFileBytes(page).value_or("");
    EXPECT_NE(html.find("<!-- Written by orvelund-check"), std::string::npos);
    EXPECT_NE(html.find("<h1 dir=\"auto\">Demo</h1>"), std::string::npos);
}

// The disc image the window makes is the one orvelund-check makes of the same folder, byte for byte
// (same-report compares orvelund-check's with the Linux build's).
TEST_F(CheckWindow, MakesTheDiscImageOrvelundCheckMakes) {
    ASSERT_FALSE(CheckExe().empty()) << "ORVELUND_CHECK_EXE is not set";
    SetEnvironmentVariableW(L"SOURCE_DATE_EPOCH", L"1700000000");  // for the programs started from here on
    const std::string images = MakeTestFolder("images");
    Process p;
    HWND check = OpenCheck(p);
    ASSERT_NE(check, nullptr);
    ASSERT_TRUE(Click(FindControl(check, check::MakeDiscImage)));
    MessageBoxInfo errors = WaitForMessageBox(kWait, p.Id());  // the medium has errors: go on anyway
    ASSERT_TRUE(errors);
    EXPECT_NE(errors.text.find("Make the disc image anyway?"), std::string::npos) << errors.text;
    ASSERT_TRUE(Answer(errors, IDYES));
    const std::string image = JoinPath(images, "Demo.iso");
    ASSERT_TRUE(ChooseInFileDialog(WaitForFileDialog("Save the Disc Image", kWait, p.Id()), image));
    MessageBoxInfo written = WaitForMessageBox(60000, p.Id());
    ASSERT_TRUE(written);
    EXPECT_NE(written.text.find("The disc image has been written:\r\n" + image), std::string::npos) << written.text;
    ASSERT_TRUE(Answer(written, IDYES));
    EXPECT_TRUE(RecorderGot({{"open", image}}));

    const std::string theirs = JoinPath(images, "check.iso");
    EXPECT_EQ(RunConsole(CheckExe(), "--force --iso \"" + theirs + "\" \"" + Folder() + "\"",
                         JoinPath(ArtifactsFolder(), "check-window-iso.txt")),
              1u);
    const auto mine = ReadFileBytes(image), expected = ReadFileBytes(theirs);
    ASSERT_TRUE(mine && expected);
    EXPECT_GT(mine->size(), 16u * 2048);
    EXPECT_TRUE(*mine == *expected) << "the window's image differs from orvelund-check's";
}

}  // namespace
