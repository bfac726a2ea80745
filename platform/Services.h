#pragma once
// Everything a behaviour class may use outside its own window, handed over in one piece.
#include "common/AppInfo.h"
#include "platform/ColorDialog.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Picture.h"
#include "platform/ProgramWindows.h"
#include "platform/Shell.h"

struct Services {
    FileSystem& files;
    Shell& shell;
    Dialogs& dialogs;
    PictureService& pictures;
    ProgramWindows& windows;
    ColorDialog& colors;
    AppInfo app;
};
