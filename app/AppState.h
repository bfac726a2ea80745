#pragma once
// Process-wide state shared by the program's windows. Lives in memory only.
#include <cstdint>
#include <string>

struct AppState {
    // The last set-up answer as decimal text: "6" Yes, "7" No, "2" Cancel, "1" OK. Text, not a number,
    // on purpose: it is compared through its numeric value, so "06" would still mean Yes.
    std::string SetupAnswer;
    bool ShowEditorAtStart = false;  // open the Menu Editor at the end of start-up
    bool ExitRequested = false;      // the main window closes instead of showing the menu
    std::string ButtonColor;         // the button colour as read or picked, as text
    std::int32_t EditIndex = 0;      // 1-based row of the Menu Editor's list being edited
    // The menu this reader gets, a name in the content folder: config.ini, or the menu of the
    // reader's language (config.de.ini). Chosen once at start; everything that reads or saves the
    // menu uses it.
    std::string MenuFile = "config.ini";
    std::string LanguageOption;      // the language given with -lang:, as a tag; empty without one
};
