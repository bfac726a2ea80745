#include "e2e_test.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <sstream>

namespace e2e {

namespace {

std::string EnvPath(const char* name) {
    const char* value = std::getenv(name);
    return value ? WinPathFromUnix(value) : std::string();
}

template <typename T>
std::string Join(const std::vector<T>& items) {
    std::ostringstream os;
    os << "{";
    for (size_t i = 0; i < items.size(); ++i) os << (i ? ", " : "") << '"' << items[i] << '"';
    os << "}";
    return os.str();
}

std::string Join(const ShellCalls& calls) {
    std::ostringstream os;
    os << "{";
    for (size_t i = 0; i < calls.size(); ++i)
        os << (i ? ", " : "") << "(\"" << calls[i].first << "\", \"" << calls[i].second << "\")";
    os << "}";
    return os.str();
}

}  // namespace

const std::string& OrvelundExe() {
    static const std::string path = EnvPath("ORVELUND_EXE");
    return path;
}

const std::string& RecorderExe() {
    static const std::string path = EnvPath("E2E_RECORDER");
    return path;
}

std::ostream& operator<<(std::ostream& os, Icon icon) { return os << IconName(icon); }

::testing::AssertionResult MessageBoxIs(const MessageBoxInfo& box, const std::string& title,
                                        const std::string& text,
                                        const std::vector<std::string>& buttons, Icon icon) {
    if (!box) return ::testing::AssertionFailure() << "no message box";
    std::ostringstream diff;
    if (box.title != title) diff << "\n  title: \"" << box.title << "\", expected \"" << title << '"';
    if (box.text != text) diff << "\n  text: \"" << box.text << "\", expected \"" << text << '"';
    if (box.ButtonCaptions() != buttons)
        diff << "\n  buttons: " << Join(box.ButtonCaptions()) << ", expected " << Join(buttons);
    if (box.icon != icon) diff << "\n  icon: " << box.icon << ", expected " << icon;
    if (diff.str().empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "message box differs:" << diff.str();
}

::testing::AssertionResult PopupOffers(const PopupMenu& menu, const std::vector<std::string>& texts) {
    if (!menu) return ::testing::AssertionFailure() << "no pop-up menu";
    if (menu.Texts() == texts) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pop-up offers " << Join(menu.Texts()) << ", expected " << Join(texts);
}

::testing::AssertionResult RecorderGot(const ShellCalls& expected, int timeoutMs) {
    ShellCalls calls = WaitForRecordedCalls(expected.size(), timeoutMs);
    // A call too many would come about as fast as the expected ones did.
    Sleep(300);
    calls = RecordedCalls();
    if (calls == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the shell was asked for " << Join(calls) << ", expected " << Join(expected);
}

std::string ArtifactsFolder() {
    std::string dir = EnvPath("E2E_ARTIFACTS");
    if (dir.empty()) {
        wchar_t temp[MAX_PATH];
        const DWORD n = GetTempPathW(MAX_PATH, temp);
        dir = Narrow(std::wstring(temp, n)) + "orvelund-e2e-artifacts";
    }
    CreateDirectoryW(Widen(dir).c_str(), nullptr);
    return dir;
}

void OrvelundTest::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::replace(name.begin(), name.end(), '/', '-');  // parameterised tests: "Dpi/Scaling.Case/0"
    folder_ = MakeTestFolder(name);
    ASSERT_FALSE(folder_.empty()) << "cannot make the test folder";
    ClearRecorder();
}

void OrvelundTest::TearDown() {
    if (HasFailure()) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string shot =
            JoinPath(ArtifactsFolder(), std::string(info->test_suite_name()) + "." + info->name() + ".bmp");
        if (SaveScreenshot(shot)) std::cout << "screenshot: " << shot << "\n";
    }
    launched_.push_back(OrvelundExe());
    for (const auto& exe : launched_)
        if (!exe.empty()) KillAll(exe);
}

std::string OrvelundTest::CopyExe(const std::string& name, const std::string& subfolder) {
    std::string dir = folder_;
    if (!subfolder.empty()) {
        dir = JoinPath(folder_, subfolder);
        CreateDirectoryW(Widen(dir).c_str(), nullptr);
    }
    const std::string target = JoinPath(dir, name);
    EXPECT_FALSE(OrvelundExe().empty()) << "ORVELUND_EXE is not set";
    EXPECT_TRUE(CopyFileTo(OrvelundExe(), target)) << "cannot copy Orvelund.exe to " << target;
    launched_.push_back(target);
    return target;
}

Process OrvelundTest::Launch(const std::string& exePath, const std::string& args,
                             const std::string& workDir) {
    const std::string exe = exePath.empty() ? OrvelundExe() : exePath;
    launched_.push_back(exe);
    Process p = Start(exe, args, workDir);
    EXPECT_TRUE(p) << "cannot start " << exe;
    return p;
}

}  // namespace e2e
