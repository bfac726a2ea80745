// orvelund-check's command line on real folders: arguments, exit status, the two report forms.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "check/CommandLine.h"

namespace {

namespace fs = std::filesystem;

struct Output {
    std::string out, err;
    int status = -1;
};

Output Checked(const std::vector<std::string>& args) {
    Output o;
    o.status = RunCheck(args, [&](bool toError, const std::string& text) { (toError ? o.err : o.out) += text; });
    return o;
}

struct CheckCommandLine : ::testing::Test {
    fs::path folder;
    void SetUp() override {
        folder = fs::temp_directory_path() / ("orvelund-check-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder / "content");
    }
    void TearDown() override { fs::remove_all(folder); }
    void Write(const fs::path& relative, const std::string& bytes) {
        fs::create_directories((folder / relative).parent_path());
        std::ofstream(folder / relative, std::ios::binary) << bytes;
    }
    void Menu(const std::string& entries, const std::string& mark = "") {
        Write("content/config.ini", mark + "h1\r\nh2\r\nTITLE:T\r\nBTCOLOR:0\r\nBGCOLOR:0\r\nHIDESETUP:1\r\nh7\r\nh8\r\n" + entries);
    }
};

TEST_F(CheckCommandLine, WrongArgumentsAndUnusableFoldersExitWithTwo) {
    for (const auto& args : std::vector<std::vector<std::string>>{{}, {"--bogus", folder.string()},
                                                                  {folder.string(), folder.string()}}) {
        const auto o = Checked(args);
        EXPECT_EQ(o.status, 2);
        EXPECT_NE(o.err.find("usage: orvelund-check"), std::string::npos);
        EXPECT_TRUE(o.out.empty());
    }
    const auto missing = Checked({(folder / "nowhere").string()});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("does not exist"), std::string::npos);
    Menu("");
    const auto file = Checked({(folder / "content" / "config.ini").string()});
    EXPECT_EQ(file.status, 2);
    EXPECT_NE(file.err.find("is a file, not a folder"), std::string::npos);
    EXPECT_EQ(Checked({"--help"}).status, 0);
}

TEST_F(CheckCommandLine, ErrorsExitWithOneAndTheSummaryComesLast) {
    Menu("A,a,missing.pdf,open\r\n");
    const auto o = Checked({folder.string()});
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.out.find("E-TARGET-MISSING"), std::string::npos);
    EXPECT_NE(o.out.find("E-PROGRAM-MISSING"), std::string::npos);
    const auto lastLine = o.out.substr(o.out.rfind('\n', o.out.size() - 2) + 1);
    EXPECT_EQ(lastLine.rfind("1 entry, 1 file, 2 errors", 0), 0u) << lastLine;

    const auto json = Checked({"--json", folder.string()});
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(json.out.front(), '{');
    EXPECT_NE(json.out.find("\"code\": \"E-TARGET-MISSING\", \"file\": \"content\\\\config.ini\", \"line\": 9"),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"summary\": {\"entries\": 1, \"files\": 1,"), std::string::npos);
}

TEST_F(CheckCommandLine, NamesOutsideAsciiAndLinkedFoldersOnDisk) {
    Write("Orvelund.exe", "MZ");
    Write(u8"docs/Übersicht.pdf", "%PDF");
    Menu(u8"A,a,DOCS\\übersicht.pdf,open\r\nB,b,docs\\loop\\docs\\Übersicht.pdf,open\r\n", "\xEF\xBB\xBF");
    fs::create_directory_symlink(folder, folder / "docs" / "loop");  // a folder that holds itself
    const auto o = Checked({"--json", folder.string()});
    EXPECT_EQ(o.status, 1);  // the program is no program; the entries' files are found
    EXPECT_NE(o.out.find(u8"\"N-TARGET-CASE\""), std::string::npos) << o.out;
    EXPECT_EQ(o.out.find("E-TARGET-MISSING\", \"file\": \"content\\\\config.ini\", \"line\": 9"), std::string::npos)
        << o.out;
}

TEST_F(CheckCommandLine, CleanMediumExitsWithZero) {
    // A program header for x86, the menu's own file; notes only.
    std::string exe = "MZ" + std::string(0x3A, '\0') + std::string("\x40\0\0\0PE\0\0\x4c\x01", 10) + std::string(100, '\0');
    Write("Orvelund.exe", exe);
    Write("readme.txt", "hello");
    Menu("A,a,readme.txt,open\r\n");
    const auto o = Checked({folder.string()});
    EXPECT_EQ(o.status, 0) << o.out;
    EXPECT_EQ(o.out.find("Errors"), std::string::npos);
}

}  // namespace
