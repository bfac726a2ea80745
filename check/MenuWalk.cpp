#include "check/MenuWalk.h"

#include "app/Orvelund.h"
#include "menu/MenuFile.h"
#include "platform/MainWindowDesign.h"

namespace {

// The menu file alone, already in memory; nothing else exists and nothing can be written.
class MenuOnly : public FileSystem {
public:
    explicit MenuOnly(const std::vector<std::string>& lines) : lines_(lines) {}
    bool FileExists(const std::string&) override { return false; }
    bool FolderExists(const std::string&) override { return false; }
    bool CreateFolder(const std::string&) override { return false; }
    std::optional<std::vector<std::string>> ReadLines(const std::string&, std::size_t skip, std::size_t count) override {
        std::vector<std::string> out;
        for (std::size_t i = skip; i < lines_.size() && out.size() < count; ++i) out.push_back(lines_[i]);
        return out;
    }
    bool WriteTextFile(const std::string&, const std::vector<std::string>&, UnicodeForm) override { return false; }
    bool WriteBytes(const std::string&, const std::string&) override { return false; }
    std::vector<std::string> FileNames(const std::string&) override { return {}; }
    std::optional<std::vector<FolderEntry>> ListFolder(const std::string&) override { return std::nullopt; }
    std::optional<std::string> ReadBytes(const std::string&, std::size_t) override { return std::nullopt; }
    bool StreamFile(const std::string&, const std::function<bool(const char*, std::size_t)>&) override { return false; }
    bool Copy(const std::string&, const std::string&) override { return false; }
    bool Delete(const std::string&) override { return false; }
    std::string GetAbsolutePathName(const std::string& path) override { return path; }

private:
    const std::vector<std::string>& lines_;
};

struct NoShell : Shell {
    bool Execute(std::intptr_t, const std::string&, const std::string&) override { return false; }
};
struct NoDialogs : Dialogs {
    int MsgBox(const std::string&, int, const std::string&) override { return mb::Cancel; }
};
struct NoPictures : PictureService {
    PicturePtr LoadPicture(const std::string&, const ShownArea&) override { return nullptr; }
    PicturePtr BuiltIn(BuiltInPicture) override { return nullptr; }
    bool SavePicture(const PicturePtr&, const std::string&) override { return false; }
};
struct NoWindows : ProgramWindows {
    void ShowSetupWizard() override {}
    void ShowChooseFolder() override {}
    void ShowMenuItem() override {}
    void ShowMediumCheck() override {}
};
struct NoColors : ColorDialog {
    bool Pick(std::array<std::int32_t, 16>&, std::int32_t&) override { return false; }
};

// The main window reduced to what tells which entries a view shows: the buttons the view named
// and whether Next is offered.
class ViewRecorder : public MainForm {
public:
    int named = 0;          // buttons filled in the last view
    bool nextVisible = false;

    std::string Caption() const override { return {}; }
    void SetCaption(const std::string&) override {}
    void SetIcon(const PicturePtr&) override {}
    PicturePtr Icon() const override { return nullptr; }
    void SetBackColor(std::int32_t) override {}
    void SetHeight(int) override {}
    void Show() override {}
    void Hide() override {}
    void Close() override {}
    bool Closed() const override { return false; }
    std::intptr_t Handle() const override { return 0; }
    std::string Text(ControlId) const override { return {}; }
    void SetText(ControlId, const std::string&) override {}
    PicturePtr Picture(ControlId) const override { return nullptr; }
    void SetPicture(ControlId, const PicturePtr&) override {}
    std::int32_t BackColor(ControlId) const override { return 0; }
    void SetBackColor(ControlId, std::int32_t) override {}
    bool ControlVisible(ControlId id) const override { return id == MainCtl::BtnNext && nextVisible; }
    void SetVisible(ControlId id, bool visible) override {
        if (id == MainCtl::BtnNext) nextVisible = visible;
    }
    bool Enabled(ControlId) const override { return true; }
    void SetEnabled(ControlId, bool) override {}
    // The view names every button it fills, top down.
    void SetAccessibleName(ControlId id, const std::string&) override {
        for (int k = 0; k < MainCtl::kMenuButtons; ++k)
            if (id == MainCtl::BtnMenu(k) && k + 1 > named) named = k + 1;
    }
    void SetSetupMenuVisible(bool) override {}
    PopupCommand ShowPopupMenu(int, int) override { return PopupCommand::None; }
};

}  // namespace

MenuWalk WalkMenu(const std::vector<std::string>& lines) {
    MenuOnly files(lines);
    NoShell shell;
    NoDialogs dialogs;
    NoPictures pictures;
    NoWindows windows;
    NoColors colors;
    Services services{files, shell, dialogs, pictures, windows, colors, AppInfo{"M:\\Medium", "", {}}};
    AppState state;
    ViewRecorder form;
    Orvelund window(form, services, state);

    MenuWalk walk;
    const std::size_t first = menufile::kLineFirstEntry;
    walk.shown.assign(lines.size() > first ? lines.size() - first : 0, false);
    auto record = [&] {
        const int offset = window.ScrollOffset();
        if (form.named == 0 && offset > 0) walk.staleViews.push_back(offset);
        for (int k = 0; k < form.named; ++k) {
            const std::size_t entry = static_cast<std::size_t>(offset + k);
            if (entry < walk.shown.size()) walk.shown[entry] = true;
        }
        walk.deepestOffset = offset;
        form.named = 0;
    };
    window.ReadConfig();
    record();
    while (form.nextVisible) {
        const int before = window.ScrollOffset();
        window.ShowMenuPage("Next");
        if (window.ScrollOffset() == before) break;  // the deepest view: Next has nowhere to go
        record();
    }
    return walk;
}
