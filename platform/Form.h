#pragma once
// What a behaviour class may do with its window. The Windows layer implements these with real
// controls; the unit tests use fake forms that remember every property.
#include <cstdint>
#include <string>

#include "platform/Design.h"
#include "platform/Picture.h"

class Form {
public:
    virtual ~Form() = default;

    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& text) = 0;
    virtual void SetIcon(const PicturePtr& icon) = 0;
    virtual PicturePtr Icon() const = 0;
    virtual void SetBackColor(std::int32_t color) = 0;
    // The window's outer height in twips, for the frame its design's heightFrame gives; the
    // real frame is added to the client height this leaves.
    virtual void SetHeight(int twips) = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    // Unloads the window: it goes away with its controls. The program ends with its last window.
    virtual void Close() = 0;
    virtual bool Closed() const = 0;
    virtual std::intptr_t Handle() const = 0;  // owner for the shell, 0 when there is none

    virtual std::string Text(ControlId id) const = 0;
    virtual void SetText(ControlId id, const std::string& text) = 0;
    virtual PicturePtr Picture(ControlId id) const = 0;
    virtual void SetPicture(ControlId id, const PicturePtr& picture) = 0;
    virtual std::int32_t BackColor(ControlId id) const = 0;
    virtual void SetBackColor(ControlId id, std::int32_t color) = 0;
    virtual bool ControlVisible(ControlId id) const = 0;
    virtual void SetVisible(ControlId id, bool visible) = 0;
    virtual bool Enabled(ControlId id) const = 0;
    virtual void SetEnabled(ControlId id, bool enabled) = 0;
    // The name a screen reader gives a button while its caption is empty and it shows only its
    // picture; a caption, when there is one, is its name.
    virtual void SetAccessibleName(ControlId id, const std::string& name) = 0;
};

// The commands of the main window's pop-up menu.
enum class PopupCommand { None, MenuEditor, Exit };

class MainForm : public virtual Form {
public:
    virtual void SetSetupMenuVisible(bool visible) = 0;
    // Opens the pop-up menu at a point of the main picture (pixels) and returns the command
    // the user chose, or None.
    virtual PopupCommand ShowPopupMenu(int x, int y) = 0;
};

// The Menu Editor's window: a form with a check box and a list whose rows its behaviour class
// holds (the list only asks for the cells it shows, so thousands of rows open at once).
class SetupWizardForm : public virtual Form {
public:
    virtual bool Checked(ControlId id) const = 0;
    virtual void SetChecked(ControlId id, bool checked) = 0;
    virtual void SetRowCount(int rows) = 0;    // the rows changed: the list shows this many again
    virtual int SelectedRow() const = 0;       // 1-based position, 0 when no row is selected
    virtual void SelectRow(int row) = 0;       // selects the row and scrolls it into view
};

// The check window: a list of findings whose rows its behaviour class holds.
class MediumCheckForm : public virtual Form {
public:
    virtual void SetRowCount(int rows) = 0;
    virtual int SelectedRow() const = 0;       // 1-based position, 0 when no row is selected
    virtual void SelectRow(int row) = 0;       // selects the row and scrolls it into view
};

// The relocation window: a drive list and a folder list. The chosen folder is the one opened in
// the folder list, not one that is only highlighted.
class ChooseFolderForm : public virtual Form {
public:
    virtual std::string Drive() const = 0;              // the drive list's drive, e.g. "E:"
    virtual std::string FolderPath() const = 0;         // the opened folder; a root ends in "\"
    virtual bool SetFolderPath(const std::string& path) = 0;  // false, and no change, when unreadable
};
