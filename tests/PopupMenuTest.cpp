// The pop-up menu's items as the window shows them and what a pick by place means: the window
// knows only the place of the picked item, so the place must give the right command whether or
// not "Menu Editor" is hidden.
#include <gtest/gtest.h>

#include "app/PopupMenu.h"

namespace {

std::vector<std::string> Texts(const std::vector<PopupItem>& items) {
    std::vector<std::string> texts;
    for (const auto& item : items) texts.push_back(item.text);
    return texts;
}

}  // namespace

TEST(PopupMenuItems, TheEditorComesFirstUnlessHidden) {
    EXPECT_EQ(Texts(PopupMenuItems(true)), (std::vector<std::string>{"Menu Editor", "Exit"}));
    EXPECT_EQ(Texts(PopupMenuItems(false)), (std::vector<std::string>{"Exit"}));
}

TEST(PopupMenuItems, APickByPlaceGivesThatItemsCommand) {
    const auto shown = PopupMenuItems(true);
    EXPECT_EQ(PopupChoice(shown, 0), PopupCommand::MenuEditor);
    EXPECT_EQ(PopupChoice(shown, 1), PopupCommand::Exit);
    // With the editor hidden, the first place is Exit: the editor cannot be reached at all.
    const auto hidden = PopupMenuItems(false);
    EXPECT_EQ(PopupChoice(hidden, 0), PopupCommand::Exit);
    EXPECT_EQ(PopupChoice(hidden, 1), PopupCommand::None);
}

TEST(PopupMenuItems, ClosingWithoutAPickDoesNothing) {
    // The window passes TrackPopupMenu's answer less one: 0 (no pick) becomes -1.
    EXPECT_EQ(PopupChoice(PopupMenuItems(true), -1), PopupCommand::None);
    EXPECT_EQ(PopupChoice(PopupMenuItems(true), 7), PopupCommand::None);
    EXPECT_EQ(PopupChoice({}, 0), PopupCommand::None);
}
