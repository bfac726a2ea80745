#pragma once
// The Menu Editor's behaviour: loads the menu file into the window, edits the list of entries,
// saves the file and restarts the program.
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Orvelund.h"
#include "platform/Form.h"
#include "platform/Services.h"

// One row of the entry list: the four fields of an entry and the name of its picture, when the
// content folder held one.
struct MenuRow {
    std::string Button, Label, FileFolder, Action, Image;
};

class SetupWizard {
public:
    SetupWizard(SetupWizardForm& form, Orvelund& main, Services& services, AppState& state);

    void Form_Load();
    void ReadSetupConfig();
    void AddItem_Click();
    void DeleteItem_Click();
    void MoveUp_Click();
    void MoveDown_Click();
    void sMenuItems_DblClick();
    bool WriteSetupConfig();  // false when the file could not be written; the old file is then intact
    void OKButton_Click();
    void CancelButton_Click();
    void Form_QueryUnload();  // the title bar's close button: the same as Cancel

    // The list's cells, for the list view: row 1-based, column 0 to 4.
    const std::string& Cell(int row, int column) const;
    int RowCount() const { return static_cast<int>(rows_.size()); }
    std::vector<MenuRow>& Rows() { return rows_; }

private:
    void Exchange(int a, int b);
    std::string ContentPath(const std::string& name) const;

    SetupWizardForm& form_;
    Orvelund& main_;
    Services& sv_;
    AppState& state_;
    std::vector<MenuRow> rows_;
};
