// The menu file survives the program being killed at any moment of a save: killed hard (no
// clean-up) at random times around the Menu Editor's OK, the file is always byte for byte the
// old menu or the new one, and the next start works whatever temporary files were left.
#include <iostream>
#include <random>

#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

struct CrashSafety : OrvelundTest {};

int Leftovers(const std::string& content) {
    int n = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Widen(JoinPath(content, "config.ini.~*.tmp")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        ++n;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return n;
}

TEST_F(CrashSafety, AKillAtAnyMomentOfASaveLeavesTheOldOrTheNewMenu) {
    const std::string content = MakeContentFolder(Folder());
    WriteFileBytes(JoinPath(content, "app.jpg"), SolidBitmap(624, 213, RGB(240, 240, 240)));
    const std::string config = JoinPath(content, "config.ini");
    // Large enough that writing it takes a noticeable moment, so that kills land inside the write.
    std::vector<std::string> entries;
    for (int i = 1; i <= 4000; ++i)
        entries.push_back("Entry " + std::to_string(i) + ",Label " + std::to_string(i) + ",file" + std::to_string(i) +
                          ".pdf,open");
    const std::string before = MenuFile(entries);
    entries.push_back("New Button,,,");
    const std::string after = MenuFile(entries);
    const std::string exe = CopyExe();

    std::mt19937 random(20261208);
    const int kRounds = 110;
    int old = 0, saved = 0, leftoversSeen = 0;
    for (int round = 0; round < kRounds; ++round) {
        if (ReadFileBytes(config) != before) {
            ASSERT_TRUE(WriteFileBytes(config, before));
        }
        Process p = Launch(exe, "-setup");
        HWND editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
        ASSERT_NE(editor, nullptr) << "round " << round;
        HWND list = FindControl(editor, wizard::sMenuItems);
        PressButton(FindControl(editor, wizard::AddItem));
        ASSERT_TRUE(WaitUntil([&] { return ListRowCount(list) == 4001; }, kWait)) << "round " << round;
        // Varied timing: a quarter of the kills within the first 3 ms, the rest spread over 80 ms.
        const int delay = round % 4 == 0 ? static_cast<int>(random() % 4) : static_cast<int>(random() % 80);
        PressButton(FindControl(editor, wizard::OKButton));
        if (delay) Sleep(delay);
        TerminateProcess(p.Handle(), 1);
        ASSERT_TRUE(p.WaitForExit(kWait));

        const std::string now = ReadFileBytes(config).value_or("missing");
        ASSERT_TRUE(now == before || now == after)
            << "round " << round << ", killed " << delay << " ms after OK: the menu file holds " << now.size()
            << " bytes, neither the old menu (" << before.size() << ") nor the new one (" << after.size() << ")";
        (now == before ? old : saved) += 1;
        leftoversSeen += Leftovers(content);

        if (round % 10 == 9) {
            // The next start works, whatever temporary files the kills left beside the menu.
            Process next = Launch(exe);
            HWND main = WaitForWindow("Demo", kWait, next.Id());
            ASSERT_NE(main, nullptr) << "round " << round;
            EXPECT_EQ(TextOf(FindControl(main, LblMenu(0))), "Label 1");
            EXPECT_EQ(ReadFileBytes(config), now);  // a start never touches the menu file
            next.Kill();
            ASSERT_TRUE(next.WaitForExit(kWait));
        }
    }
    std::cout << kRounds << " kills: " << old << " left the old menu, " << saved << " the new one; "
              << leftoversSeen << " temporary files seen after kills\n";
    EXPECT_EQ(old + saved, kRounds);

    // A save that completes removes what killed saves left behind.
    WriteFileBytes(config, before);
    Process p = Launch(exe, "-setup");
    HWND editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    PressButton(FindControl(editor, wizard::OKButton));
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(Leftovers(content), 0);
    EXPECT_EQ(ReadFileBytes(config), before);
    Answer(box, IDOK);
    KillAll(exe);
}

TEST_F(CrashSafety, TemporaryFilesNamedForNoProcessNeverStopASave) {
    const std::string content = MakeContentFolder(Folder());
    WriteFileBytes(JoinPath(content, "app.jpg"), SolidBitmap(624, 213, RGB(240, 240, 240)));
    const std::string config = JoinPath(content, "config.ini");
    WriteFileBytes(config, MenuFile({"Docs,Read me,manual.pdf,open"}));
    // Numbers no process can have: past 32 bits, and the largest a name may carry.
    for (const char* name : {"config.ini.~4294967296.tmp", "config.ini.~9999999999.tmp"})
        ASSERT_TRUE(WriteFileBytes(JoinPath(content, name), "left by someone else"));
    const std::string exe = CopyExe();
    Process p = Launch(exe, "-setup");
    HWND editor = WaitForWindow("Demo - Menu Editor", kWait, p.Id());
    ASSERT_NE(editor, nullptr);
    PressButton(FindControl(editor, wizard::AddItem));
    PressButton(FindControl(editor, wizard::OKButton));
    MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
    ASSERT_TRUE(box);
    EXPECT_EQ(ReadFileBytes(config), MenuFile({"Docs,Read me,manual.pdf,open", "New Button,,,"}));
    EXPECT_EQ(Leftovers(content), 2);  // not ours to remove
    Answer(box, IDOK);
    KillAll(exe);
}

}  // namespace
