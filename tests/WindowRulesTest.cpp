// The lives of the program's windows: what asking for a window does, which windows close
// together, and when the program ends.
#include <gtest/gtest.h>

#include "app/WindowRules.h"

using W = ProgramWindow;

TEST(WindowRules, EachWindowExistsOnce) {
    EXPECT_EQ(WhenShown(W::MenuEditor, {W::Main}), ShowAction::Create);
    EXPECT_EQ(WhenShown(W::MenuEditor, {W::Main, W::MenuEditor}), ShowAction::BringForward);
    EXPECT_EQ(WhenShown(W::Relocation, {W::Main}), ShowAction::Create);
    EXPECT_EQ(WhenShown(W::Relocation, {W::Relocation}), ShowAction::BringForward);
    // A window that was closed is made anew.
    EXPECT_EQ(WhenShown(W::MenuEditor, {W::Main, W::Relocation}), ShowAction::Create);
}

TEST(WindowRules, TheItemEditorAndTheCheckWindowLiveOnlyWithTheMenuEditor) {
    for (W w : {W::ItemEditor, W::MediumCheck}) {
        EXPECT_EQ(WhenShown(w, {W::Main}), ShowAction::Refuse);
        EXPECT_EQ(WhenShown(w, {W::Main, W::MenuEditor}), ShowAction::Create);
        EXPECT_EQ(WhenShown(w, {W::MenuEditor, w}), ShowAction::BringForward);
        // The Menu Editor closing but not yet gone: its windows are not brought forward.
        EXPECT_EQ(WhenShown(w, {W::Main, w}), ShowAction::Refuse);
    }
    EXPECT_EQ(ClosingWith(W::MenuEditor), (std::vector<ProgramWindow>{W::ItemEditor, W::MediumCheck}));
    for (W w : {W::Main, W::ItemEditor, W::Relocation, W::MediumCheck}) EXPECT_TRUE(ClosingWith(w).empty());
}

TEST(WindowRules, StartUpShowsTheMenuUnlessTheEditorOpened) {
    EXPECT_TRUE(MainShowsAtStart({W::Main}));
    EXPECT_FALSE(MainShowsAtStart({W::Main, W::MenuEditor}));  // /setup, or a first run
    EXPECT_FALSE(MainShowsAtStart({}));                         // start-up ended the program
    EXPECT_TRUE(MainShowsAtStart({W::Main, W::Relocation}));
}

TEST(WindowRules, TheProgramEndsWithItsLastWindow) {
    WindowCount count;
    count.Made();  // the menu
    count.Made();  // the Menu Editor
    EXPECT_FALSE(count.Gone());
    count.Made();  // the relocation window, after the editor closed
    EXPECT_FALSE(count.Gone());
    EXPECT_TRUE(count.Gone());
}
