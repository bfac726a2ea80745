// Picture headers checked against the file's real size: every sound picture passes with its size,
// and every header that would send a decoder past the end of the file, or into a giant
// allocation, is refused before any decoder sees it.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "picture/PictureHeader.h"
#include "tests/PictureFiles.h"

namespace {

using namespace picturefiles;

PictureInfo Read(const std::string& bytes) {
    return ReadPictureHeader(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), bytes.size());
}

PictureInfo ReadPrefix(const std::string& bytes, std::size_t given) {
    return ReadPictureHeader(reinterpret_cast<const unsigned char*>(bytes.data()), given, bytes.size());
}

struct Sample {
    std::string name;
    std::string bytes;
    PictureKind kind;
    std::uint32_t width, height;
    // Every prefix shorter than this, taken as a whole file, is refused. JPEG and GIF decoders
    // take a file that ends early in its picture data, so for them this is where that data starts.
    std::size_t refusedBelow;
};

std::vector<Sample> SoundSamples() {
    std::vector<Sample> s;
    auto whole = [&](std::string name, std::string bytes, PictureKind kind, std::uint32_t w, std::uint32_t h) {
        const std::size_t n = bytes.size();
        s.push_back({std::move(name), std::move(bytes), kind, w, h, n});
    };
    for (int bits : {1, 4, 8, 16, 24, 32}) whole("bmp" + std::to_string(bits), Bmp(37, 5, bits), PictureKind::Bmp, 37, 5);
    whole("bmp top-down", Bmp(3, -7, 24), PictureKind::Bmp, 3, 7);
    whole("bmp 8-bit with 3 colours", Bmp(9, 4, 8, 0, 3), PictureKind::Bmp, 9, 4);
    whole("bmp bit fields", Bmp(6, 6, 16, 3), PictureKind::Bmp, 6, 6);
    whole("bmp rle8", Bmp(300, 200, 8, 1), PictureKind::Bmp, 300, 200);
    whole("bmp old-style header", CoreBmp(11, 3, 8), PictureKind::Bmp, 11, 3);
    whole("bmp v5 header", Bmp(4, 4, 32, 0, 0, 124), PictureKind::Bmp, 4, 4);
    whole("ico of one bitmap", Ico({IcoBitmap(16, 16, 32)}), PictureKind::Ico, 16, 16);
    whole("ico 256 png and bitmap", Ico({Png(256, 256), IcoBitmap(32, 32, 8)}), PictureKind::Ico, 256, 256);
    whole("png", Png(640, 480), PictureKind::Png, 640, 480);
    const std::string gif = Gif(120, 90);
    s.push_back({"gif", gif, PictureKind::Gif, 120, 90, gif.size() - 1});
    const std::string jpeg = Jpeg(6000, 4000);
    s.push_back({"jpeg", jpeg, PictureKind::Jpeg, 6000, 4000, jpeg.size() - 9});
    return s;
}

TEST(PictureHeader, SoundPicturesOfEveryKindPassWithTheirSize) {
    for (const auto& sample : SoundSamples()) {
        const PictureInfo info = Read(sample.bytes);
        EXPECT_EQ(info.problem, "") << sample.name;
        EXPECT_TRUE(info.Sound()) << sample.name;
        EXPECT_TRUE(info.complete) << sample.name;
        EXPECT_EQ(info.kind, sample.kind) << sample.name;
        EXPECT_EQ(info.width, sample.width) << sample.name;
        EXPECT_EQ(info.height, sample.height) << sample.name;
    }
}

TEST(PictureHeader, EveryCutShortFileIsRefused) {
    for (const auto& sample : SoundSamples()) {
        for (std::size_t n = 0; n < sample.refusedBelow; ++n) {
            const std::string cut = sample.bytes.substr(0, n);
            EXPECT_FALSE(Read(cut).Sound()) << sample.name << " cut to " << n << " bytes";
        }
    }
}

TEST(PictureHeader, TheFirstBytesOfALongFileAreCheckedAsFarAsTheyGo) {
    for (const auto& sample : SoundSamples()) {
        for (std::size_t n : {std::size_t(60), std::size_t(200)}) {
            if (n >= sample.bytes.size()) continue;
            const PictureInfo info = ReadPrefix(sample.bytes, n);
            EXPECT_EQ(info.problem, "") << sample.name << " given " << n << " bytes";
            EXPECT_EQ(info.kind, sample.kind) << sample.name;
        }
    }
    // A bitmap's size is all in its first 54 bytes; a JPEG's frame header may lie further in.
    const PictureInfo bmp = ReadPrefix(Bmp(800, 600, 24), 54);
    EXPECT_EQ(bmp.width, 800u);
    EXPECT_TRUE(bmp.complete);
    const PictureInfo jpeg = ReadPrefix(Jpeg(10, 10, 5000), 100);
    EXPECT_FALSE(jpeg.complete);
    EXPECT_EQ(jpeg.problem, "");
    // The real size still counts: a header claiming more than the whole file is refused at once.
    std::string big = Bmp(800, 600, 24);
    EXPECT_FALSE(ReadPictureHeader(reinterpret_cast<const unsigned char*>(big.data()), 54, 54 + 1000).Sound());
}

