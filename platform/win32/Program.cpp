#include "platform/win32/Program.h"

namespace {

// Tab, the arrow keys and Alt show the keyboard cues (focus frames, access keys) in the window,
// as the dialog manager does; said here too for systems whose dialog manager does not.
void ShowCuesOnKeyboardUse(HWND root, const MSG& msg) {
    WORD cues = 0;
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_TAB || (msg.wParam >= VK_LEFT && msg.wParam <= VK_DOWN)))
        cues = UISF_HIDEFOCUS;
    else if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_MENU)
        cues = UISF_HIDEFOCUS | UISF_HIDEACCEL;
    if (cues) SendMessageW(root, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, cues), 0);
}

}  // namespace

Program::Program(AppInfo app)
    : services_{files_, shell_, dialogs_, pictures_, *this, colors_, std::move(app)} {}

void Program::Adopt(DesignedWindow& window) {
    ++openWindows_;
    window.onDestroyed = [this] {
        if (--openWindows_ == 0) PostQuitMessage(0);
    };
}

int Program::Run() {
    main_ = std::make_unique<OrvelundWindow>(services_, state_);
    if (!main_->Create(pictures_)) return 1;
    Adopt(*main_);
    main_->behaviour().Form_Load();
    // When start-up opened the Menu Editor, it alone shows; its OK or Cancel brings the menu.
    const bool editorOpen = setupWizard_ && !setupWizard_->Closed();
    if (!main_->Closed() && !editorOpen) main_->Show();

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        if (root) ShowCuesOnKeyboardUse(root, msg);
        if (root && IsDialogMessageW(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

// Each window exists at most once: showing it again brings the same window forward. A new one
// is created, counted among the program's windows, loaded and shown.
template <typename Window, typename Make>
void Program::ShowOnce(std::unique_ptr<Window>& window, Make make) {
    if (window && !window->Closed()) {
        window->Show();
        return;
    }
    window = make();
    if (!window->Create(pictures_)) return;
    Adopt(*window);
    window->behaviour().Form_Load();
    window->Show();
}

void Program::ShowSetupWizard() {
    const bool opening = !setupWizard_ || setupWizard_->Closed();
    ShowOnce(setupWizard_, [&] { return std::make_unique<SetupWizardWindow>(main_->behaviour(), services_, state_); });
    if (!opening || !setupWizard_ || setupWizard_->Closed()) return;
    // The item editor edits a row of this editor's list: it closes with it, edits unsaved as in
    // the editor itself, and never outlives the rows it points into.
    auto counted = setupWizard_->onDestroyed;
    setupWizard_->onDestroyed = [this, counted] {
        if (menuItem_ && !menuItem_->Closed()) menuItem_->Close();
        counted();
    };
}

void Program::ShowChooseFolder() {
    ShowOnce(chooseFolder_, [&] { return std::make_unique<ChooseFolderWindow>(services_, state_); });
}

void Program::ShowMenuItem() {
    if (!setupWizard_ || setupWizard_->Closed()) return;  // the item editor edits the editor's rows
    ShowOnce(menuItem_, [&] {
        return std::make_unique<MenuItemWindow>(setupWizard_->behaviour(), main_->behaviour(), services_, state_);
    });
}
