// Input nobody on the project wrote: damaged pictures, menus in other scripts, a renamed program,
// a folder too deep to start from, two editors on one file, a folder where the menu file belongs.
#include <iostream>
#include <random>

#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

void PutU32(std::string& s, size_t at, DWORD v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Pictures whose headers lie about the file, as a stranger's stick may hold them.
std::vector<std::pair<std::string, std::string>> DamagedPictures() {
    std::vector<std::pair<std::string, std::string>> d;
    std::string giant = SolidBitmap(2, 2, RGB(1, 2, 3));
    giant.resize(118, '\0');
    PutU32(giant, 18, 16000), PutU32(giant, 22, 16000);
    d.push_back({"118-byte bitmap claiming 16000 x 16000", giant});
    std::string offset = SolidBitmap(8, 8, RGB(1, 2, 3));
    PutU32(offset, 10, 100000);
    d.push_back({"bitmap with its pixels past the end", offset});
    std::string palette = SolidBitmap(8, 8, RGB(1, 2, 3));
    palette[28] = 8, PutU32(palette, 46, 0x40000000);
    d.push_back({"bitmap with a billion-colour palette", palette});
    std::string ico("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0", 14);
    ico += std::string("\x00\x00\x01\x00\x16\x00\x00\x00", 8);  // 64 KB at offset 22
    ico += std::string(40, '\0');
    d.push_back({"icon whose image lies past the end", ico});
    std::string icoHeader("\0\0\1\0\1\0\x10\x10\0\0\1\0\x20\0\x28\0\0\0\x16\0\0\0", 22);
    std::string dib(40, '\0');
    PutU32(dib, 0, 40), PutU32(dib, 4, 16000), PutU32(dib, 8, 32000), dib[12] = 1, dib[14] = 32;
    d.push_back({"icon whose bitmap claims 16000 x 16000", icoHeader + dib});
    d.push_back({"JPEG cut inside its first segment", std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10)});
    std::mt19937 random(5);
    std::string noise(300, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    d.push_back({"random bytes", noise});
    d.push_back({"an empty file", ""});
    return d;
}

struct Foreign : OrvelundTest {
    std::string content;
    void SetUp() override {
        OrvelundTest::SetUp();
        content = JoinPath(Folder(), "content");
        CreateDirectoryW(Widen(content).c_str(), nullptr);
        WriteFileBytes(JoinPath(content, "app.jpg"), SolidBitmap(624, 213, RGB(240, 240, 240)));
    }
    std::string Config() { return ReadFileBytes(JoinPath(content, "config.ini")).value_or("missing"); }
    // Presses OK in the editor and answers the "saved" box; returns that box.
    MessageBoxInfo SaveWithOk(HWND editor, DWORD pid) {
        PressButton(FindControl(editor, wizard::OKButton));  // the window itself, whichever is on top
        return WaitForMessageBox(kWait, pid);
    }
};

// A point on a menu button beside its centre: a picture shows there, and so does the button's own
// colour when it shows only its name.
COLORREF ButtonPixel(HWND main, int k) {
    HWND button = FindControl(main, BtnMenu(k));
    const SIZE size = ClientSize(button);
    return PixelAt(button, POINT{size.cx / 2 - 50, size.cy / 2});
}

TEST_F(Foreign, DamagedPicturesAnywhereNeverStopTheMenuOrTheEditor) {
    const std::string exe = CopyExe();
    for (const auto& [what, bytes] : DamagedPictures()) {
        SCOPED_TRACE(what);
        for (const char* name : {"app.jpg", "app.ico", "B.jpg"}) WriteFileBytes(JoinPath(content, name), bytes);
        WriteFileBytes(JoinPath(content, "config.ini"), MenuFile({"B,Beta,b.txt,open"}));
        {
            Process p = Launch(exe);
            HWND main = WaitForWindow("Demo", kWait, p.Id());
            ASSERT_NE(main, nullptr);
            Sleep(200);
            EXPECT_TRUE(p.Running());
            EXPECT_EQ(ButtonPixel(main, 0), RGB(188, 199, 250));  // the button's colour: no picture
            p.Kill();
        }
        Process p = Launch(exe, "-setup");
        HWND editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
        ASSERT_NE(editor, nullptr);
        EXPECT_TRUE(p.Running());
        p.Kill();
    }
}

TEST_F(Foreign, AButtonWhosePictureCannotBeDecodedNeverShowsAnotherEntrysPicture) {
    WriteFileBytes(JoinPath(content, "Red.jpg"), SolidBitmap(137, 33, RGB(255, 0, 0)));
    WriteFileBytes(JoinPath(content, "Bad.jpg"), "not a picture at all");
    std::vector<std::string> entries = {"Red,Red,r.txt,open", "Bad,Bad,b.txt,open"};
    for (int i = 3; i <= 11; ++i) entries.push_back("E" + std::to_string(i) + ",L,x.txt,open");
    WriteFileBytes(JoinPath(content, "config.ini"), MenuFile(entries));
    Process p = Launch(CopyExe());
    HWND main = WaitForWindow("Demo", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return ButtonPixel(main, 0) == RGB(255, 0, 0); }, kWait));
    EXPECT_EQ(ButtonPixel(main, 1), RGB(188, 199, 250));
    ASSERT_TRUE(Click(FindControl(main, kBtnNext)));
    ASSERT_TRUE(WaitUntil([&] { return TextOf(FindControl(main, LblMenu(0))) == "Bad"; }, kWait));
    Sleep(200);
    EXPECT_EQ(ButtonPixel(main, 0), RGB(188, 199, 250));  // not the red picture of the entry before
}

