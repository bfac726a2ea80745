#pragma once
// The running program: its services and its windows, made, shown and closed as app/WindowRules
// says.
#include <memory>

#include "app/AppState.h"
#include "app/WindowRules.h"
#include "platform/Services.h"
#include "platform/win32/ChooseFolderWindow.h"
#include "platform/win32/DesignedWindow.h"
#include "platform/win32/MediumCheckWindow.h"
#include "platform/win32/MenuItemWindow.h"
#include "platform/win32/OrvelundWindow.h"
#include "platform/win32/ProgressWindow.h"
#include "platform/win32/SetupWizardWindow.h"
#include "platform/win32/Win32Desktop.h"
#include "platform/win32/Win32FileCopier.h"
#include "platform/win32/Win32FileDialogs.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Pictures.h"

class Program : public ProgramWindows {
public:
    explicit Program(AppInfo app);
    int Run();  // start-up, then the message loop until the last window has gone

    void ShowSetupWizard() override;
    void ShowChooseFolder() override;
    void ShowMenuItem() override;
    void ShowMediumCheck() override;

private:
    // Counts the window among the program's and closes with it the windows the rules say.
    void Adopt(DesignedWindow& window, ProgramWindow which);
    DesignedWindow* WindowFor(ProgramWindow which) const;
    OpenWindows Open() const;
    template <typename Window, typename Make>
    void ShowOnce(std::unique_ptr<Window>& window, ProgramWindow which, Make make);

    Win32FileSystem files_;
    Win32Shell shell_;
    Win32Dialogs dialogs_;
    Win32Pictures pictures_;
    Win32ColorDialog colors_;
    Win32FileDialogs fileDialogs_;
    Win32FileCopier copier_;
    Win32Progress progress_{pictures_};
    Services services_;
    AppState state_;
    WindowCount windows_;
    std::unique_ptr<OrvelundWindow> main_;
    std::unique_ptr<SetupWizardWindow> setupWizard_;
    std::unique_ptr<MenuItemWindow> menuItem_;
    std::unique_ptr<ChooseFolderWindow> chooseFolder_;
    std::unique_ptr<MediumCheckWindow> mediumCheck_;
};
