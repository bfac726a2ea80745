// orvelund-check.exe on the medium that the real Orvelund.exe writes at its first start: the
// default menu must check without errors, so an author who burns it as it is gets a working disc.
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

}  // namespace
