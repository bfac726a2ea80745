#pragma once

// Opens the program's other windows. Each exists at most once: showing it again brings the
// same window forward.
class ProgramWindows {
public:
    virtual ~ProgramWindows() = default;
    virtual void ShowSetupWizard() = 0;  // the Menu Editor
    virtual void ShowChooseFolder() = 0; // the relocation window
    virtual void ShowMenuItem() = 0;     // the item editor, for the row at EditIndex
    virtual void ShowMediumCheck() = 0;  // the check window of the Menu Editor
};
