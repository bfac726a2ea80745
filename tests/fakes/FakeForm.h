#pragma once
// Fake forms: they start in a window design's state and keep every property set on them.
#include <deque>
#include <vector>

#include "platform/Form.h"

class FakeForm : public virtual Form {
public:
    FakeForm(const WindowDesign& design, PictureService& pictures);

    struct ControlState {
        std::string text;
        PicturePtr picture;
        std::int32_t backColor = 0;
        bool visible = true;
        bool enabled = true;
        std::string accessibleName;
    };
    std::vector<ControlState> controls;
    std::string caption;
    PicturePtr icon;
    std::int32_t backColor = 0;
    int height = 0;
    bool visible = false;
    bool closed = false;
    int heightChanges = 0;

    std::string Caption() const override { return caption; }
    void SetCaption(const std::string& text) override { caption = text; }
    void SetIcon(const PicturePtr& p) override { if (p && p->IsIcon()) icon = p; }
    PicturePtr Icon() const override { return icon; }
    void SetBackColor(std::int32_t color) override { backColor = color; }
    void SetHeight(int twips) override { height = twips; ++heightChanges; }
    void Show() override { if (!closed) visible = true; }
    void Hide() override { visible = false; }
    void Close() override { closed = true; visible = false; }
    bool Closed() const override { return closed; }
    std::intptr_t Handle() const override { return reinterpret_cast<std::intptr_t>(this); }
    std::string Text(ControlId id) const override { return at(id).text; }
    void SetText(ControlId id, const std::string& text) override { at(id).text = text; }
    PicturePtr Picture(ControlId id) const override { return at(id).picture; }
    void SetPicture(ControlId id, const PicturePtr& p) override { at(id).picture = p; }
    std::int32_t BackColor(ControlId id) const override { return at(id).backColor; }
    void SetBackColor(ControlId id, std::int32_t color) override { at(id).backColor = color; }
    bool ControlVisible(ControlId id) const override { return at(id).visible; }
    void SetVisible(ControlId id, bool v) override { at(id).visible = v; }
    bool Enabled(ControlId id) const override { return at(id).enabled; }
    void SetEnabled(ControlId id, bool e) override { at(id).enabled = e; }
    void SetAccessibleName(ControlId id, const std::string& name) override { at(id).accessibleName = name; }

private:
    ControlState& at(ControlId id) { return controls.at(static_cast<std::size_t>(id)); }
    const ControlState& at(ControlId id) const { return controls.at(static_cast<std::size_t>(id)); }
};

class FakeMainForm : public FakeForm, public MainForm {
public:
    explicit FakeMainForm(PictureService& pictures);
    bool setupMenuVisible = true;
    std::deque<PopupCommand> popupAnswers;  // what the user picks in the next pop-ups
    std::vector<std::vector<std::string>> popupsShown;  // the items each pop-up offered

    void SetSetupMenuVisible(bool v) override { setupMenuVisible = v; }
    PopupCommand ShowPopupMenu(int x, int y) override;
};

class FakeSetupWizardForm : public FakeForm, public SetupWizardForm {
public:
    explicit FakeSetupWizardForm(PictureService& pictures);
    std::vector<bool> checked;
    int rowCount = 0;
    int selected = 0;

    bool Checked(ControlId id) const override { return checked.at(static_cast<std::size_t>(id)); }
    void SetChecked(ControlId id, bool c) override { checked.at(static_cast<std::size_t>(id)) = c; }
    void SetRowCount(int rows) override {
        rowCount = rows;
        if (selected > rows) selected = 0;
    }
    int SelectedRow() const override { return selected; }
    void SelectRow(int row) override { selected = row; }
};

class FakeMediumCheckForm : public FakeForm, public MediumCheckForm {
public:
    explicit FakeMediumCheckForm(PictureService& pictures);
    int rowCount = 0;
    int selected = 0;
    void SetRowCount(int rows) override {
        rowCount = rows;
        if (selected > rows) selected = 0;
    }
    int SelectedRow() const override { return selected; }
    void SelectRow(int row) override { selected = row; }
};

class FakeChooseFolderForm : public FakeForm, public ChooseFolderForm {
public:
    explicit FakeChooseFolderForm(PictureService& pictures);
    std::string drive = "C:";
    std::string folder = "C:\\Work";
    std::vector<std::string> unreadable;  // folders that cannot be opened

    std::string Drive() const override { return drive; }
    std::string FolderPath() const override { return folder; }
    bool SetFolderPath(const std::string& path) override {
        for (const auto& u : unreadable)
            if (u == path) return false;
        folder = path;
        return true;
    }
};
