#pragma once
// What the tests of orvelund-check share: a medium in the fake file system with a sound program,
// main picture, icon and document, a menu file of the Menu Editor's header and given entries, and
// the checker's findings on it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "check/Checker.h"
#include "tests/PictureFiles.h"
#include "tests/fakes/FakeMedium.h"

namespace checktest {

// The first bytes of a Windows program for a processor: 0x14C x86, 0x8664 x64.
inline std::string Program(unsigned machine = 0x14C) {
    std::string exe = "MZ" + std::string(0x3A, '\0');
    picturefiles::PutU32(exe, 0x40);
    exe += std::string("PE\0\0", 4);
    picturefiles::PutU16(exe, machine);
    return exe + std::string(200, '\0');
}

inline const char* kHeader =
    "## ** Orvelund - CONFIGURATION FILE **\r\n## >> Configuration\r\nTITLE:Demo\r\nBTCOLOR:16435132\r\n"
    "BGCOLOR:16777215\r\nHIDESETUP:1\r\n## -- a\r\n## -- b\r\n";

// Lines of a text file, each followed by CR LF.
inline std::string Inf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    return text;
}

// A menu of up to 39 entries opening `target`, about one line in five empty, for paging tests.
inline std::vector<std::string> RandomEntries(std::mt19937& random, const std::string& target) {
    std::vector<std::string> entries;
    const int n = static_cast<int>(random() % 40);
    for (int i = 0; i < n; ++i)
        entries.push_back(random() % 5 == 0 ? "" : "B" + std::to_string(i) + ",Label " + std::to_string(i) + "," + target + ",open");
    return entries;
}

struct MediumTest : ::testing::Test {
    FakeFileSystem fs;
    const std::string root = "C:\\Burn";

    void SetUp() override {
        Put("Orvelund.exe", Program(0x14C));
        Put("content\\app.jpg", picturefiles::Jpeg(624, 213));
        Put("content\\app.ico", picturefiles::Ico({picturefiles::IcoBitmap(32, 32, 32)}));
        Put("docs\\manual.pdf", "%PDF");
    }
    void Put(const std::string& path, const std::string& bytes) { fs.AddFile(root + "\\" + path, bytes); }
    // The header lines of the Menu Editor and these entries.
    void Menu(const std::vector<std::string>& entries, std::string header = kHeader) {
        for (const auto& e : entries) header += e + "\r\n";
        Put("content\\config.ini", header);
    }
    CheckResult Run() {
        FakeMedium medium(fs, root);
        return CheckMedium(medium);
    }
    std::vector<Finding> Found(const std::string& code) {
        std::vector<Finding> out;
        for (const auto& f : Run().report.findings)
            if (f.code == code) out.push_back(f);
        return out;
    }
    // Codes of the errors and warnings: what an author has to act on.
    std::vector<std::string> Problems() {
        std::vector<std::string> codes;
        for (const auto& f : Run().report.findings)
            if (f.severity != Severity::Note) codes.push_back(f.code);
        return codes;
    }
};

// A real folder of the test's own under the temporary folder, with a content folder, for what
// runs orvelund-check's command on disk.
struct FolderTest : ::testing::Test {
    std::filesystem::path folder;
    explicit FolderTest(const std::string& prefix)
        : folder(std::filesystem::temp_directory_path() /
                 (prefix + ::testing::UnitTest::GetInstance()->current_test_info()->name())) {}
    void SetUp() override {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / "content");
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void Write(const std::string& relative, const std::string& bytes) {
        std::ofstream(folder / relative, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& relative) {
        std::ifstream in(folder / relative, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

// The fake file system's medium, with some items of given sizes on top.
class SizedMedium : public FakeMedium {
public:
    using FakeMedium::FakeMedium;
    std::vector<MediumItem> extra;
    std::vector<MediumItem> List() override {
        auto items = FakeMedium::List();
        items.insert(items.end(), extra.begin(), extra.end());
        return items;
    }
};

}  // namespace checktest
