#include "relocate/ChooseFolder.h"

namespace {
constexpr const char* kTitle = "Orvelund - Setup Wizard";
}

ChooseFolder::ChooseFolder(ChooseFolderForm& form, Services& services, AppState& state)
    : form_(form), sv_(services), state_(state) {}

void ChooseFolder::Drive1_Change() {
    // The drive's current folder, as Windows keeps one per drive: the root, except on the drive
    // the program runs from. An unreadable drive, such as an empty disc drive, leaves the folder
    // list where it was.
    form_.SetFolderPath(sv_.files.GetAbsolutePathName(form_.Drive()));
}

void ChooseFolder::OKButton_Click() {
    const std::string folder = form_.FolderPath();
    int answer = sv_.dialogs.MsgBox("You have selected the following folder:\r\n" + folder +
                                        "\r\n\r\nWhen you click OK, Orvelund will restart in the new location.",
                                    mb::OkCancel, kTitle);
    state_.SetupAnswer = std::to_string(answer);
    if (answer != mb::Ok) return;

    // The program's own file, under its own name: an author who renamed it gets the same name.
    const std::string source = sv_.app.appPath + "\\" + sv_.app.exeName;
    const std::string target = folder + "\\" + sv_.app.exeName;
    bool copy = true;
    if (sv_.files.FileExists(target)) {
        answer = sv_.dialogs.MsgBox("Orvelund is already installed in this location.\r\n\r\n"
                                    "Click YES to replace the existing program file.\r\n"
                                    "Click NO to keep the existing program file.",
                                    mb::YesNoCancel, kTitle);
        state_.SetupAnswer = std::to_string(answer);
        copy = answer == mb::Yes;
    }
    // The copy replaces an existing file in one step, so a failed copy leaves the old program
    // in place; copying the program onto itself fails.
    if (copy && !sv_.files.Copy(source, target)) {
        ShowError();
        return;
    }
    if (!sv_.shell.Execute(form_.Handle(), "open", target)) {
        // This window stays, so the user can choose another folder or start the program by hand.
        sv_.dialogs.MsgBox((copy ? "Orvelund has been copied to\r\n" + target + "\r\n\r\nbut could not be started there."
                                 : "Orvelund could not be started from\r\n" + target + "\r\n\r\nThe file there was kept.") +
                               " Start it from that folder yourself, or choose another folder.",
                           mb::OkOnly | mb::Critical, kTitle);
        return;
    }
    form_.Close();
}

void ChooseFolder::ShowError() {
    sv_.dialogs.MsgBox("An error has occurred. You may not have permission to create files in this folder.",
                       mb::OkCancel, kTitle);
}

void ChooseFolder::CancelButton_Click() { form_.Close(); }
