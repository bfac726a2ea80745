#include "editor/SetupWizard.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "content/DefaultContent.h"
#include "editor/ColorModule.h"
#include "editor/EntryFromFile.h"
#include "editor/FileTargets.h"
#include "menu/MenuFile.h"
#include "platform/SetupWizardDesign.h"

namespace {

constexpr const char* kEditorTitle = "Orvelund - Menu Editor";

// The whole-number part of a number held as text; nullopt when the text is not a number.
std::optional<long> WholeNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    while (*end == ' ') ++end;
    if (end == text.c_str() || *end != '\0' || !std::isfinite(value) || std::fabs(value) > 1e9) return std::nullopt;
    return static_cast<long>(std::floor(value));
}

std::string AsciiLower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// What the menu file holds, in one number (nullopt: no file to read), to notice another editor's
// save before this one writes over it.
std::optional<std::size_t> MenuStamp(const std::optional<std::vector<std::string>>& lines) {
    if (!lines) return std::nullopt;
    std::size_t stamp = lines->size();
    for (const auto& line : *lines) stamp = stamp * 1000003u ^ std::hash<std::string>{}(line);
    return stamp;
}

}  // namespace

using namespace WizardCtl;

SetupWizard::SetupWizard(SetupWizardForm& form, Orvelund& main, Services& services, AppState& state)
    : form_(form), main_(main), sv_(services), state_(state) {}

std::string SetupWizard::ContentPath(const std::string& name) const {
    return sv_.app.ContentPath(name);
}

void SetupWizard::Form_Load() {
    ReadSetupConfig();
    form_.SetCaption(main_.Form().Caption() + " - Menu Editor");
    main_.Form().Hide();
    if (!sv_.files.FileExists(sv_.app.appPath + "\\autorun.inf")) form_.SetText(AutoRunReset, "Create AutoRun");
}

void SetupWizard::ReadSetupConfig() {
    using namespace menufile;
    const std::string config = main_.MenuPath();
    const auto read = sv_.files.ReadLines(config);
    unreadable_ = !read && sv_.files.FileExists(config);
    readStamp_ = MenuStamp(read);
    const std::vector<std::string> none;
    const std::vector<std::string>& lines = read ? *read : none;
    auto line = [&](std::size_t n) { return n < lines.size() ? lines[n] : std::string(); };

    // One look at the content folder instead of one per row: a long menu on a slow disc opens at once.
    contentFiles_.clear();
    for (const auto& name : sv_.files.FileNames(sv_.app.ContentPath())) contentFiles_.insert(AsciiLower(name));

    // Every non-empty line after the header is an entry, short or long, to the end of the file.
    rows_.clear();
    for (std::size_t n = kLineFirstEntry; n < lines.size(); ++n) {
        if (lines[n].empty()) continue;
        rows_.push_back(NewRow(EntryFromLine(lines[n])));
    }
    form_.SetRowCount(RowCount());

    if (auto title = SettingValue(line(kLineTitle))) form_.SetText(sTitle, *title);
    if (auto value = SettingValue(line(kLineButtonColor))) {
        state_.ButtonColor = *value;
        if (auto color = ToInt32(*value)) form_.SetBackColor(Color0, *color);
    }
    if (auto value = SettingValue(line(kLineBackColor))) {
        if (auto color = ToInt32(*value)) form_.SetBackColor(Color1, *color);
    }
    if (auto value = SettingValue(line(kLineHideSetup))) {
        if (auto flag = WholeNumber(*value)) form_.SetChecked(HideSetup, *flag == 1);
    }

    const std::string icon = ContentPath("app.ico");
    if (sv_.files.FileExists(icon)) {
        if (auto picture = sv_.pictures.LoadPicture(icon, ShownArea{})) {
            form_.SetPicture(AppIcon, picture);
            main_.Form().SetIcon(picture);
            form_.SetIcon(picture);
        }
    }
}

const std::string& SetupWizard::Cell(int row, int column) const {
    static const std::string none;
    if (row < 1 || row > RowCount()) return none;
    const MenuRow& r = rows_[static_cast<std::size_t>(row - 1)];
    switch (column) {
    case 0: return r.Button;
    case 1: return r.Label;
    case 2: return r.FileFolder;
    case 3: return r.Action;
    case 4: return r.Image;
    default: return none;
    }
}

bool SetupWizard::HasPicture(const std::string& button) const {
    const std::string name = button + ".jpg";
    // Names the listing cannot answer for exactly (letters outside ASCII, which Windows compares
    // by its own case rules, or a path into another folder) are asked about one by one.
    const bool plain = std::all_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x80 && c != '\\' && c != '/' && c != ':';
    });
    if (!plain) return sv_.files.FileExists(ContentPath(name));
    return contentFiles_.count(AsciiLower(name)) != 0;
}

