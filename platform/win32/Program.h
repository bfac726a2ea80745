#pragma once
// The running program: its services, its windows and the rule that it ends with its last window.
#include <memory>

#include "app/AppState.h"
#include "platform/Services.h"
#include "platform/win32/ChooseFolderWindow.h"
#include "platform/win32/DesignedWindow.h"
#include "platform/win32/MenuItemWindow.h"
#include "platform/win32/OrvelundWindow.h"
#include "platform/win32/SetupWizardWindow.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Pictures.h"

class Program : public ProgramWindows {
public:
    explicit Program(AppInfo app);
    int Run();  // start-up, then the message loop until the last window has gone

    void ShowSetupWizard() override;
    void ShowChooseFolder() override;
    void ShowMenuItem() override;

private:
    void Adopt(DesignedWindow& window);
    template <typename Window, typename Make>
    void ShowOnce(std::unique_ptr<Window>& window, Make make);

    Win32FileSystem files_;
    Win32Shell shell_;
    Win32Dialogs dialogs_;
    Win32Pictures pictures_;
    Win32ColorDialog colors_;
    Services services_;
    AppState state_;
    int openWindows_ = 0;
    std::unique_ptr<OrvelundWindow> main_;
    std::unique_ptr<SetupWizardWindow> setupWizard_;
    std::unique_ptr<MenuItemWindow> menuItem_;
    std::unique_ptr<ChooseFolderWindow> chooseFolder_;
};
