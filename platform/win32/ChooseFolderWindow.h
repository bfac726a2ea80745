#pragma once
// The relocation window: a drive list and a folder list, and its events forwarded to the
// ChooseFolder behaviour class. The two lists behave as such lists do: a double click opens a
// folder, picking a drive asks the behaviour what to do.
#include "platform/win32/DesignedWindow.h"
#include "relocate/ChooseFolder.h"
#include "relocate/FolderList.h"

class ChooseFolderWindow : public DesignedWindow, public ChooseFolderForm {
public:
    ChooseFolderWindow(Services& services, AppState& state);
    bool Create(PictureService& pictures);
    ChooseFolder& behaviour() { return behaviour_; }

    // ChooseFolderForm
    std::string Drive() const override;
    std::string FolderPath() const override { return path_; }
    bool SetFolderPath(const std::string& path) override;

protected:
    void OnCommand(ControlId id, int code) override;

private:
    ChooseFolder behaviour_;
    std::string path_;
    FolderList folders_;  // the folder list's rows
};
