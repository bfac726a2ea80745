// Where the program's controls stand by their design, in twips, and the check that a window's
// controls stand there at a DPI.
#pragma once
#include <vector>

#include "Orvelund.h"

namespace orv {

// A control's place and size in twips, in its window's client area.
struct Twips {
    int id, left, top, width, height;
};

std::vector<Twips> MainControls();    // the main picture, the ten rows and both arrows
std::vector<Twips> EditorControls();  // a selection of the Menu Editor's
std::vector<Twips> ItemControls();    // a selection of the item editor's, some inside its frame
std::vector<Twips> CheckControls();   // the check window's

// Where the control stands at this DPI, in its window's client area.
RECT RectAt(const Twips& control, int dpi);
// Every control sits and measures where its twips put it at this DPI.
::testing::AssertionResult LaidOutAt(HWND window, const std::vector<Twips>& controls, int dpi);
// The character height of a font of `points` at this DPI, as a negative lfHeight.
long FontHeightAt(double points, int dpi);

}  // namespace orv
