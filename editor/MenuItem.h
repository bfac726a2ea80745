#pragma once
// The item editor's behaviour: edits one entry of the Menu Editor's list, previews its button
// and tries it out.
#include <cstdint>
#include <string>
#include <vector>

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
    // "File..." and "Folder...": Windows' dialog, in the program's folder; the choice becomes the
    // entry's File / URL Folder, relative to the program (a file from elsewhere is offered a copy).
    void BrowseFile_Click();
    void BrowseFolder_Click();
    // Files dropped from Explorer onto the control `at` (-1 elsewhere): onto File / URL Folder (or
    // its label and buttons) one file or folder does what choosing it does; onto the Image box a
    // picture becomes the button's picture, content\<Button>.jpg, scaled down to fit the button.
    void Form_DropFiles(ControlId at, const std::vector<std::string>& paths);

private:
    std::string ButtonPicture(const std::string& button) const;
    void TakeTarget(const std::string& path);
    void TakePicture(const std::string& path);

    Form& form_;
    SetupWizard& editor_;
    Orvelund& main_;
    Services& sv_;
    AppState& state_;
    std::uint64_t entry_ = 0;  // the entry being edited, remembered when the window opened
};
