#pragma once
// The Menu Editor's window: builds the design, a virtual list of the entries, and forwards the
// window's events to the SetupWizard behaviour class.
#include "editor/SetupWizard.h"
#include "platform/win32/DesignedWindow.h"

class SetupWizardWindow : public DesignedWindow, public SetupWizardForm {
public:
    SetupWizardWindow(Orvelund& main, Services& services, AppState& state);
    bool Create(PictureService& pictures);
    SetupWizard& behaviour() { return behaviour_; }

    // SetupWizardForm
    bool Checked(ControlId id) const override;
    void SetChecked(ControlId id, bool checked) override;
    void SetRowCount(int rows) override;
    int SelectedRow() const override;
    void SelectRow(int row) override;

protected:
    void OnCommand(ControlId id, int code) override;
    LRESULT OnNotify(ControlId id, NMHDR* header) override;
    void OnCloseRequest() override { behaviour_.Form_QueryUnload(); }
    void OnEscape() override { behaviour_.CancelButton_Click(); }
    void OnListEnter(ControlId) override { behaviour_.sMenuItems_DblClick(); }
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;  // files dropped from Explorer

private:
    SetupWizard behaviour_;
    std::wstring cell_;  // the text handed to the list until it asks for the next one
};