MenuRow SetupWizard::NewRow(const MenuEntry& e) {
    MenuRow row{e.Button, e.Label, e.FileFolder, e.Action, "", nextId_++};
    if (HasPicture(e.Button)) row.Image = e.Button + ".jpg";
    return row;
}

int SetupWizard::PositionOf(std::uint64_t id) const {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].id == id) return static_cast<int>(i + 1);
    return 0;
}

std::uint64_t SetupWizard::IdAt(int row) const {
    return row >= 1 && row <= RowCount() ? rows_[static_cast<std::size_t>(row - 1)].id : 0;
}

void SetupWizard::UpdateRow(int row, const std::string& button, const std::string& label,
                            const std::string& fileFolder, const std::string& action) {
    if (row < 1 || row > RowCount()) return;
    MenuRow& r = rows_[static_cast<std::size_t>(row - 1)];
    r.Button = button, r.Label = label, r.FileFolder = fileFolder, r.Action = action;
    r.Image = sv_.files.FileExists(ContentPath(button + ".jpg")) ? button + ".jpg" : "";
    form_.SetRowCount(RowCount());
}

void SetupWizard::AddItem_Click() {
    rows_.push_back({"New Button", "", "", "", "", nextId_++});
    form_.SetRowCount(RowCount());
    form_.SelectRow(RowCount());  // the new row, scrolled into view, ready for a double click
}

void SetupWizard::DeleteItem_Click() {
    const int p = form_.SelectedRow();
    if (p < 1 || p > RowCount()) return;
    rows_.erase(rows_.begin() + (p - 1));
    form_.SetRowCount(RowCount());
    if (RowCount() > 0) form_.SelectRow(std::min(p, RowCount()));
}

void SetupWizard::Exchange(int a, int b) {
    std::swap(rows_[static_cast<std::size_t>(a - 1)], rows_[static_cast<std::size_t>(b - 1)]);
    form_.SetRowCount(RowCount());
    form_.SelectRow(b);
}

void SetupWizard::MoveUp_Click() {
    const int p = form_.SelectedRow();
    if (p < 2 || p > RowCount()) return;
    Exchange(p, p - 1);
}

void SetupWizard::MoveDown_Click() {
    const int p = form_.SelectedRow();
    if (p < 1 || p >= RowCount()) return;
    Exchange(p, p + 1);
}

void SetupWizard::sMenuItems_DblClick() { EditRow(form_.SelectedRow()); }

void SetupWizard::EditRow(int row) {
    if (row < 1 || row > RowCount()) return;
    if (form_.SelectedRow() != row) form_.SelectRow(row);
    state_.EditIndex = row;
    sv_.windows.ShowMenuItem();
}

std::vector<std::string> SetupWizard::MenuFileLines() const {
    MenuSettings settings{form_.Text(sTitle), form_.BackColor(Color0), form_.BackColor(Color1),
                          form_.Checked(HideSetup) ? 1 : 0};
    std::vector<MenuEntry> entries;
    entries.reserve(rows_.size());
    for (const auto& r : rows_) entries.push_back({r.Button, r.Label, r.FileFolder, r.Action});
    return menufile::FileLines(settings, entries);
}

bool SetupWizard::WriteSetupConfig() {
    return sv_.files.WriteTextFile(main_.MenuPath(), MenuFileLines(), UnicodeForm::Utf8WithMark);
}

