#pragma once
#include <string>

// Message box codes, as the program's windows pass and compare them.
namespace mb {
constexpr int OkOnly = 0, OkCancel = 1, YesNoCancel = 3, YesNo = 4, Question = 32;
constexpr int Critical = 16, Exclamation = 48, Information = 64;
constexpr int Ok = 1, Cancel = 2, Yes = 6, No = 7;  // answers
}  // namespace mb

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows a message box with no owner and waits for the answer (mb:: codes). Closing the box
    // from its title bar answers Cancel where there is a Cancel button, else OK.
    virtual int MsgBox(const std::string& prompt, int buttons, const std::string& title) = 0;
};
