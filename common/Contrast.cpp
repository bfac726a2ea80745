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
    if (ContrastRatio(text, ground) >= kEnough) return text;
    return ContrastRatio(kBlack, ground) >= ContrastRatio(kWhite, ground) ? kBlack : kWhite;
}
