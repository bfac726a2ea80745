#include "common/Contrast.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF;
constexpr double kEnough = 3.0;  // the least contrast at which bold text at menu size still reads

double Linear(std::uint32_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(std::uint32_t color) {
    return 0.2126 * Linear(color & 0xFF) + 0.7152 * Linear((color >> 8) & 0xFF) + 0.0722 * Linear((color >> 16) & 0xFF);
}

}  // namespace

double ContrastRatio(std::uint32_t a, std::uint32_t b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::uint32_t ReadableTextColor(std::uint32_t text, std::uint32_t ground) {
    return ReadableTextColor(text, ground, kEnough);
}

std::uint32_t ReadableTextColor(std::uint32_t text, std::uint32_t ground, double least) {
    if (ContrastRatio(text, ground) >= least) return text;
    // One of the two always reaches 4.58 (the square root of 21): a ground darker than the middle
    // grey has white, a lighter one black.
    return ContrastRatio(kBlack, ground) >= ContrastRatio(kWhite, ground) ? kBlack : kWhite;
}

bool IsSystemColor(std::int32_t value) {
    return (static_cast<std::uint32_t>(value) & 0xFF000000u) == 0x80000000u;
}

std::uint32_t PaintedColor(std::int32_t value, std::uint32_t (*schemeColor)(int index)) {
    const auto v = static_cast<std::uint32_t>(value);
    if (IsSystemColor(value)) return schemeColor(static_cast<int>(v & 0xFFu)) & 0xFFFFFFu;
    return v & 0xFFFFFFu;
}

std::uint32_t DefaultSchemeColor(int index) {
    // By index: scroll bar, desktop, active and inactive caption, menu, window, window frame, menu
    // text, window text, caption text, active and inactive border, application workspace,
    // highlight, highlighted text, button face, shadow, grey text, button text, inactive caption
    // text, button highlight, 3-D dark shadow and light, tooltip text and ground, (none), hot
    // light, the two caption gradients, menu highlight, menu bar.
    static const std::uint32_t scheme[] = {
        0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
        0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xD77800, 0xFFFFFF, 0xF0F0F0,
        0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
        0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0};
    return index >= 0 && index < static_cast<int>(sizeof scheme / sizeof scheme[0]) ? scheme[index] : 0x000000;
}
