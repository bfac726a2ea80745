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

TEST(Contrast, TextOfAnySizeNeedsFourAndAHalf) {
    // The labels' dark blue on a mid grey: enough for the window's bold text, not for any text.
    EXPECT_EQ(ReadableTextColor(0x400000, 0x777777), 0x400000u);
    EXPECT_EQ(ReadableTextColor(0x400000, 0x777777, kContrastForAnyText), kBlack);
    // Black or white reach it on every ground.
    for (std::uint32_t ground : {0x000000u, 0x777777u, 0x808080u, 0x0000FFu, 0xFFFFFFu, 0x757575u})
        EXPECT_GE(ContrastRatio(ReadableTextColor(0x808080, ground, kContrastForAnyText), ground), 4.5) << ground;
}

TEST(Contrast, SystemColoursPaintTheSchemesColour) {
    auto scheme = [](int index) { return index == 5 ? 0x123456u : 0u; };
    EXPECT_EQ(PaintedColor(static_cast<std::int32_t>(0x80000005), scheme), 0x123456u);
    EXPECT_EQ(PaintedColor(255, scheme), 0x0000FFu);
    EXPECT_EQ(PaintedColor(-1, scheme), 0xFFFFFFu);         // not a system colour: its lower 24 bits
    EXPECT_EQ(PaintedColor(0x1000000, scheme), 0x000000u);
    EXPECT_EQ(DefaultSchemeColor(5), 0xFFFFFFu);            // the window: white
    EXPECT_EQ(DefaultSchemeColor(8), 0x000000u);            // window text: black
    EXPECT_EQ(DefaultSchemeColor(15), 0xF0F0F0u);           // button face
    EXPECT_EQ(DefaultSchemeColor(31), 0x000000u);           // no such colour
}

TEST(Contrast, RatioRunsFromOneToTwentyOne) {
    EXPECT_DOUBLE_EQ(ContrastRatio(kButtonBlue, kButtonBlue), 1.0);
    EXPECT_NEAR(ContrastRatio(kBlack, kWhite), 21.0, 1e-9);
    EXPECT_DOUBLE_EQ(ContrastRatio(kBlack, kWhite), ContrastRatio(kWhite, kBlack));
}

}  // namespace
