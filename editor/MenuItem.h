#pragma once
// The item editor's behaviour: edits one entry of the Menu Editor's list, previews its button
// and tries it out.
#include <cstdint>

#include "app/AppState.h"
#include "app/Orvelund.h"
#include "editor/SetupWizard.h"
#include "platform/Form.h"
#include "platform/Services.h"

class MenuItem {
public:
    MenuItem(Form& form, SetupWizard& editor, Orvelund& main, Services& services, AppState& state);

    void Form_Load();
    void Refresh_Click();
    void mTest_Click();
    void OKButton_Click();
    void CancelButton_Click();

private:
    std::string ButtonPicture(const std::string& button) const;

    Form& form_;
    SetupWizard& editor_;
    Orvelund& main_;
    Services& sv_;
    AppState& state_;
    std::uint64_t entry_ = 0;  // the entry being edited, remembered when the window opened
};
