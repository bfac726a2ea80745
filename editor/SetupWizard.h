#pragma once
// The Menu Editor's behaviour: loads the menu file into the window, edits the list of entries,
// saves the file and restarts the program.
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/AppState.h"
#include "app/Orvelund.h"
#include "editor/BadCharacter.h"
#include "menu/MenuFile.h"
#include "platform/Form.h"
#include "platform/Services.h"

// One row of the entry list: the four fields of an entry and the name of its picture, when the
// content folder held one.
struct MenuRow {
    std::string Button, Label, FileFolder, Action, Image;
    std::uint64_t id = 0;  // which entry this is, whatever position moves bring it to
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
    void Color_Click(int Index);
    void AutoRunReset_Click();
    void AppImage_Click();
    void Content_Click();
    void Instructions_Click();
    void Update_Click();
    void CheckMedium_Click();
    bool WriteSetupConfig();  // false when the file could not be written; the old file is then intact
    // The lines OK would write now: the menu as the window shows it.
    std::vector<std::string> MenuFileLines() const;
    // Selects the row and opens the item editor on it, as a double click on it does.
    void EditRow(int row);
    void OKButton_Click();
    void CancelButton_Click();
    void Form_QueryUnload();  // the title bar's close button: the same as Cancel
    // Files and folders dropped from Explorer, in the order Explorer hands them, onto row `row`
    // of the list (1-based; 0 below the last row or off the list): an entry for each, after that
    // row (at the end for 0), the first of them selected.
    void sMenuItems_DropFiles(const std::vector<std::string>& paths, int row);
    // content\<button>.jpg has just been written: the rows of that button show it as their Image.
    void PictureSaved(const std::string& button);

    // The list's cells, for the list view: row 1-based, column 0 to 4.
    const std::string& Cell(int row, int column) const;
    int RowCount() const { return static_cast<int>(rows_.size()); }
    std::vector<MenuRow>& Rows() { return rows_; }
    // The position of the entry with this id, 0 when it has been deleted.
    int PositionOf(std::uint64_t id) const;
    std::uint64_t IdAt(int row) const;
    // Keeps the row in place and gives it these fields, the picture name following the button.
    void UpdateRow(int row, const std::string& button, const std::string& label, const std::string& fileFolder,
                   const std::string& action);

private:
    void Exchange(int a, int b);
    MenuRow NewRow(const MenuEntry& entry);
    bool HasPicture(const std::string& button) const;
    std::string ContentPath(const std::string& name) const;

    SetupWizardForm& form_;
    Orvelund& main_;
    Services& sv_;
    AppState& state_;
    std::vector<MenuRow> rows_;
    std::uint64_t nextId_ = 1;
    bool unreadable_ = false;  // the menu file was there but could not be read when the editor opened
    std::unordered_set<std::string> contentFiles_;  // lower-case names, listed once when the editor loads
    // What the menu file held when the editor read it (nullopt: no file to read), to notice
    // another editor's save before this one writes over it.
    std::optional<std::size_t> readStamp_;
};