void SetupWizard::OKButton_Click() {
    if (auto bad = FindBadCharacter(form_.Text(sTitle), rows_)) {
        sv_.dialogs.MsgBox(BadCharacterMessage(*bad), mb::OkOnly | mb::Exclamation, kEditorTitle);
        return;
    }
    if (unreadable_) {
        // Saving would replace a menu the editor never saw with what it shows: only on request.
        const int answer = sv_.dialogs.MsgBox(
            "The menu file could not be read when the Menu Editor opened:\r\n" + main_.MenuPath() +
                "\r\n\r\nSaving now replaces that file with what the Menu Editor shows, and the entries it "
                "could not read are lost. Do you want to replace it?",
            mb::YesNoCancel | mb::Exclamation, kEditorTitle);
        if (answer != mb::Yes) return;
    }
    const std::string config = main_.MenuPath();
    if (!unreadable_ && MenuStamp(sv_.files.ReadLines(config)) != readStamp_) {
        // Another Menu Editor (another instance, or someone else on a shared stick) saved since
        // this one read the file: its edits are not lost without asking.
        const int answer = sv_.dialogs.MsgBox(
            "The menu file has been changed by another program since the Menu Editor opened it:\r\n" + config +
                "\r\n\r\nClick YES to replace it with the menu shown in this Menu Editor.\r\n"
                "Click NO to keep the other version; nothing is saved and your edits stay in the Menu Editor.",
            mb::YesNoCancel | mb::Exclamation, kEditorTitle);
        if (answer != mb::Yes) return;
    }
    if (sv_.files.FolderExists(config)) {
        sv_.dialogs.MsgBox("Your menu could not be saved to\r\n" + config +
                               "\r\n\r\nThere is a folder of that name where the menu file belongs. Rename or move "
                               "that folder, then press OK again. Your edits are still in the Menu Editor.",
                           mb::OkOnly | mb::Critical, kEditorTitle);
        return;
    }
    if (!WriteSetupConfig()) {
        // Nothing was changed on disk; the edits stay in the window so the user can try again.
        sv_.dialogs.MsgBox("Your menu could not be saved to\r\n" + config +
                               "\r\n\r\nThe file or the disk may be read-only, or the disk may be full. "
                               "The menu file has not been changed and your edits are still in the Menu Editor.",
                           mb::OkOnly | mb::Critical, kEditorTitle);
        return;
    }
    sv_.dialogs.MsgBox("Your settings have been saved!\r\nThe program will now restart.",
                       mb::OkOnly | mb::Exclamation, kEditorTitle);
    // The program's own file, whatever the author has renamed it to, in the language it was given:
    // the new instance shows the menu just saved. The slash in front keeps the option whole
    // whatever blank the shell puts between the program's name and its parameters.
    const std::string program = sv_.app.appPath + "\\" + sv_.app.exeName;
    const std::string parameters = state_.LanguageOption.empty() ? "" : "/-lang:" + state_.LanguageOption;
    if (!sv_.shell.Start(form_.Handle(), program, parameters)) {
        // Nothing restarted: this program stays, with the editor open, rather than vanish.
        readStamp_ = MenuStamp(sv_.files.ReadLines(config));
        unreadable_ = false;
        sv_.dialogs.MsgBox("Your menu has been saved, but the program could not be restarted from\r\n" + program +
                               "\r\n\r\nThe saved menu shows the next time the program is started. "
                               "The Menu Editor stays open.",
                           mb::OkOnly | mb::Critical, kEditorTitle);
        return;
    }
    state_.ExitRequested = true;
    main_.Form().Show();
    form_.Close();
}

void SetupWizard::CancelButton_Click() {
    main_.Form().Show();
    form_.Close();
}

void SetupWizard::Form_QueryUnload() { CancelButton_Click(); }

void SetupWizard::sMenuItems_DropFiles(const std::vector<std::string>& paths, int row) {
    const std::vector<FileTarget> targets = FileTargets(sv_, form_.Caption(), form_.Handle()).For(paths);
    if (targets.empty()) return;
    std::unordered_set<std::string> taken;
    for (const auto& r : rows_) taken.insert(NameKey(r.Button));
    std::vector<MenuRow> added;
    for (const auto& t : targets) {
        const std::string button = UniqueButton(ButtonFromName(t.title), taken);
        const bool picture = sv_.files.FileExists(ContentPath(button + ".jpg"));
        added.push_back({button, LabelFromName(t.title), t.target, "open", picture ? button + ".jpg" : "", nextId_++});
    }
    const int after = row >= 1 && row <= RowCount() ? row : RowCount();
    rows_.insert(rows_.begin() + after, added.begin(), added.end());
    form_.SetRowCount(RowCount());
    form_.SelectRow(after + 1);
}

void SetupWizard::PictureSaved(const std::string& button) {
    contentFiles_.insert(AsciiLower(button + ".jpg"));
    const std::string key = NameKey(button);
    for (auto& r : rows_)
        if (NameKey(r.Button) == key) r.Image = r.Button + ".jpg";
    form_.SetRowCount(RowCount());
}

// ---- the editor's commands --------------------------------------------------------------------

void SetupWizard::Color_Click(int Index) {
    bool Cancelled = false;
    std::int32_t color = 0;
    ColorModule::ShowColorDialog(sv_.colors, color, Cancelled);
    if (Cancelled) return;
    form_.SetBackColor(Index == 0 ? Color0 : Color1, color);
    if (Index == 0) state_.ButtonColor = std::to_string(color);
}

void SetupWizard::AutoRunReset_Click() {
    main_.CheckForAutoRun(form_.Caption());
    form_.SetText(AutoRunReset, "Update AutoRun");
}

void SetupWizard::AppImage_Click() { main_.Launch(ContentPath("app.jpg"), "open"); }

void SetupWizard::Content_Click() {
    sv_.shell.Execute(form_.Handle(), "open", sv_.app.ContentPath() + "\\");
}

void SetupWizard::Instructions_Click() {
    main_.CheckForInstructions();
    main_.Launch(ContentPath("instructions.htm"), "open");
}

void SetupWizard::Update_Click() { main_.Launch(UpdateAddress(sv_.app.version), "open"); }

void SetupWizard::CheckMedium_Click() { sv_.windows.ShowMediumCheck(); }