TEST_F(Foreign, AMenuInAnyScriptKeepsEveryCharacterThroughOk) {
    const std::string greek = "\xce\x9c\xce\xb5\xce\xbd\xce\xbf\xcf\x8d";
    const std::string menu = MenuFile({"\xe8\x8f\x9c\xe5\x8d\x95,\xd9\x82\xd8\xa7\xd8\xa6\xd9\x85\xd8\xa9,a.txt,open",
                                       "Sales\xef\xbc\x8cNorth,Disc \xf0\x9f\x93\x80,C:\\Docs\xef\xbc\xbc" "b.pdf,open"},
                                      "TITLE:" + greek);
    const std::string exe = CopyExe();
    for (const std::string& mark : {std::string("\xEF\xBB\xBF"), std::string()}) {
        SCOPED_TRACE(mark.empty() ? "UTF-8 without a mark" : "UTF-8 with its mark");
        WriteFileBytes(JoinPath(content, "config.ini"), mark + menu);
        Process p = Launch(exe, "-setup");
        HWND editor = WaitForWindow(greek + " - Menu Editor", kWait, p.Id());
        ASSERT_NE(editor, nullptr);
        MessageBoxInfo saved = SaveWithOk(editor, p.Id());
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved.text, "Your settings have been saved!\r\nThe program will now restart.");
        EXPECT_EQ(Config(), "\xEF\xBB\xBF" + menu);
        ASSERT_TRUE(Answer(saved, IDOK));
        const DWORD restarted = WaitForProcessOf(exe, kWait, {p.Id()});
        ASSERT_NE(restarted, 0u);
        HWND main = WaitForWindow(greek, kWait, restarted);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(TextOf(FindControl(main, LblMenu(1))), "Disc \xf0\x9f\x93\x80");
        KillAll(exe);
    }
}

// A menu an older version saved in the code page reads as before, and OK saves it as UTF-8, which
// PCs of other code pages read alike; a menu of ASCII alone is saved byte for byte as it was.
TEST_F(Foreign, AMenuInTheCodePageIsSavedAsUtf8AndAnAsciiMenuByteForByte) {
    const std::string exe = CopyExe();
    const struct {
        std::string stored, saved, caption;
    } cases[] = {
        {MenuFile({"Caf\xe9,R\xe9sum\xe9 \x80,a.txt,open"}, "TITLE:Men\xfa"),  // Windows-1252
         "\xEF\xBB\xBF" + MenuFile({"Caf\xc3\xa9,R\xc3\xa9sum\xc3\xa9 \xe2\x82\xac,a.txt,open"}, "TITLE:Men\xc3\xba"),
         "Men\xc3\xba"},
        {MenuFile({"Cafe,Resume,a.txt,open"}, "TITLE:Menu"), MenuFile({"Cafe,Resume,a.txt,open"}, "TITLE:Menu"), "Menu"},
    };
    for (const auto& c : cases) {
        WriteFileBytes(JoinPath(content, "config.ini"), c.stored);
        Process p = Launch(exe, "-setup");
        HWND editor = WaitForWindow(c.caption + " - Menu Editor", kWait, p.Id());
        ASSERT_NE(editor, nullptr);
        MessageBoxInfo saved = SaveWithOk(editor, p.Id());
        ASSERT_TRUE(saved);
        EXPECT_EQ(Config(), c.saved);
        ASSERT_TRUE(Answer(saved, IDOK));
        KillAll(exe);
    }
}