TEST(PictureHeader, BitmapHeadersThatLieAboutTheFileAreRefused) {
    // A 118-byte file claiming 16000 x 16000 pixels, and the same with its pixels past the end.
    std::string giant = Bmp(2, 2, 24);
    giant.resize(118, '\0');
    SetU32(giant, 18, 16000), SetU32(giant, 22, 16000);
    EXPECT_FALSE(Read(giant).Sound());
    std::string offset = Bmp(2, 2, 24);
    SetU32(offset, 10, 5000);
    EXPECT_NE(Read(offset).problem.find("past the end"), std::string::npos);

    struct Field { const char* what; std::size_t at; std::uint32_t value; };
    const Field lies[] = {
        {"header size beyond the file", 14, 0xFFFFFFF0u},
        {"header size no bitmap has", 14, 41},
        {"zero width", 18, 0},
        {"negative width", 18, 0xFFFFFFFFu},
        {"zero height", 22, 0},
        {"the most negative height", 22, 0x80000000u},
        {"width that overflows 32-bit arithmetic", 18, 0x7FFFFFFFu},
        {"more pixels than any screen", 18, 65536},
        {"pixels inside the header", 10, 20},
        {"no pixel offset", 10, 0},
        {"colour table longer than 8 bits allow", 46, 257},
        {"colour table of four billion colours", 46, 0xFFFFFFFFu},
        {"unknown compression", 30, 4},
    };
    for (const auto& lie : lies) {
        std::string bytes = Bmp(16, 16, 8);
        SetU32(bytes, lie.at, lie.value);
        EXPECT_FALSE(Read(bytes).Sound()) << lie.what;
    }
    std::string zeroBits = Bmp(16, 16, 8);
    zeroBits[28] = 0;
    EXPECT_FALSE(Read(zeroBits).Sound());
    std::string rleAsRgb24 = Bmp(16, 16, 24);
    SetU32(rleAsRgb24, 30, 1);  // run-length coding of 24-bit pixels does not exist
    EXPECT_FALSE(Read(rleAsRgb24).Sound());
    std::string rleTooLong = Bmp(300, 200, 8, 1);
    SetU32(rleTooLong, 34, 1 << 20);  // compressed size past the end
    EXPECT_FALSE(Read(rleTooLong).Sound());
    std::string rleGiant = Bmp(300, 200, 8, 1);
    SetU32(rleGiant, 18, 60000), SetU32(rleGiant, 22, 60000);  // tiny runs cannot make 3.6 billion pixels
    EXPECT_FALSE(Read(rleGiant).Sound());
}

TEST(PictureHeader, IconDirectoriesAndTheirImagesAreCheckedToo) {
    std::string countBeyond = Ico({IcoBitmap(16, 16, 32)});
    SetU16(countBeyond, 4, 60000);
    EXPECT_FALSE(Read(countBeyond).Sound());
    std::string none = Ico({IcoBitmap(16, 16, 32)});
    SetU16(none, 4, 0);
    EXPECT_FALSE(Read(none).Sound());

    const std::size_t entry = 6;
    std::string sizeBeyond = Ico({IcoBitmap(16, 16, 32)});
    SetU32(sizeBeyond, entry + 8, 0x10000);
    EXPECT_FALSE(Read(sizeBeyond).Sound());
    std::string wraps = Ico({IcoBitmap(16, 16, 32)});
    SetU32(wraps, entry + 8, 0x40), SetU32(wraps, entry + 12, 0xFFFFFFF0u);  // offset + size wraps in 32 bits
    EXPECT_FALSE(Read(wraps).Sound());
    std::string intoDirectory = Ico({IcoBitmap(16, 16, 32)});
    SetU32(intoDirectory, entry + 12, 2);
    EXPECT_FALSE(Read(intoDirectory).Sound());

    // The bitmap inside claims more rows than its entry holds; the second of two images is cut.
    std::string tallInside = Ico({IcoBitmap(16, 16, 32)});
    SetU32(tallInside, 22 + 8, 64);
    EXPECT_FALSE(Read(tallInside).Sound());
    std::string badSecond = Ico({IcoBitmap(16, 16, 32), IcoBitmap(48, 48, 32)});
    SetU32(badSecond, entry + 16 + 8, 100);  // the second image's size: far less than its pixels need
    EXPECT_NE(Read(badSecond).problem.find("image 2"), std::string::npos);
    std::string pngInside = Ico({Png(64, 64)});
    SetU32(pngInside, entry + 8, 40);  // the PNG stops inside its first chunk
    EXPECT_FALSE(Read(pngInside).Sound());
}

