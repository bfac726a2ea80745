#pragma once
// Everything a behaviour class may use outside its own window, handed over in one piece.
#include "common/AppInfo.h"
#include "platform/ColorDialog.h"
#include "platform/Dialogs.h"
#include "platform/FileCopier.h"
#include "platform/FileDialogs.h"
#include "platform/FileSystem.h"
#include "platform/Picture.h"
#include "platform/ProgramWindows.h"
#include "platform/Progress.h"
#include "platform/Shell.h"

struct Services {
    FileSystem& files;
    Shell& shell;
    Dialogs& dialogs;
    PictureService& pictures;
    ProgramWindows& windows;
    ColorDialog& colors;
    AppInfo app;
    // The editors' file and folder dialogs, and copies onto the medium with their progress. A
    // program that edits no menu (the medium checker) leaves these as they are: they choose and
    // copy nothing.
    FileDialogs& fileDialogs = NoFileDialogs();
    FileCopier& copier = NoFileCopier();
    Progress& progress = NoProgress();
};