TEST_F(Foreign, ARenamedProgramRestartsItselfAndNamesItselfInAutoRun) {
    WriteFileBytes(JoinPath(content, "config.ini"), MenuFile({"A,Alpha,a.txt,open"}));
    const std::string exe = CopyExe("Start.exe");
    Process p = Launch(exe, "-setup");
    HWND editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(Click(FindControl(editor, wizard::AutoRunReset)));
    ASSERT_TRUE(WaitUntil([&] { return FileExists(JoinPath(Folder(), "autorun.inf")); }, kWait));
    const std::string autorun = ReadFileBytes(JoinPath(Folder(), "autorun.inf")).value_or("");
    EXPECT_NE(autorun.find("open=Start.exe\r\n"), std::string::npos) << autorun;
    EXPECT_EQ(autorun.find("Orvelund.exe"), std::string::npos) << autorun;
    ASSERT_TRUE(ReplaceEditText(FindControl(editor, wizard::sTitle), "Renamed"));
    MessageBoxInfo saved = SaveWithOk(editor, p.Id());
    ASSERT_TRUE(Answer(saved, IDOK));
    const DWORD restarted = WaitForProcessOf(exe, kWait, {p.Id()});
    ASSERT_NE(restarted, 0u);
    EXPECT_NE(WaitForWindow("Renamed", kWait, restarted), nullptr);
    KillAll(exe);
}

