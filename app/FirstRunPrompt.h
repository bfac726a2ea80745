#pragma once
// The question a first start asks before it writes anything. Kept in a header of its own, with
// nothing but the standard library, so that the tests that drive the real program compare the
// box they find with this very text.
#include <string>

inline std::string FirstRunPrompt(const std::string& appPath) {
    const char* crlf = "\r\n";
    return std::string("Orvelund will create content and configuration files when started.") + crlf +
           "A content folder will be created to contain your menu configuration." + crlf + crlf +
           "Orvelund should be installed and run from a folder or removable drive." + crlf + crlf +
           "To use Autorun features this must be the root folder (not in a sub folder)," + crlf +
           "on removable drives including CDs, DVDs and USB flash drives or removable hard disks.  "
           "All other features can be used when running the menu from any drive or folder." + crlf + crlf +
           "Ideally this should be the location to be used to run the finished menu." + crlf + crlf +
           "Current Folder: " + appPath + crlf + crlf +
           "Do you want to use the current folder?";
}
