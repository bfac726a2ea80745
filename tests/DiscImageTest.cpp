// The disc image's rules: what it refuses, what it leaves out, the label, how a write ends, and its
// file on disk. Its bytes are read back by programs that did not make them in tests/check/iso-oracles.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "check/CommandLine.h"
#include "check/DiscImage.h"
#include "check/ImageFile.h"

namespace {

namespace fs = std::filesystem;

// A medium of listed items; a file's bytes are its path, repeated to its size.
struct ListedMedium : Medium {
    std::vector<MediumItem> items;
    std::string unreadable;   // Stream fails for it
    std::uint64_t grown = 0;  // Stream gives this many bytes more than listed
    std::vector<MediumItem> List() override { return items; }
    std::optional<std::string> Read(const std::string&, std::size_t) override { return std::nullopt; }
    bool Stream(const std::string& path, const PieceSink& sink) override {
        for (const auto& item : items) {
            if (item.path != path || path == unreadable) continue;
            std::string bytes;
            while (bytes.size() < item.size + grown) bytes += path;
            bytes.resize(item.size + grown);
            sink(bytes.data(), bytes.size());
            return true;
        }
        return false;
    }
};

MediumItem File(const std::string& path, std::uint64_t size = 100) { return {path, false, size}; }
MediumItem Folder(const std::string& path) { return {path, true}; }

struct MemoryOutput : ImageOutput {
    std::string bytes;
    bool committed = false, failWrite = false, failCommit = false;
    bool Write(const char* data, std::size_t size) override { return !failWrite && (bytes.append(data, size), true); }
    bool Commit() override { return !failCommit && (committed = true); }
    std::string Failure() const override { return "the disk is full"; }
};

std::vector<std::string> Codes(const std::vector<Finding>& findings) {
    std::vector<std::string> codes;
    for (const auto& f : findings) codes.push_back(f.code);
    return codes;
}

std::string Ucs2(const std::u16string& s) {
    std::string out;
    for (const char16_t c : s) out += static_cast<char>(c >> 8), out += static_cast<char>(c & 0xFF);
    return out;
}

TEST(DiscImageNames, WhatADiscCannotHoldAsItStandsIsRefusedNameByName) {
    MediumItem dangling = File("gone.txt"), linked = Folder("elsewhere"), locked = File("locked.txt"),
               backslash = File("a\\b.txt");
    dangling.danglingLink = true, linked.linkedFolder = true, locked.readable = false, backslash.nameLength = 7;
    const std::string cjk64 = [] { std::string s; for (int i = 0; i < 21; ++i) s += "日本語"; return s + "a"; }();
    const struct {
        std::vector<MediumItem> items;
        std::vector<std::string> refused;
    } cases[] = {
        {{File(std::string(64, 'a'))}, {}},
        {{File(std::string(65, 'a'))}, {"E-IMAGE-NAME-LONG"}},
        {{File(cjk64), File("Документы"), File("Ελληνικά"), File("مرحبا"), File("שלום")}, {}},
        {{File("smile \xF0\x9F\x98\x80.txt")}, {"E-IMAGE-NAME-CHARACTERS"}},
        {{File("a:b"), File("a;b"), File("a?b"), File("a*b"), File("tab\t")}, std::vector<std::string>(5, "E-IMAGE-NAME-CHARACTERS")},
        {{File("quote\"<>|.txt")}, {}},  // Joliet holds them; Windows' own rules are the check's
        {{File("caf\xE9.txt")}, {"E-IMAGE-NAME-CHARACTERS"}},
        {{backslash}, {"E-IMAGE-NAME-CHARACTERS"}},
        {{File("Readme.txt"), File("README.txt"), File("readme.TXT")}, {"E-IMAGE-NAME-CASE"}},
        {{Folder("Docs"), File("Docs\\a"), Folder("docs"), File("docs\\a")}, {"E-IMAGE-NAME-CASE"}},
        {{File("big.bin", (1ull << 32) - 1)}, {}},
        {{File("big.bin", 1ull << 32)}, {"E-IMAGE-FILE-4GIB"}},
        {{dangling, linked, locked}, std::vector<std::string>(3, "E-IMAGE-UNREADABLE")},
    };
    for (const auto& c : cases) {
        ListedMedium medium;
        medium.items = c.items;
        DiscImage image(medium, "Label", 0);
        EXPECT_EQ(Codes(image.Refusals()), c.refused) << c.items[0].path;
        if (image.Bytes() > (1u << 20)) continue;  // no need to write 4 GiB to know it is allowed
        MemoryOutput out;
        EXPECT_EQ(image.Write(out).outcome, c.refused.empty() ? DiscImage::Outcome::Written : DiscImage::Outcome::Refused);
        EXPECT_EQ(out.committed, c.refused.empty());
    }
}

TEST(DiscImageNames, LeftoversOfSavesAndTheImageItselfAreLeftOutAndNamed) {
    ListedMedium medium;
    medium.items = {File("config.ini"), File("config.ini.~4711.tmp"), File("disc.iso"), Folder("kept.~1.tmp")};
    DiscImage image(medium, "Label", 0, {"disc.iso"});
    MemoryOutput out;
    ASSERT_EQ(image.Write(out).outcome, DiscImage::Outcome::Written);
    EXPECT_NE(out.bytes.find(Ucs2(u"config.ini")), std::string::npos);
    EXPECT_NE(out.bytes.find(Ucs2(u"kept.~1.tmp")), std::string::npos);  // a folder is no save's leftover
    EXPECT_EQ(out.bytes.find(Ucs2(u"config.ini.~4711.tmp")), std::string::npos);
    EXPECT_EQ(out.bytes.find(Ucs2(u"disc.iso")), std::string::npos);
    ASSERT_EQ(Codes(image.Notes()), (std::vector<std::string>{"N-IMAGE-LEFT-OUT", "N-IMAGE-SIZE"}));
    EXPECT_EQ(image.Notes()[0].what, "Left out of the image: what interrupted saves left behind (config.ini.~4711.tmp); "
                                     "the image itself, made inside the folder (disc.iso).");
}

TEST(DiscImageNames, TheLabelIsCutToWhatADiscHoldsAndSaidSo) {
    const struct {
        const char* wanted;
        const char* label;
    } cases[] = {{"Sample Disc", "Sample Disc"},           {"Тест 日本 Ελλάδα", "Тест 日本 Ελλάδα"},
                 {"Product Catalogue 2026", "Product Catalogu"}, {"Orvelund Sample Disc", "Orvelund Sample"},
                 {"Party \xF0\x9F\x8E\x89", "Party"},         {"", ""}};
    for (const auto& c : cases) {
        ListedMedium medium;
        DiscImage image(medium, c.wanted, 0);
        EXPECT_EQ(image.Label(), c.label);
        EXPECT_EQ(Codes(image.Notes()).front() == "N-IMAGE-LABEL", std::string(c.wanted) != c.label) << c.wanted;
    }
}

TEST(DiscImageWrite, OnlyAWholeImageIsCommittedAndTheSameMediumGivesTheSameBytes) {
    ListedMedium medium;
    medium.items = {Folder("docs"), File("docs\\a.pdf", 5000), File("docs\\empty.txt", 0), File("b.txt", 2048)};
    std::uint64_t last = 0, calls = 0;
    MemoryOutput whole;
    DiscImage image(medium, "Label", 1700000000);
    EXPECT_EQ(image.Write(whole, [&](std::uint64_t done, std::uint64_t total) {
        EXPECT_GT(done, last);
        EXPECT_EQ(total, image.Bytes());
        last = done, ++calls;
        return true;
    }).outcome, DiscImage::Outcome::Written);
    EXPECT_TRUE(whole.committed);
    EXPECT_EQ(whole.bytes.size(), image.Bytes());
    EXPECT_EQ(last, image.Bytes());

    std::reverse(medium.items.begin(), medium.items.end());  // listed in another order
    MemoryOutput again;
    DiscImage(medium, "Label", 1700000000).Write(again);
    EXPECT_EQ(again.bytes, whole.bytes);

    const struct {
        const char* what;
        std::function<void(ListedMedium&, MemoryOutput&)> arrange;
        std::uint64_t cancelAt;
        DiscImage::Outcome outcome;
        const char* problem;
    } failures[] = {
        {"cancelled", [](ListedMedium&, MemoryOutput&) {}, calls / 2, DiscImage::Outcome::Cancelled, ""},
        {"disk full", [](ListedMedium&, MemoryOutput& o) { o.failWrite = true; }, 0, DiscImage::Outcome::Failed, "the disk is full"},
        {"commit", [](ListedMedium&, MemoryOutput& o) { o.failCommit = true; }, 0, DiscImage::Outcome::Failed, "the disk is full"},
        {"unreadable", [](ListedMedium& m, MemoryOutput&) { m.unreadable = "docs\\a.pdf"; }, 0, DiscImage::Outcome::Failed,
         "docs\\a.pdf could not be read."},
        {"grown", [](ListedMedium& m, MemoryOutput&) { m.grown = 1; }, 0, DiscImage::Outcome::Failed,
         "b.txt changed while the image was written (2,048 bytes before, more now)."},
    };
    for (const auto& f : failures) {
        ListedMedium m = medium;
        MemoryOutput out;
        f.arrange(m, out);
        std::uint64_t heard = 0;
        const auto result = DiscImage(m, "Label", 0).Write(out, [&](std::uint64_t, std::uint64_t) { return ++heard != f.cancelAt; });
        EXPECT_EQ(result.outcome, f.outcome) << f.what;
        EXPECT_EQ(result.problem, f.problem) << f.what;
        EXPECT_FALSE(out.committed) << f.what;
    }
}

struct ImageOnDisk : ::testing::Test {
    fs::path folder = fs::temp_directory_path() / ("orvelund-image-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    void SetUp() override { fs::remove_all(folder), fs::create_directories(folder / "medium" / "content"); }
    void TearDown() override { fs::remove_all(folder); }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(ImageOnDisk, TheFileAppearsWholeOnCommitAndNothingIsLeftWithout) {
    const std::string path = (folder / "disc.iso").string();
    { ImageFile out(path, 4096); ASSERT_TRUE(out.Ready()) << out.Failure(); out.Write("half", 4); }
    EXPECT_EQ(Names(), std::vector<std::string>{"medium"});
    {
        ImageFile out(path, 4096);
        ASSERT_TRUE(out.Write(std::string(16 * 2048, '\0').data(), 16 * 2048) && out.Write("\1CD001", 6) && out.Commit());
    }
    EXPECT_EQ(Names(), (std::vector<std::string>{"disc.iso", "medium"}));
    EXPECT_EQ(UnusableImagePath(path), "");  // an image made before is written over
    std::ofstream(folder / "notes.txt") << "mine";
    EXPECT_NE(UnusableImagePath((folder / "notes.txt").string()).find("is no disc image"), std::string::npos);
    EXPECT_NE(UnusableImagePath((folder / "medium").string()).find("is a folder"), std::string::npos);
    EXPECT_EQ(PathOnMedium((folder / "medium").string(), (folder / "medium" / "content" / "d.iso").string()), "content\\d.iso");
    EXPECT_EQ(PathOnMedium((folder / "medium").string(), path), "");
}

TEST_F(ImageOnDisk, TheCommandWritesNoImageOverTheChecksErrorsUnlessForced) {
    std::string out, err;
    auto run = [&](std::vector<std::string> args) {
        out.clear(), err.clear();
        args.push_back((folder / "medium").string());
        return RunCheck(args, [&](bool toError, const std::string& text) { (toError ? err : out) += text; });
    };
    const std::string iso = (folder / "disc.iso").string();
    EXPECT_EQ(run({"--label", "x"}), 2);  // without --iso
    EXPECT_EQ(run({"--iso", iso}), 2);    // no menu: E-MENU-MISSING
    EXPECT_NE(out.find("No image written: the check found"), std::string::npos) << out;
    EXPECT_EQ(Names(), std::vector<std::string>{"medium"});
    EXPECT_EQ(run({"--json", "--force", "--label", "Disc", "--iso", iso}), 1);
    EXPECT_NE(out.find("\"image\": {\"file\": \"" + iso + "\", \"written\": true, \"label\": \"Disc\""), std::string::npos) << out;
    EXPECT_EQ(Names(), (std::vector<std::string>{"disc.iso", "medium"}));
}

}  // namespace
