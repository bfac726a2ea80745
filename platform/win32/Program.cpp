#include "platform/win32/Program.h"

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