// A program deep in folders, as deep as this system can start one from (Windows itself, with long
// paths, goes past 300 characters; Wine stops near 260): it either restarts from there or says
// that it could not, with the path, and keeps its editor; never "will now restart" and then nothing.
TEST_F(Foreign, AProgramDeepInFoldersRestartsOrSaysSoAndKeepsTheEditor) {
    std::vector<std::string> levels;
    for (std::string folder = Folder(); folder.size() < 300;) {
        folder = JoinPath(folder, "a-folder-name-twenty-" + std::to_string(levels.size()));
        ASSERT_TRUE(CreateDirectoryW(Widen("\\\\?\\" + folder).c_str(), nullptr)) << folder;
        levels.push_back(folder);
    }
    const std::string menu = MenuFile({"A,Alpha,a.txt,open"});
    std::string exe;
    Process p;
    for (auto level = levels.rbegin(); level != levels.rend() && !p; ++level) {
        exe = JoinPath(*level, "Orvelund.exe");
        const std::wstring long_ = Widen("\\\\?\\" + *level);
        ASSERT_TRUE(CopyFileW(Widen(OrvelundExe()).c_str(), (long_ + L"\\Orvelund.exe").c_str(), FALSE));
        CreateDirectoryW((long_ + L"\\content").c_str(), nullptr);
        HANDLE f = CreateFileW((long_ + L"\\content\\config.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               0, nullptr);
        ASSERT_NE(f, INVALID_HANDLE_VALUE);
        DWORD done = 0;
        WriteFile(f, menu.data(), static_cast<DWORD>(menu.size()), &done, nullptr);
        CloseHandle(f);
        p = Start(exe, "-setup", Folder());  // a current folder cannot be that long
    }
    ASSERT_TRUE(p) << "no depth could be started";
    std::cout << "program started from a path of " << exe.size() << " characters\n";
    HWND editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    MessageBoxInfo saved = SaveWithOk(editor, p.Id());
    ASSERT_TRUE(Answer(saved, IDOK));
    DWORD restarted = 0;
    MessageBoxInfo failed;
    ASSERT_TRUE(WaitUntil([&] {
        restarted = WaitForProcessOf(exe, 50, {p.Id()});
        if (!restarted) failed = ReadMessageBox(FindWindowByCaption("Orvelund - Menu Editor", p.Id()));
        return restarted || failed;
    }, kWait));
    if (restarted) {
        EXPECT_NE(WaitForWindow("Demo", kWait, restarted), nullptr);
    } else {
        EXPECT_NE(failed.text.find("has been saved, but the program could not be restarted"), std::string::npos)
            << failed.text;
        EXPECT_NE(failed.text.find(exe), std::string::npos) << failed.text;
        ASSERT_TRUE(Answer(failed, IDOK));
        EXPECT_NE(FindWindowByCaption("Demo - Menu Editor", p.Id()), nullptr);
        EXPECT_TRUE(p.Running());
    }
    p.Kill();
    KillAll(exe);
}

TEST_F(Foreign, TwoEditorsOnOneFileAskBeforeOneOverwritesTheOther) {
    WriteFileBytes(JoinPath(content, "config.ini"), MenuFile({"A,Alpha,a.txt,open"}));
    const std::string exe = CopyExe();
    Process first = Launch(exe, "-setup");
    HWND one = WaitForWindow("Demo - Menu Editor", kWait, first.Id());
    ASSERT_NE(one, nullptr);
    Process second = Launch(exe, "-setup");
    HWND two = WaitForWindow("Demo - Menu Editor", kWait, second.Id());
    ASSERT_NE(two, nullptr);

    ASSERT_TRUE(ReplaceEditText(FindControl(one, wizard::sTitle), "First"));
    ASSERT_TRUE(Answer(SaveWithOk(one, first.Id()), IDOK));
    const std::string firstSave = Config();
    EXPECT_NE(firstSave.find("TITLE:First\r\n"), std::string::npos);
    ASSERT_NE(WaitForWindow("First", kWait), nullptr);  // the restarted first program, before it takes the focus
    Sleep(300);

    ASSERT_TRUE(ReplaceEditText(FindControl(two, wizard::sTitle), "Second"));
    PressButton(FindControl(two, wizard::OKButton));
    MessageBoxInfo question = WaitForMessageBox(kWait, second.Id());
    ASSERT_TRUE(question);
    EXPECT_NE(question.text.find("changed by another program"), std::string::npos) << question.text;
    EXPECT_EQ(question.icon, Icon::Exclamation);
    ASSERT_TRUE(Answer(question, IDNO));
    Sleep(300);
    EXPECT_EQ(Config(), firstSave);  // nothing written
    EXPECT_NE(FindWindowByCaption("Demo - Menu Editor", second.Id()), nullptr);

    PressButton(FindControl(two, wizard::OKButton));
    ASSERT_TRUE(Answer(WaitForMessageBox(kWait, second.Id()), IDYES));
    MessageBoxInfo saved = WaitForMessageBox(kWait, second.Id());
    EXPECT_EQ(saved.text, "Your settings have been saved!\r\nThe program will now restart.");
    EXPECT_NE(Config().find("TITLE:Second\r\n"), std::string::npos);
    Answer(saved, IDOK);
    KillAll(exe);
}

TEST_F(Foreign, AnHttpsLinkReachesTheShellAsItStands) {
    WriteFileBytes(JoinPath(content, "config.ini"),
                   MenuFile({"Secure,Secure site,https://www.orvelund.example/page?a=1,open"}));
    ClearRecorder();
    Process p = Launch(CopyExe());
    HWND main = WaitForWindow("Demo", kWait, p.Id());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(Click(FindControl(main, BtnMenu(0))));
    EXPECT_TRUE(RecorderGot({{"open", "https://www.orvelund.example/page?a=1"}}));
}

TEST_F(Foreign, SetupWithATrailingBlankOpensTheMenuNotTheEditor) {
    WriteFileBytes(JoinPath(content, "config.ini"), MenuFile({"A,Alpha,a.txt,open"}));
    Process p = Launch(CopyExe(), "-setup ");
    ASSERT_NE(WaitForWindow("Demo", kWait, p.Id()), nullptr);
    Sleep(500);
    EXPECT_EQ(FindWindowByCaption("Demo - Menu Editor", p.Id()), nullptr);
}

TEST_F(Foreign, AFolderWhereTheMenuFileBelongsIsNeverMovedAway) {
    WriteFileBytes(JoinPath(content, "config.ini"), MenuFile({"A,Alpha,a.txt,open"}));
    const std::string exe = CopyExe();
    Process p = Launch(exe, "-setup");
    HWND editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    // Someone replaces the file with a folder of that name while the editor is open.
    const std::string config = JoinPath(content, "config.ini");
    ASSERT_TRUE(DeleteFileW(Widen(config).c_str()));
    ASSERT_TRUE(CreateDirectoryW(Widen(config).c_str(), nullptr));
    WriteFileBytes(JoinPath(config, "inside.txt"), "keep me");
    Click(FindControl(editor, wizard::OKButton));
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    if (box.text.find("changed by another program") != std::string::npos) {
        ASSERT_TRUE(Answer(box, IDYES));
        box = WaitForMessageBox(kWait, p.Id());
    }
    ASSERT_TRUE(box);
    EXPECT_EQ(box.icon, Icon::Critical);
    EXPECT_NE(box.text.find("folder of that name"), std::string::npos) << box.text;
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(FolderExists(config));
    EXPECT_EQ(ReadFileBytes(JoinPath(config, "inside.txt")), std::string("keep me"));
    EXPECT_EQ(ProcessesOf(exe).size(), 1u);
}

}  // namespace
