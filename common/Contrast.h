#pragma once
// Text that stays readable on a coloured ground under every colour scheme. Buttons and labels
// keep the colours the menu gives them, while their text may come from the user's scheme, which
// under a dark high-contrast scheme is white: white on the buttons' light blue cannot be read.
#include <cstdint>

// Colours here are 0x00BBGGRR values.
// The contrast ratio of two colours, 1 (same brightness) to 21 (black and white).
double ContrastRatio(std::uint32_t a, std::uint32_t b);
// `text` when it stands out from `ground` well enough, else black or white, whichever stands out more.
std::uint32_t ReadableTextColor(std::uint32_t text, std::uint32_t ground);
