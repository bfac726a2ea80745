#pragma once
// The colour chooser as the Menu Editor uses it.
#include <array>
#include <cstdint>

class ColorDialog;

namespace ColorModule {

// The sixteen custom colours the chooser offers, the same at every opening.
std::array<std::int32_t, 16> CustomColors();

// When the user picks a colour, ChosenColor receives it and Cancelled is left alone; otherwise
// Cancelled becomes true and ChosenColor is left alone.
void ShowColorDialog(ColorDialog& dialog, std::int32_t& ChosenColor, bool& Cancelled);

}  // namespace ColorModule
