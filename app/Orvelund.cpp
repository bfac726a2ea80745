#include "app/Orvelund.h"
#include "app/FirstRunPrompt.h"

#include <cstdlib>
#include <vector>

#include "menu/MenuFile.h"
#include "menu/MenuLanguage.h"
#include "platform/MainWindowDesign.h"

namespace {

// These titles are the program's own and stay as they are, odd as they look: the first-run and
// relocation boxes are titled "Setup Wizard" though that window is the Menu Editor, and the help
// box and a menu without a title say "Talvenor". Users' instructions and the tests quote them.
constexpr const char* kSetupTitle = "Orvelund - Setup Wizard";
constexpr const char* kHelpTitle = "Talvenor - Command Line Help";
constexpr const char* kDefaultCaption = "Talvenor";
constexpr std::int16_t kMaxScrollOffset = 32767;

// The numeric value of an answer code held as text.
int AnswerValue(const std::string& text) { return std::atoi(text.c_str()); }

}  // namespace

std::string MenuCaption(const std::string& titleLine) {
    if (titleLine.empty()) return kDefaultCaption;
    const auto title = menufile::SettingValue(titleLine);
    return title ? *title : kDefaultCaption;
}

Orvelund::Orvelund(MainForm& form, Services& services, AppState& state)
    : form_(form), sv_(services), state_(state) {}

std::string Orvelund::ContentPath(const std::string& name) const {
    return sv_.app.ContentPath(name);
}

// ---- start-up -------------------------------------------------------------------------------

void Orvelund::Form_Load() {
    GetCommandLine();
    ChooseMenuFile();
    // config.ini, everyone's menu, is what makes a folder a set-up medium, whatever languages
    // it has menus for.
    if (sv_.files.FileExists(ContentPath(menulanguage::kMenuFile))) {
        state_.SetupAnswer = "6";
    } else {
        const int answer = sv_.dialogs.MsgBox(FirstRunPrompt(sv_.app.appPath), mb::YesNoCancel, kSetupTitle);
        state_.SetupAnswer = std::to_string(answer);
    }
    if (AnswerValue(state_.SetupAnswer) == mb::No) {
        sv_.windows.ShowChooseFolder();
        form_.Close();
    }
    Startup();
}

void Orvelund::GetCommandLine(int MaxArgs) {
    std::vector<std::string> args;
    bool inArgument = false;
    for (const char c : sv_.app.commandLine) {
        if (c == '/' || c == '\t') {
            inArgument = false;
            continue;
        }
        if (!inArgument) {
            if (static_cast<int>(args.size()) == MaxArgs) break;
            args.emplace_back();
            inArgument = true;
        }
        args.back() += c;
    }
    const std::string langOption = "-lang:";
    for (const auto& arg : args) {
        if (arg == "-setup") {
            state_.ShowEditorAtStart = true;
        } else if (arg.compare(0, langOption.size(), langOption) == 0) {
            // Only a language tag counts; anything else is ignored like an unknown option, so the
            // Windows language decides and no text of the command line ever becomes part of a path.
            if (auto tag = menulanguage::ParseLanguageTag(arg.substr(langOption.size())))
                state_.LanguageOption = tag->Text();
        } else if (arg == "-?") {
            sv_.dialogs.MsgBox("-?      (opens Command Line Help)\r\n-setup (opens the Setup Wizard)",
                               mb::OkOnly | mb::Information, kHelpTitle);
            state_.ExitRequested = true;
        }
    }
}

void Orvelund::ChooseMenuFile() {
    state_.MenuFile = menulanguage::MenuFileFor(sv_.files.FileNames(sv_.app.ContentPath()), sv_.app.uiLanguage,
                                                state_.LanguageOption);
}

std::string Orvelund::MenuPath() const { return ContentPath(state_.MenuFile); }

void Orvelund::Startup() {
    if (AnswerValue(state_.SetupAnswer) != mb::Yes || state_.ExitRequested) {
        form_.Close();
        return;
    }
    const std::string content = sv_.app.ContentPath();
    if (sv_.files.FileExists(content)) {
        ShowFatalError("Orvelund keeps its menu in a folder named content beside the program, but a file of "
                       "that name is in the way:\r\n" + content +
                       "\r\n\r\nRename or move that file, then start Orvelund again.");
        return;
    }
    if (!sv_.files.FolderExists(content) && !sv_.files.CreateFolder(content)) {
        ShowFatalError("Orvelund could not create its content folder:\r\n" + content +
                       "\r\n\r\nThe menu cannot start from a folder that cannot be written to "
                       "before it has been set up. Copy Orvelund.exe to a writable folder and start it there.");
        return;
    }
    CheckForConfig();
    CheckForPicture();
    if (state_.ShowEditorAtStart) sv_.windows.ShowSetupWizard();
}

void Orvelund::ShowFatalError(const std::string& text) {
    sv_.dialogs.MsgBox(text, mb::OkOnly | mb::Critical, kSetupTitle);
    form_.Close();
}

void Orvelund::Form_Activate() {
    if (state_.ExitRequested) form_.Close();
}

// ---- pop-up menu ----------------------------------------------------------------------------

void Orvelund::Picture1_MouseDown(int button, int /*shift*/, int x, int y) {
    if ((button & 2) == 0) return;
    switch (form_.ShowPopupMenu(x, y)) {
    case PopupCommand::MenuEditor: mnuSetup_Click(); break;
    case PopupCommand::Exit: mnuExit_Click(); break;
    case PopupCommand::None: break;
    }
}

void Orvelund::mnuSetup_Click() { sv_.windows.ShowSetupWizard(); }

