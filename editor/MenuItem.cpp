#include "editor/MenuItem.h"

#include "platform/MenuItemDesign.h"

using namespace ItemCtl;

MenuItem::MenuItem(Form& form, SetupWizard& editor, Orvelund& main, Services& services, AppState& state)
    : form_(form), editor_(editor), main_(main), sv_(services), state_(state) {}

std::string MenuItem::ButtonPicture(const std::string& button) const {
    return sv_.app.ContentPath(button + ".jpg");
}

void MenuItem::Form_Load() {
    // The entry is remembered rather than its position: rows may be moved or deleted in the Menu
    // Editor while this window is open, and OK must never write into another entry.
    entry_ = editor_.IdAt(state_.EditIndex);
    const int row = state_.EditIndex;
    form_.SetText(mButton, editor_.Cell(row, 0));
    form_.SetText(mLabel, editor_.Cell(row, 1));
    form_.SetText(mFileFolder, editor_.Cell(row, 2));
    form_.SetText(mAction, editor_.Cell(row, 3));
    form_.SetCaption(main_.Form().Caption() + " - Edit Menu Item");
    const std::string& image = editor_.Cell(row, 4);
    if (!image.empty())
        form_.SetPicture(mImage, sv_.pictures.LoadPicture(sv_.app.ContentPath(image),
                                                          ShownIn(MenuItemDesign().controls[mImage])));
}

void MenuItem::Refresh_Click() {
    form_.SetEnabled(mTest, true);
    form_.SetPicture(mImage, nullptr);
    form_.SetPicture(mTest, nullptr);
    const std::string button = form_.Text(mButton);
    form_.SetText(mTest, button);
    form_.SetAccessibleName(mTest, button);
    if (button.empty() || !sv_.files.FileExists(ButtonPicture(button))) return;
    // A picture that will not load leaves the test button with its name, as the menu shows it.
    const auto& design = MenuItemDesign().controls;
    auto picture = sv_.pictures.LoadPicture(ButtonPicture(button), ShownIn(design[mTest]));
    if (!picture) return;
    form_.SetText(mTest, "");
    form_.SetPicture(mImage, sv_.pictures.LoadPicture(ButtonPicture(button), ShownIn(design[mImage])));
    form_.SetPicture(mTest, picture);
}

void MenuItem::mTest_Click() {
    if (!form_.Enabled(mTest)) return;
    main_.Launch(form_.Text(mFileFolder), form_.Text(mAction));
}

void MenuItem::OKButton_Click() {
    const MenuEntry entry{form_.Text(mButton), form_.Text(mLabel), form_.Text(mFileFolder), form_.Text(mAction)};
    if (auto bad = FindBadCharacter(entry)) {
        sv_.dialogs.MsgBox(BadCharacterMessage(*bad), mb::OkOnly | mb::Exclamation, form_.Caption());
        return;
    }
    const int row = editor_.PositionOf(entry_);
    if (row == 0) {
        sv_.dialogs.MsgBox("This entry has been deleted from the Menu Editor's list, so there is nothing to "
                           "change. Press Cancel to close this window.",
                           mb::OkOnly | mb::Exclamation, form_.Caption());
        return;
    }
    editor_.UpdateRow(row, entry.Button, entry.Label, entry.FileFolder, entry.Action);
    form_.Close();
}

void MenuItem::CancelButton_Click() { form_.Close(); }
