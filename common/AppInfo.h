#pragma once
// What the program knows about itself: where it runs from, its version and its command line.
#include <string>

#include "platform/Version.h"

struct Version {
    int major = ORVELUND_VERSION_MAJOR;
    int minor = ORVELUND_VERSION_MINOR;
    int revision = ORVELUND_VERSION_REVISION;
};

struct AppInfo {
    std::string appPath;      // the exe's folder, ending in a backslash only at a drive root
    std::string commandLine;  // the arguments after the program's own name
    Version version;
    std::string exeName = "Orvelund.exe";  // the program's own file name: authors rename it
    std::string uiLanguage = "";  // Windows' UI language as a locale name ("de-DE"); empty when unknown

    // The content folder beside the program, or a file in it. At a drive root that is "E:\" +
    // "\content\config.ini", two backslashes in a row, which every Windows function accepts.
    std::string ContentPath(const std::string& name = "") const {
        return name.empty() ? appPath + "\\content" : appPath + "\\content\\" + name;
    }
};

// "E:\Orvelund.exe" -> "E:\", "C:\Menu\Orvelund.exe" -> "C:\Menu". A "\\?\" prefix is dropped.
std::string AppPathFromExePath(const std::string& exePath);

// "C:\Menu\Start.exe" -> "Start.exe".
std::string ExeNameFromExePath(const std::string& exePath);

// The command line as Windows gives it, without the program's name (quoted or not) and the
// blanks that follow it. Blanks at the end belong to the last argument: "-setup " is not "-setup".
std::string ArgumentsOf(const std::string& fullCommandLine);
