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

void Program::ShowSetupWizard() {
    if (setupWizard_ && !setupWizard_->Closed()) {
        setupWizard_->Show();
        return;
    }
    setupWizard_ = std::make_unique<SetupWizardWindow>(main_->behaviour(), services_, state_);
    if (!setupWizard_->Create(pictures_)) return;
    Adopt(*setupWizard_);
    setupWizard_->behaviour().Form_Load();
    setupWizard_->Show();
}

void Program::ShowChooseFolder() {
    if (chooseFolder_ && !chooseFolder_->Closed()) {
        chooseFolder_->Show();
        return;
    }
    chooseFolder_ = std::make_unique<ChooseFolderWindow>(services_, state_);
    if (!chooseFolder_->Create(pictures_)) return;
    Adopt(*chooseFolder_);
    chooseFolder_->behaviour().Form_Load();
    chooseFolder_->Show();
}

void Program::ShowMenuItem() {
    // One item editor at a time: a second double click only brings it forward.
    if (menuItem_ && !menuItem_->Closed()) {
        menuItem_->Show();
        return;
    }
    if (!setupWizard_ || setupWizard_->Closed()) return;
    menuItem_ = std::make_unique<MenuItemWindow>(setupWizard_->behaviour(), main_->behaviour(), services_, state_);
    if (!menuItem_->Create(pictures_)) return;
    Adopt(*menuItem_);
    menuItem_->behaviour().Form_Load();
    menuItem_->Show();
}
