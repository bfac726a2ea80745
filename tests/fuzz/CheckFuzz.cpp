// Any bytes as the files of a medium: the checker reads menu file, button picture, main picture,
// icon, autorun.inf and program without crashing, and what it reports is well-formed.
#include <cstddef>
#include <cstdint>
#include <string>

#include "check/Checker.h"
#include "check/Text.h"
#include "tests/fakes/FakeMedium.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The input is the files one after another, each ended by "@@@@".
    static const char* names[] = {"content\\config.ini", "content\\A.jpg", "content\\app.jpg", "content\\app.ico",
                                  "autorun.inf", "Orvelund.exe"};
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    FakeFileSystem fs;
    std::size_t at = 0;
    for (const char* name : names) {
        const auto end = bytes.find("@@@@", at);
        fs.AddFile(std::string("C:\\M\\") + name, bytes.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos) break;
        at = end + 4;
    }
    FakeMedium medium(fs, "C:\\M");
    const CheckResult r = CheckMedium(medium);
    for (const auto& f : r.report.findings) {
        const char letter = f.severity == Severity::Error ? 'E' : f.severity == Severity::Warning ? 'W' : 'N';
        if (f.code.size() < 3 || f.code[0] != letter || f.code[1] != '-' || f.what.empty()) __builtin_trap();
    }
    const std::string json = FormatJson(r.report);
    if (ValidUtf8(json) != json) __builtin_trap();
    const std::string text = FormatText(r.report);
    if (text.compare(text.size() - SummaryLine(r.report).size() - 1, std::string::npos, SummaryLine(r.report) + "\n"))
        __builtin_trap();
    return 0;
}
