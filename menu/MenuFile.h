#pragma once
// The menu file, content\config.ini: eight header lines read by position, then one entry per
// line. This is the one place that knows the format; the menu window, the first-run writer and
// the Menu Editor all read and write through it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct MenuEntry {
    std::string Button;      // the button's name and the base name of its picture
    std::string Label;       // the text beside the button
    std::string FileFolder;  // what the button opens
    std::string Action;      // the shell verb
};

struct MenuSettings {
    std::string Title;
    std::int32_t ButtonColor = 0;
    std::int32_t BackColor = 0;
    int HideSetup = 0;  // 0 or 1
};

namespace menufile {

constexpr const char* kHeader1 = "## ** Orvelund - CONFIGURATION FILE **";
constexpr const char* kHeader2 = "## >> Configuration";
constexpr const char* kHeader7 = "## -- Configure items to appear in the menu in the correct order.  ";
constexpr const char* kHeader8 = "## -- [Button],[Label],[File/Folder],[Action]";
constexpr const char* kHideSetupLine = "HIDESETUP:1";

// Zero-based line numbers of the settings; entries start at kLineFirstEntry.
constexpr std::size_t kLineTitle = 2, kLineButtonColor = 3, kLineBackColor = 4, kLineHideSetup = 5;
constexpr std::size_t kLineFirstEntry = 8;

// The value of a setting line: the text after its first colon up to a second colon, or to the
// end. nullopt for a line without a colon.
std::optional<std::string> SettingValue(const std::string& line);

// A line split at every comma, nothing trimmed: "a,,b" gives "a", "", "b".
std::vector<std::string> SplitFields(const std::string& line);

// Fields 0 to 3 of an entry line; missing fields are empty.
MenuEntry EntryFromLine(const std::string& line);
std::string EntryLine(const MenuEntry& entry);

// A colour or number as the menu file holds it: decimal with an optional sign (a fraction is
// rounded), or "&H" hexadecimal. Empty text is 0; anything else that is not a 32-bit number
// gives nullopt.
std::optional<std::int32_t> ToInt32(const std::string& text);

// The whole file as the Menu Editor saves it: the eight header lines, then one line per entry.
std::vector<std::string> FileLines(const MenuSettings& settings, const std::vector<MenuEntry>& entries);

}  // namespace menufile
