#pragma once
// The check window: builds the design, a virtual list of the findings, and forwards the window's
// events to the MediumCheck behaviour class.
#include "editor/MediumCheck.h"
#include "platform/win32/DesignedWindow.h"

class MediumCheckWindow : public DesignedWindow, public MediumCheckForm {
public:
    MediumCheckWindow(SetupWizard& editor, Orvelund& main, Services& services, AppState& state);
    bool Create(PictureService& pictures);
    MediumCheck& behaviour() { return behaviour_; }

    // MediumCheckForm
    void SetRowCount(int rows) override;
    int SelectedRow() const override;
    void SelectRow(int row) override;

protected:
    void OnCommand(ControlId id, int code) override;
    LRESULT OnNotify(ControlId id, NMHDR* header) override;
    void OnListEnter(ControlId) override { behaviour_.lvFindings_DblClick(); }
    void OnCloseRequest() override { behaviour_.CloseButton_Click(); }
    void OnEscape() override { behaviour_.CloseButton_Click(); }

private:
    MediumCheck behaviour_;
    std::wstring cell_;  // the text handed to the list until it asks for the next one
};
