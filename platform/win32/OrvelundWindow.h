#pragma once
// The main window: builds the design, forwards its events to the Orvelund behaviour class.
#include "app/Orvelund.h"
#include "platform/win32/DesignedWindow.h"

class OrvelundWindow : public DesignedWindow, public MainForm {
public:
    OrvelundWindow(Services& services, AppState& state);
    Orvelund& behaviour() { return behaviour_; }

    // MainForm
    void SetSetupMenuVisible(bool visible) override { setupMenuVisible_ = visible; }
    PopupCommand ShowPopupMenu(int x, int y) override;

protected:
    void OnCommand(ControlId id, int code) override;
    void OnMouseDown(ControlId id, int buttons, int x, int y) override;
    void OnActivate() override;
    void OnContextMenuKey(ControlId id) override;

private:
    Orvelund behaviour_;
    bool setupMenuVisible_ = true;
};
