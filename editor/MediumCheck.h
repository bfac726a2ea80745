#pragma once
// The check window's behaviour: runs orvelund-check's checks on the medium as the Menu Editor
// would save it now, lists the findings errors first, leads from a finding to the entry it is
// about, and writes the web page of the menu.
#include <cstdint>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/Orvelund.h"
#include "check/Checker.h"
#include "editor/SetupWizard.h"
#include "platform/Form.h"
#include "platform/Services.h"

class MediumCheck {
public:
    MediumCheck(MediumCheckForm& form, SetupWizard& editor, Orvelund& main, Services& services, AppState& state);

    void Form_Load();
    void CheckAgain_Click();
    void lvFindings_SelectionChanged();
    void lvFindings_DblClick();  // also Enter on the list
    void WriteWebPage_Click();
    void MakeDiscImage_Click();
    void CloseButton_Click();

    // The list's cells, for the list view: row 1-based, column 0 to 2.
    const std::string& Cell(int row, int column) const;
    int RowCount() const { return static_cast<int>(rows_.size()); }
    const CheckResult& Result() const { return result_; }

private:
    struct Row {
        Finding finding;
        std::string severity, code, where;
        std::uint64_t entry = 0;  // the Menu Editor's entry it is about, 0 when none
    };
    void RunCheck();
    Row MakeRow(const Finding& f) const;
    std::string MenuFile() const;  // the edited menu as a medium path, "content\config.ini"
    std::string Title() const { return form_.Caption(); }

    MediumCheckForm& form_;
    SetupWizard& editor_;
    Orvelund& main_;
    Services& sv_;
    AppState& state_;
    CheckResult result_;
    std::vector<Row> rows_;
    bool unsaved_ = false;  // the Menu Editor shows another menu than the file holds
};