TEST(PictureHeader, PngGifAndJpegHeadersThatLieAreRefused) {
    std::string pngLength = Png(10, 10);
    SetU32BE(pngLength, 33, 0x7FFFFFF0u);  // the data chunk runs past the end
    EXPECT_FALSE(Read(pngLength).Sound());
    std::string pngGiant = Png(10, 10);
    SetU32BE(pngGiant, 16, 100000), SetU32BE(pngGiant, 20, 100000);
    EXPECT_FALSE(Read(pngGiant).Sound());
    std::string pngDepth = Png(10, 10);
    pngDepth[24] = 7;
    EXPECT_FALSE(Read(pngDepth).Sound());

    std::string gifTable = Gif(10, 10);
    gifTable[10] = static_cast<char>(0xF7);  // a global table of 256 colours, more than the file holds
    EXPECT_FALSE(Read(gifTable).Sound());
    std::string gifNoImage = Gif(10, 10).substr(0, 19) + ";";
    EXPECT_FALSE(Read(gifNoImage).Sound());

    std::string jpegZero = Jpeg(10, 10);
    SetU16BE(jpegZero, 4 + 16 + 7, 0);  // width 0 in the frame header
    EXPECT_FALSE(Read(jpegZero).Sound());
    std::string jpegSegment = Jpeg(10, 10);
    SetU16BE(jpegSegment, 4, 0xFFFF);  // the first segment claims 64 KB
    EXPECT_FALSE(Read(jpegSegment).Sound());
    std::string jpegNoFrame = "\xFF\xD8\xFF\xDA" + std::string("\x00\x08\x01\x01\x00\x00\x3F\x00", 8) + "data";
    EXPECT_FALSE(Read(jpegNoFrame).Sound());
}

TEST(PictureHeader, BytesOfNoKnownPictureAreRefusedAndNothingReadsPastTheBytesGiven) {
    EXPECT_EQ(Read("").kind, PictureKind::Unknown);
    EXPECT_FALSE(Read("").Sound());
    EXPECT_FALSE(Read("hello, world").Sound());
    EXPECT_FALSE(Read("BM").Sound());
    EXPECT_FALSE(Read(std::string("\0\0\1\0", 4)).Sound());
    EXPECT_STREQ(PictureKindName(PictureKind::Png), "PNG");

    // Random changes to sound pictures: whatever the first bytes alone show to be wrong, the whole
    // file shows too (bytes not given are never taken for bytes missing from the file).
    std::mt19937 random(7);
    for (const auto& sample : SoundSamples()) {
        for (int round = 0; round < 300; ++round) {
            std::string bytes = sample.bytes;
            for (int k = 0; k < 3; ++k)
                bytes[random() % std::min<std::size_t>(bytes.size(), 64)] = static_cast<char>(random());
            const std::size_t given = random() % (bytes.size() + 1);
            std::vector<unsigned char> first(bytes.begin(), bytes.begin() + static_cast<long>(given));
            const PictureInfo part = ReadPictureHeader(first.data(), first.size(), bytes.size());
            if (!part.problem.empty()) {
                EXPECT_NE(Read(bytes).problem, "") << sample.name << ": " << part.problem;
            }
        }
    }
}

}  // namespace

namespace {

// Pictures written by other programs (an image editor's bitmaps, GIF, PNG and icons, progressive
// and baseline JPEGs) pass with the size they really have.
TEST(PictureHeader, PicturesMadeByOtherProgramsPass) {
    struct Known { const char* name; PictureKind kind; std::uint32_t width, height; };
    const Known files[] = {
        {"arrow.jpg", PictureKind::Jpeg, 30, 29},   {"progressive.jpg", PictureKind::Jpeg, 10, 6},
        {"rgb24.bmp", PictureKind::Bmp, 13, 7},     {"pal4.bmp", PictureKind::Bmp, 13, 7},
        {"rle8.bmp", PictureKind::Bmp, 20, 9},      {"v5.bmp", PictureKind::Bmp, 8, 8},
        {"small.gif", PictureKind::Gif, 12, 9},     {"small.png", PictureKind::Png, 12, 9},
        {"small.ico", PictureKind::Ico, 16, 16},    {"icon.ico", PictureKind::Ico, 64, 64},
    };
    for (const auto& f : files) {
        std::ifstream in(std::string(ORVELUND_TEST_DATA) + "/pictures/" + f.name, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(bytes.empty()) << f.name;
        const PictureInfo info = Read(bytes);
        EXPECT_EQ(info.problem, "") << f.name;
        EXPECT_EQ(info.kind, f.kind) << f.name;
        EXPECT_EQ(info.width, f.width) << f.name;
        EXPECT_EQ(info.height, f.height) << f.name;
    }
}

}  // namespace
