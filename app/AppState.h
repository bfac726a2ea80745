#pragma once
// Process-wide state shared by the program's windows. Lives in memory only.
#include <cstdint>
#include <string>

struct AppState {
    std::string SetupAnswer;         // the last set-up answer as decimal text: "6" Yes, "7" No, "2" Cancel, "1" OK
    bool ShowEditorAtStart = false;  // open the Menu Editor at the end of start-up
    bool ExitRequested = false;      // the main window closes instead of showing the menu
    std::string ButtonColor;         // the button colour as read or picked, as text
    std::int32_t EditIndex = 0;      // 1-based row of the Menu Editor's list being edited
};
