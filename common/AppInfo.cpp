#include "common/AppInfo.h"

std::string AppPathFromExePath(const std::string& exePath) {
    std::string path = exePath;
    if (path.rfind("\\\\?\\UNC\\", 0) == 0)
        path = "\\\\" + path.substr(8);
    else if (path.rfind("\\\\?\\", 0) == 0)
        path = path.substr(4);
    const auto slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return path;
    std::string folder = path.substr(0, slash);
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';  // a drive root keeps its backslash
    return folder;
}

std::string ExeNameFromExePath(const std::string& exePath) {
    const auto slash = exePath.find_last_of("\\/");
    return slash == std::string::npos ? exePath : exePath.substr(slash + 1);
}

std::string ArgumentsOf(const std::string& fullCommandLine) {
    const std::string& s = fullCommandLine;
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    // The program name runs to the next blank outside quotes, as Windows itself parses it.
    bool quoted = false;
    for (; i < s.size(); ++i) {
        if (s[i] == '"') quoted = !quoted;
        else if (!quoted && (s[i] == ' ' || s[i] == '\t')) break;
    }
    const std::size_t first = s.find_first_not_of(' ', i);
    if (first == std::string::npos) return {};
    return s.substr(first);
}
