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
// The same with the least contrast given: 4.5 is what text of any size needs to read for
// everyone (WCAG's level AA), where the window's bold menu text makes do with 3.
std::uint32_t ReadableTextColor(std::uint32_t text, std::uint32_t ground, double least);
constexpr double kContrastForAnyText = 4.5;

// A colour value as the menu file holds it (a signed 32-bit number) and what it paints: a system
// colour (0x80000000 plus an index, e.g. 0x80000005 for the window's ground) is the scheme's colour
// of that index, `schemeColor(index)`; any other value paints its lower 24 bits.
bool IsSystemColor(std::int32_t value);
std::uint32_t PaintedColor(std::int32_t value, std::uint32_t (*schemeColor)(int index));
// Windows' default scheme, as it stands on a new Windows 10 or 11: what GetSysColor gives for each
// index there; black for an index Windows does not have.
std::uint32_t DefaultSchemeColor(int index);
