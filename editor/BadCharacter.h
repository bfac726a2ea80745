#pragma once
// The characters the menu file cannot keep in a value: both editors refuse them where they are
// entered, with one message.
#include <optional>
#include <string>
#include <vector>

#include "menu/MenuFile.h"

struct MenuRow;  // a row of the Menu Editor's entry list (SetupWizard.h)

// The field and character that the menu file cannot hold in a value, or nothing.
struct BadCharacter {
    std::string field;
    char character;
};

// A comma in an entry's field, or a colon in the title, would cut the entry or the title when
// the menu file is read back; such a value is refused where it is entered.
std::optional<BadCharacter> FindBadCharacter(const std::string& title, const std::vector<MenuRow>& rows);
std::optional<BadCharacter> FindBadCharacter(const MenuEntry& entry);
std::string BadCharacterMessage(const BadCharacter& bad);
