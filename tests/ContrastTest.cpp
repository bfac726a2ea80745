#include <gtest/gtest.h>

#include "common/Contrast.h"

namespace {

constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF;
constexpr std::uint32_t kButtonBlue = 0xFFC0C0;  // red 192, green 192, blue 255

TEST(Contrast, TextThatReadsKeepsItsColour) {
    EXPECT_EQ(ReadableTextColor(kBlack, kButtonBlue), kBlack);  // the usual scheme
    EXPECT_EQ(ReadableTextColor(0x400000, kWhite), 0x400000u);  // the labels' dark blue on white
    EXPECT_EQ(ReadableTextColor(kWhite, kBlack), kWhite);       // a dark high-contrast scheme's own pair
    EXPECT_EQ(ReadableTextColor(0x00FFFF, kBlack), 0x00FFFFu);  // yellow on black
}

TEST(Contrast, TextLostInItsGroundTurnsBlackOrWhite) {
    // A dark high-contrast scheme's white button text on the menu's light blue buttons.
    EXPECT_EQ(ReadableTextColor(kWhite, kButtonBlue), kBlack);
    // The editor's blue label text on a black window.
    EXPECT_EQ(ReadableTextColor(0xFF0000, kBlack), kWhite);
    // The same colour as its ground.
    EXPECT_EQ(ReadableTextColor(0x808080, 0x808080), kBlack);
    EXPECT_EQ(ReadableTextColor(0x202020, 0x202020), kWhite);
}

TEST(Contrast, RatioRunsFromOneToTwentyOne) {
    EXPECT_DOUBLE_EQ(ContrastRatio(kButtonBlue, kButtonBlue), 1.0);
    EXPECT_NEAR(ContrastRatio(kBlack, kWhite), 21.0, 1e-9);
    EXPECT_DOUBLE_EQ(ContrastRatio(kBlack, kWhite), ContrastRatio(kWhite, kBlack));
}

}  // namespace
