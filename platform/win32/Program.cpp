#include "platform/win32/Program.h"

#include "platform/win32/Trace.h"

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
    : services_{files_, shell_, dialogs_, pictures_, *this, colors_, std::move(app),
                fileDialogs_, copier_, progress_} {}

void Program::Adopt(DesignedWindow& window, ProgramWindow which) {
    windows_.Made();
    window.onDestroyed = [this, which] {
        for (ProgramWindow other : ClosingWith(which)) {
            DesignedWindow* w = WindowFor(other);
            if (w && !w->Closed()) w->Close();
        }
        if (windows_.Gone()) PostQuitMessage(0);
    };
}

DesignedWindow* Program::WindowFor(ProgramWindow which) const {
    switch (which) {
    case ProgramWindow::Main: return main_.get();
    case ProgramWindow::MenuEditor: return setupWizard_.get();
    case ProgramWindow::ItemEditor: return menuItem_.get();
    case ProgramWindow::Relocation: return chooseFolder_.get();
    case ProgramWindow::MediumCheck: return mediumCheck_.get();
    }
    return nullptr;
}

OpenWindows Program::Open() const {
    OpenWindows open;
    for (ProgramWindow w : {ProgramWindow::Main, ProgramWindow::MenuEditor, ProgramWindow::ItemEditor,
                            ProgramWindow::Relocation, ProgramWindow::MediumCheck}) {
        const DesignedWindow* window = WindowFor(w);
        if (window && !window->Closed()) open.Add(w);
    }
    return open;
}

int Program::Run() {
    main_ = std::make_unique<OrvelundWindow>(services_, state_);
    if (!main_->Create(pictures_)) {
        Trace("The main window could not be created");
        return 1;
    }
    Adopt(*main_, ProgramWindow::Main);
    main_->behaviour().Form_Load();
    if (MainShowsAtStart(Open())) main_->Show();

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

template <typename Window, typename Make>
void Program::ShowOnce(std::unique_ptr<Window>& window, ProgramWindow which, Make make) {
    switch (WhenShown(which, Open())) {
    case ShowAction::Refuse: return;
    case ShowAction::BringForward: window->Show(); return;
    case ShowAction::Create: break;
    }
    window = make();
    if (!window->Create(pictures_)) {
        Trace("A window could not be created");  // the one that asked for it stays as it is
        return;
    }
    Adopt(*window, which);
    window->behaviour().Form_Load();
    window->Show();
}

void Program::ShowSetupWizard() {
    ShowOnce(setupWizard_, ProgramWindow::MenuEditor,
             [&] { return std::make_unique<SetupWizardWindow>(main_->behaviour(), services_, state_); });
}

void Program::ShowChooseFolder() {
    ShowOnce(chooseFolder_, ProgramWindow::Relocation,
             [&] { return std::make_unique<ChooseFolderWindow>(services_, state_); });
}

void Program::ShowMenuItem() {
    ShowOnce(menuItem_, ProgramWindow::ItemEditor, [&] {
        return std::make_unique<MenuItemWindow>(setupWizard_->behaviour(), main_->behaviour(), services_, state_);
    });
}

void Program::ShowMediumCheck() {
    ShowOnce(mediumCheck_, ProgramWindow::MediumCheck, [&] {
        return std::make_unique<MediumCheckWindow>(setupWizard_->behaviour(), main_->behaviour(), services_, state_);
    });
}
