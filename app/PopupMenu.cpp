#include "app/PopupMenu.h"

std::vector<PopupItem> PopupMenuItems(bool setupMenuVisible) {
    std::vector<PopupItem> items;
    if (setupMenuVisible) items.push_back({"Menu Editor", PopupCommand::MenuEditor});
    items.push_back({"Exit", PopupCommand::Exit});
    return items;
}

PopupCommand PopupChoice(const std::vector<PopupItem>& items, int picked) {
    if (picked < 0 || static_cast<std::size_t>(picked) >= items.size()) return PopupCommand::None;
    return items[static_cast<std::size_t>(picked)].command;
}
