#include "platform/win32/Program.h"

#include "platform/ChooseFolderDesign.h"
#include "platform/SetupWizardDesign.h"

namespace {

// Until the Menu Editor and the relocation window have their behaviour, they open in their
// design state; the editor already keeps the main window hidden while it is open.
class PlainWindow : public DesignedWindow {
public:
    PlainWindow(const WindowDesign& design, std::function<void()> onClose)
        : DesignedWindow(design), onClose_(std::move(onClose)) {}

protected:
    void OnCloseRequest() override {
        if (onClose_) onClose_();
        Close();
    }

private:
    std::function<void()> onClose_;
};

}  // namespace

Program::Program(AppInfo app)
    : services_{files_, shell_, dialogs_, pictures_, *this, std::move(app)} {}

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
    if (!main_->Closed()) main_->Show();

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        if (root && IsDialogMessageW(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

void Program::ShowOnce(std::unique_ptr<DesignedWindow>& window, const WindowDesign& design) {
    if (window && !window->Closed()) {
        window->Show();
        return;
    }
    const bool editor = &design == &SetupWizardDesign();
    window = std::make_unique<PlainWindow>(design, [this, editor] {
        if (editor && main_ && !main_->Closed()) main_->Show();
    });
    if (!window->Create(pictures_)) return;
    Adopt(*window);
    if (editor && main_) {
        window->SetCaption(main_->Caption() + " - Menu Editor");
        main_->Hide();
    }
    window->Show();
}

void Program::ShowSetupWizard() { ShowOnce(setupWizard_, SetupWizardDesign()); }

void Program::ShowChooseFolder() { ShowOnce(chooseFolder_, ChooseFolderDesign()); }
