// Relocation under Wine: answering No to the first question, choosing a folder, copying the
// program there and starting it.
#include "Orvelund.h"

namespace {

using namespace e2e;
using namespace orv;

const char* kError = "An error has occurred. You may not have permission to create files in this folder.";

struct Relocation : OrvelundTest {
    std::string exe;
    Process p;
    HWND window = nullptr;

    void SetUp() override {
        OrvelundTest::SetUp();
        exe = CopyExe();
        CreateDirectoryW(Widen(JoinPath(Folder(), "target")).c_str(), nullptr);
        p = Launch(exe);
        MessageBoxInfo box = WaitForMessageBox(kWait, p.Id());
        ASSERT_TRUE(box);
        ASSERT_TRUE(Answer(box, IDNO));
        window = WaitForWindow("Choose New or Existing Location", kWait, p.Id());
        ASSERT_NE(window, nullptr);
    }
    // Opens a folder of the folder list by a double click on its row.
    void Open(int row) {
        HWND dirs = FindControl(window, choose::Dir1);
        const int height = static_cast<int>(SendMessageW(dirs, LB_GETITEMHEIGHT, 0, 0));
        ASSERT_TRUE(DoubleClickAt(dirs, POINT{40, row * height + height / 2}));
    }
    // The rows above the folder's own subfolders: the drive root and every folder down to it.
    static int Depth(const std::string& folder) {
        int depth = 1;
        for (size_t i = 3; i < folder.size(); ++i) depth += folder[i] == '\\';
        return depth + (folder.size() > 3 ? 1 : 0);
    }
    MessageBoxInfo PressOk() {
        EXPECT_TRUE(Click(FindControl(window, choose::OKButton)));
        return WaitForMessageBox(kWait, p.Id());
    }
    std::string Confirmation(const std::string& folder) {
        return "You have selected the following folder:\r\n" + folder +
               "\r\n\r\nWhen you click OK, Orvelund will restart in the new location.";
    }
};

TEST_F(Relocation, CopyToAnEmptyFolderIsStartedThereAndTheWindowCloses) {
    EXPECT_EQ(FindWindowByCaption("Talvenor", p.Id()), nullptr);  // the menu never shows
    Open(Depth(Folder()));  // "target", the only subfolder
    const std::string target = JoinPath(Folder(), "target");
    MessageBoxInfo box = PressOk();
    EXPECT_TRUE(MessageBoxIs(box, "Orvelund - Setup Wizard", Confirmation(target), {"OK", "Cancel"}, Icon::None));
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(p.WaitForExit(kWait));
    const std::string copy = JoinPath(target, "Orvelund.exe");
    EXPECT_EQ(ReadFileBytes(copy), ReadFileBytes(exe));
    const DWORD started = WaitForProcessOf(copy, kWait);
    ASSERT_NE(started, 0u);
    MessageBoxInfo question = WaitForMessageBox(kWait, started);  // the copy's own first start
    EXPECT_TRUE(MessageBoxIs(question, "Orvelund - Setup Wizard", FirstRunPrompt(target), {"Yes", "No", "Cancel"},
                             Icon::None));
    KillAll(copy);
}

TEST_F(Relocation, CancelInTheConfirmationKeepsTheWindowOpen) {
    MessageBoxInfo box = PressOk();
    ASSERT_TRUE(Answer(box, IDCANCEL));
    EXPECT_NE(FindWindowByCaption("Choose New or Existing Location", p.Id()), nullptr);
    EXPECT_FALSE(FileExists(JoinPath(JoinPath(Folder(), "target"), "Orvelund.exe")));
}

TEST_F(Relocation, ExistingProgramIsReplacedOnlyOnYes) {
    const std::string target = JoinPath(Folder(), "target");
    const std::string old = JoinPath(target, "Orvelund.exe");
    for (int answer : {IDNO, IDCANCEL, IDYES}) {
        if (!FindWindowByCaption("Choose New or Existing Location", p.Id())) {
            p = Launch(exe);
            ASSERT_TRUE(Answer(WaitForMessageBox(kWait, p.Id()), IDNO));
            window = WaitForWindow("Choose New or Existing Location", kWait, p.Id());
            ASSERT_NE(window, nullptr);
        }
        WriteFileBytes(old, "an older program");
        Open(Depth(Folder()));
        ASSERT_TRUE(Answer(PressOk(), IDOK));
        MessageBoxInfo replace = WaitForMessageBox(kWait, p.Id());
        EXPECT_TRUE(MessageBoxIs(replace, "Orvelund - Setup Wizard",
                                 "Orvelund is already installed in this location.\r\n\r\n"
                                 "Click YES to replace the existing program file.\r\n"
                                 "Click NO to keep the existing program file.",
                                 {"Yes", "No", "Cancel"}, Icon::None));
        ASSERT_TRUE(Answer(replace, answer));
        if (answer == IDYES) {
            EXPECT_TRUE(p.WaitForExit(kWait)) << "the copy started, and the window closed";
            EXPECT_EQ(ReadFileBytes(old), ReadFileBytes(exe));
        } else {
            // The kept file is started all the same; this one is no program, so the window says
            // so and stays.
            MessageBoxInfo failed = WaitForMessageBox(kWait, p.Id());
            EXPECT_NE(failed.text.find("could not be started from\r\n" + old), std::string::npos) << failed.text;
            ASSERT_TRUE(Answer(failed, IDOK));
            EXPECT_NE(FindWindowByCaption("Choose New or Existing Location", p.Id()), nullptr);
            EXPECT_EQ(ReadFileBytes(old), std::string("an older program"));
        }
        KillAll(old);
    }
}

TEST_F(Relocation, TheProgramsOwnFolderFailsOnYesAndTheWindowStays) {
    MessageBoxInfo box = PressOk();  // the folder list starts at the program's folder
    EXPECT_TRUE(MessageBoxIs(box, "Orvelund - Setup Wizard", Confirmation(Folder()), {"OK", "Cancel"}, Icon::None));
    ASSERT_TRUE(Answer(box, IDOK));
    ASSERT_TRUE(Answer(WaitForMessageBox(kWait, p.Id()), IDYES));
    MessageBoxInfo error = WaitForMessageBox(kWait, p.Id());
    EXPECT_TRUE(MessageBoxIs(error, "Orvelund - Setup Wizard", kError, {"OK", "Cancel"}, Icon::None));
    ASSERT_TRUE(Answer(error, IDOK));
    EXPECT_NE(FindWindowByCaption("Choose New or Existing Location", p.Id()), nullptr);
    EXPECT_TRUE(p.Running());
    EXPECT_GT(ReadFileBytes(exe).value_or("").size(), 100000u);  // the running program is whole
}

TEST_F(Relocation, CancelButtonEndsTheProgramWithNothingCreated) {
    ASSERT_TRUE(Click(FindControl(window, choose::CancelButton)));
    EXPECT_TRUE(p.WaitForExit(kWait));
    EXPECT_FALSE(FolderExists(JoinPath(Folder(), "content")));
}

}  // namespace
