#pragma once
// The item editor's window: forwards its events to the MenuItem behaviour class.
#include "editor/MenuItem.h"
#include "platform/win32/DesignedWindow.h"

class MenuItemWindow : public DesignedWindow {
public:
    MenuItemWindow(SetupWizard& editor, Orvelund& main, Services& services, AppState& state);
    bool Create(PictureService& pictures);
    MenuItem& behaviour() { return behaviour_; }

protected:
    void OnCommand(ControlId id, int code) override;
    void OnCloseRequest() override { behaviour_.CancelButton_Click(); }
    void OnEscape() override { behaviour_.CancelButton_Click(); }
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;  // files dropped from Explorer

private:
    MenuItem behaviour_;
};
