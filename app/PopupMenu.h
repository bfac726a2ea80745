#pragma once
// The main picture's pop-up menu: the items it offers, in order, and what picking one means. The
// window shows them and the unit tests' fake form offers the same ones.
#include <string>
#include <vector>

#include "platform/Form.h"

struct PopupItem {
    std::string text;
    PopupCommand command;
};

// "Menu Editor", unless the menu file hides it (HIDESETUP:1), then "Exit".
std::vector<PopupItem> PopupMenuItems(bool setupMenuVisible);

// The command of the item at `picked` (0-based); None when the menu closed without a pick.
PopupCommand PopupChoice(const std::vector<PopupItem>& items, int picked);
