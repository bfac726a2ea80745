#include "editor/MenuItem.h"

#include "editor/EntryFromFile.h"
#include "editor/FileTargets.h"
#include "menu/MenuFile.h"
#include "platform/MenuItemDesign.h"

using namespace ItemCtl;

namespace {

// A menu button's size in pixels at 100 %, 2055 x 495 twips: what a button picture fills.
constexpr int kButtonPictureWidth = 137, kButtonPictureHeight = 33;

}  // namespace

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

void MenuItem::TakeTarget(const std::string& path) {
    const auto targets = FileTargets(sv_, form_.Caption(), form_.Handle()).For({path});
    if (!targets.empty()) form_.SetText(mFileFolder, targets.front().target);
}

void MenuItem::BrowseFile_Click() {
    if (auto file = sv_.fileDialogs.ChooseFile(form_.Handle(), "Choose the file this entry opens", sv_.app.appPath))
        TakeTarget(*file);
}

void MenuItem::BrowseFolder_Click() {
    if (auto folder =
            sv_.fileDialogs.ChooseFolder(form_.Handle(), "Choose the folder this entry opens", sv_.app.appPath))
        TakeTarget(*folder);
}

void MenuItem::Form_DropFiles(ControlId at, const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    const bool field = at == mFileFolder || at == lFileFolder || at == BrowseFile || at == BrowseFolder;
    const bool image = at == mImage || at == lImage;
    auto tell = [&](const std::string& text) { sv_.dialogs.MsgBox(text, mb::OkOnly | mb::Exclamation, form_.Caption()); };
    if (!field && !image) {
        tell("Drop a file or folder onto File / URL Folder to make it what this entry opens, or a picture onto the "
             "Image box to make it the button's picture.");
    } else if (paths.size() > 1) {
        tell(field ? "An entry opens one file or folder: drop one at a time here. Dropped onto the Menu Editor's list, "
                     "several files make an entry each."
                   : "A button has one picture: drop one picture at a time.");
    } else if (field) {
        TakeTarget(paths.front());
    } else {
        TakePicture(paths.front());
    }
}

void MenuItem::TakePicture(const std::string& path) {
    const std::string button = form_.Text(mButton);
    auto tell = [&](const std::string& text, int icon) {
        return sv_.dialogs.MsgBox(text, (icon == mb::Question ? mb::YesNo : mb::OkOnly) | icon, form_.Caption());
    };
    if (button.empty()) {
        tell("Give the button a name first: its picture is saved under that name, as content\\<Button>.jpg.",
             mb::Exclamation);
        return;
    }
    if (!IsPictureName(button)) {
        tell(Concat({"The Button \"", button, "\" cannot name a picture file on the medium. Change it, for example to \"",
                     ButtonFromName(button), "\", and drop the picture again."}),
             mb::Exclamation);
        return;
    }
    const std::int32_t ground = menufile::ToInt32(state_.ButtonColor).value_or(Rgb(255, 255, 255));
    const PicturePtr picture = sv_.pictures.LoadPictureToFit(path, kButtonPictureWidth, kButtonPictureHeight, ground);
    if (!picture) {
        tell(Concat({"\"", path, "\" is not a picture the menu can show. Button pictures may be JPEG, BMP, GIF, PNG or "
                     "ICO files."}),
             mb::Exclamation);
        return;
    }
    const std::string file = ButtonPicture(button);
    if (sv_.files.FileExists(file) &&
        tell(Concat({"The button \"", button, "\" has a picture already, content\\", button,
                     ".jpg.\r\n\r\nDo you want to replace it with \"", FileNameOf(path), "\"?"}),
             mb::Question) != mb::Yes)
        return;
    if (!sv_.pictures.SavePicture(picture, file)) {
        tell(Concat({"The picture could not be saved as\r\n", file, "\r\n\r\nThe medium may be read-only or full."}),
             mb::Critical);
        return;
    }
    form_.SetPicture(mImage, sv_.pictures.LoadPicture(file, ShownIn(MenuItemDesign().controls[mImage])));
    editor_.PictureSaved(button);
    if (form_.Enabled(mTest)) Refresh_Click();  // the preview button shows it too
}
