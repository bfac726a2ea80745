#pragma once
// Which menu entries a reader can ever see. The menu window's own code pages through the menu:
// it reads the first view, then presses Next as long as the window offers it, and every view's
// buttons are recorded. So the checker follows the window's rules (an empty line ends a view, the
// look-ahead line decides Next, the 16-bit scroll offset) by running them, not by copying them.
#include <cstddef>
#include <string>
#include <vector>

struct MenuWalk {
    // Per line of the file from the first entry line on (index 0 is line 9): shown in some view.
    std::vector<bool> shown;
    // Scroll offsets at which the view began with an empty line: the window then keeps the buttons
    // of the view before, while their clicks open the entries of the new view.
    std::vector<int> staleViews;
    int deepestOffset = 0;  // how far down Next goes
};

// `lines`: the menu file's lines as the program reads them (decoded, without terminators).
MenuWalk WalkMenu(const std::vector<std::string>& lines);
