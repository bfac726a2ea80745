#pragma once
#include <array>
#include <cstdint>

// The system's colour chooser.
class ColorDialog {
public:
    virtual ~ColorDialog() = default;
    // Opens the chooser with no owner window, no options and these sixteen custom colours.
    // Returns true and the chosen colour when the user pressed OK; false when the user cancelled
    // or the chooser could not open.
    virtual bool Pick(std::array<std::int32_t, 16>& customColors, std::int32_t& chosen) = 0;
};
