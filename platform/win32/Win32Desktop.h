#pragma once
// The shell and message boxes, the two ways the program reaches the desktop.
#include "platform/ColorDialog.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"

class Win32Shell : public Shell {
public:
    bool Execute(std::intptr_t owner, const std::string& verb, const std::string& file) override;
    bool Start(std::intptr_t owner, const std::string& program, const std::string& parameters) override;
};

class Win32Dialogs : public Dialogs {
public:
    int MsgBox(const std::string& prompt, int buttons, const std::string& title) override;
};

class Win32ColorDialog : public ColorDialog {
public:
    bool Pick(std::array<std::int32_t, 16>& customColors, std::int32_t& chosen) override;
};