void Orvelund::mnuExit_Click() { form_.Close(); }

// ---- the menu view --------------------------------------------------------------------------

void Orvelund::ReadConfig() {
    if (auto icon = sv_.pictures.LoadPicture(ContentPath("app.ico"), ShownArea{})) form_.SetIcon(icon);

    using namespace menufile;
    const auto read = sv_.files.ReadLines(MenuPath(), 0, kLineFirstEntry + 11);
    const std::vector<std::string> none;
    const std::vector<std::string>& lines = read ? *read : none;
    auto line = [&](std::size_t n) { return n < lines.size() ? lines[n] : std::string(); };

    MenuLines_[0] = line(kLineTitle);
    for (int i = 1; i <= 11; ++i) MenuLines_[i] = line(kLineFirstEntry + i - 1);

    form_.SetCaption(MenuCaption(MenuLines_[0]));
    const std::string buttonColorLine = line(kLineButtonColor);
    if (!buttonColorLine.empty()) {
        if (auto value = SettingValue(buttonColorLine)) state_.ButtonColor = *value;
        if (auto color = ToInt32(state_.ButtonColor)) {
            for (int k = 0; k < MainCtl::kMenuButtons; ++k) form_.SetBackColor(MainCtl::BtnMenu(k), *color);
        }
    }
    const std::string backColorLine = line(kLineBackColor);
    if (!backColorLine.empty()) {
        const auto value = SettingValue(backColorLine);
        if (auto color = value ? ToInt32(*value) : std::nullopt) {
            form_.SetBackColor(*color);
            for (int k = 0; k < MainCtl::kMenuButtons; ++k) form_.SetBackColor(MainCtl::LblMenu(k), *color);
        }
    }
    if (line(kLineHideSetup) == kHideSetupLine) form_.SetSetupMenuVisible(false);

    form_.SetVisible(MainCtl::BtnNext, !MenuLines_[11].empty());
    form_.SetVisible(MainCtl::BtnPrev, false);
    ScrollOffset_ = 0;
    FillView();
}

void Orvelund::ShowMenuPage(const std::string& direction) {
    // The offset is a 16-bit count: the view stops at the deepest place it can reach rather
    // than wrapping round.
    if (direction == "Next" && ScrollOffset_ < kMaxScrollOffset) ++ScrollOffset_;
    else if (direction == "Prev" && ScrollOffset_ > 0) --ScrollOffset_;

    for (int i = 1; i <= 11; ++i) MenuLines_[i].clear();
    const auto read =
        sv_.files.ReadLines(MenuPath(), menufile::kLineFirstEntry + static_cast<std::size_t>(ScrollOffset_), 11);
    if (read) {
        for (std::size_t i = 0; i < read->size() && i < 11; ++i) MenuLines_[i + 1] = (*read)[i];
    }
    form_.SetVisible(MainCtl::BtnNext, !MenuLines_[11].empty() && ScrollOffset_ < kMaxScrollOffset);
    form_.SetVisible(MainCtl::BtnPrev, ScrollOffset_ > 0);
    FillView();
}

void Orvelund::FillView() {
    for (int k = 0; k < MainCtl::kMenuButtons; ++k) {
        const std::string& line = MenuLines_[k + 1];
        if (line.empty()) {
            if (k > 0) form_.SetHeight(kWindowHeightTable[k]);
            return;
        }
        const auto fields = menufile::SplitFields(line);
        if (fields.size() >= 2) form_.SetText(MainCtl::LblMenu(k), fields[1]);

        const ControlId button = MainCtl::BtnMenu(k);
        form_.SetAccessibleName(button, fields[0]);
        // A missing picture, or one that cannot be decoded, counts as none: the button shows its
        // name, never the picture of the entry it showed before. LoadPicture looks at the file
        // once, so a page turn asks the disc nothing twice.
        const PicturePtr picture =
            sv_.pictures.LoadPicture(ContentPath(fields[0] + ".jpg"), ShownIn(MainWindowDesign().controls[button]));
        form_.SetPicture(button, picture);
        form_.SetText(button, picture ? "" : fields[0]);
    }
    form_.SetHeight(kWindowHeightTable[10]);
}

void Orvelund::btnNext_Click() { ShowMenuPage("Next"); }
void Orvelund::btnPrev_Click() { ShowMenuPage("Prev"); }

// ---- launching ------------------------------------------------------------------------------

void Orvelund::btnMenu_Click(int index) {
    if (index < 0 || index >= MainCtl::kMenuButtons) return;
    const auto fields = menufile::SplitFields(MenuLines_[index + 1]);
    if (fields.size() < 4) return;
    Launch(fields[2], fields[3]);
}

bool IsWebTarget(const std::string& target) {
    if (target.compare(0, 3, "www") == 0) return true;
    // A URL scheme: a letter, then letters, digits, '+', '-' or '.', then a colon; two characters
    // at least, so that a drive letter ("C:") stays a path.
    auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (target.empty() || !letter(target[0])) return false;
    std::size_t i = 1;
    while (i < target.size() && (letter(target[i]) || (target[i] >= '0' && target[i] <= '9') || target[i] == '+' ||
                                 target[i] == '-' || target[i] == '.'))
        ++i;
    return i >= 2 && i < target.size() && target[i] == ':';
}

void Orvelund::Launch(std::string sFileName, const std::string& saction) {
    if (!IsWebTarget(sFileName)) sFileName = sv_.files.GetAbsolutePathName(sFileName);
    sv_.shell.Execute(form_.Handle(), saction, sFileName);
}
