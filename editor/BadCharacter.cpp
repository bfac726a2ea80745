#include "editor/BadCharacter.h"

#include "editor/SetupWizard.h"

std::optional<BadCharacter> FindBadCharacter(const MenuEntry& e) {
    const std::pair<const char*, const std::string*> fields[] = {
        {"Button", &e.Button}, {"Label", &e.Label}, {"File / URL Folder", &e.FileFolder}, {"Action", &e.Action}};
    for (const auto& [name, value] : fields)
        if (value->find(',') != std::string::npos) return BadCharacter{name, ','};
    return std::nullopt;
}

std::optional<BadCharacter> FindBadCharacter(const std::string& title, const std::vector<MenuRow>& rows) {
    if (title.find(':') != std::string::npos) return BadCharacter{"menu title", ':'};
    for (const auto& r : rows) {
        if (auto bad = FindBadCharacter(MenuEntry{r.Button, r.Label, r.FileFolder, r.Action})) {
            bad->field += " of the entry \"" + r.Button + "\"";
            return bad;
        }
    }
    return std::nullopt;
}

std::string BadCharacterMessage(const BadCharacter& bad) {
    const std::string what = bad.character == ',' ? "a comma (,)" : "a colon (:)";
    return "The " + bad.field + " contains " + what + ".\r\n\r\nThe menu file cannot keep this character there: "
           "it would cut the text when the menu is read back. Please remove it and press OK again.";
}
