#pragma once
// The relocation window's behaviour: copies the program to the chosen folder and starts it there.
#include "app/AppState.h"
#include "platform/Form.h"
#include "platform/Services.h"

class ChooseFolder {
public:
    ChooseFolder(ChooseFolderForm& form, Services& services, AppState& state);

    void Form_Load() {}
    void Drive1_Change();
    void OKButton_Click();
    void CancelButton_Click();

private:
    void ShowError();

    ChooseFolderForm& form_;
    Services& sv_;
    AppState& state_;
};
