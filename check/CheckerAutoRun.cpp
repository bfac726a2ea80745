// autorun.inf, which offers the menu when the medium is inserted.

#include <map>

#include "check/CheckerParts.h"
#include "check/Text.h"

namespace checker {

void Checker::CheckAutoRun() {
    for (const auto& item : index_.Items()) {
        if (item.folder || item.path.find('\\') == std::string::npos) continue;
        if (MediumIndex::Fold(LastName(item.path)) != "autorun.inf") continue;
        Warning("W-AUTORUN-NOT-ROOT", item.path, 0, "", "Windows reads autorun.inf only at the root of a medium; "
                "this one in a sub-folder does nothing.",
                "Put Orvelund.exe at the root of the medium and write autorun.inf there with the Menu Editor.");
    }
    const MediumItem* inf = FindFile("autorun.inf");
    if (!inf) {
        Note("N-AUTORUN-MISSING", "autorun.inf", 0, "", "The medium has no autorun.inf: the reader has to open the "
             "medium and start Orvelund.exe by hand.", "Press \"Create AutoRun\" in the Menu Editor.");
        return;
    }
    const auto bytes = Read(*inf, 1u << 20);
    if (!bytes) {
        Error("E-AUTORUN-UNREADABLE", inf->path, 0, "", "autorun.inf cannot be read, so Windows cannot read it either.",
              "Write it again with \"Update AutoRun\" in the Menu Editor.");
        return;
    }
    const auto lines = SplitLines(DecodeText(*bytes).utf8);
    bool inSection = false, sawSection = false;
    std::map<std::string, std::pair<std::string, std::size_t>> values;  // key -> value, line
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::string l = lines[n];
        l.erase(0, l.find_first_not_of(" \t"));
        if (l.empty() || l[0] == ';') continue;
        if (l[0] == '[') {
            inSection = AsciiLower(l).rfind("[autorun]", 0) == 0;
            sawSection |= inSection;
            continue;
        }
        const auto eq = l.find('=');
        if (!inSection || eq == std::string::npos) continue;
        std::string key = AsciiLower(l.substr(0, eq));
        key.erase(key.find_last_not_of(" \t") + 1);
        std::string value = l.substr(eq + 1);
        value.erase(0, value.find_first_not_of(" \t"));
        if (!values.count(key)) values[key] = {value, n + 1};
    }
    if (!sawSection) {
        Error("E-AUTORUN-NO-SECTION", inf->path, 0, "", "autorun.inf has no [AutoRun] section, so Windows ignores "
              "it: the medium does not offer the menu.", "Write it again with \"Update AutoRun\" in the Menu Editor.");
        return;
    }
    // A file named at the root; quotes and arguments after the name are not part of it.
    auto fileOf = [](std::string value) {
        if (!value.empty() && value[0] == '"') {
            const auto close = value.find('"', 1);
            return value.substr(1, close == std::string::npos ? std::string::npos : close - 1);
        }
        const auto exe = AsciiLower(value).find(".exe");
        return exe == std::string::npos ? value.substr(0, value.find(' ')) : value.substr(0, exe + 4);
    };
    bool anyProgram = false;
    for (const char* key : {"open", "shellexecute", "shell\\run\\command"}) {
        const auto it = values.find(key);
        if (it == values.end()) continue;
        anyProgram = true;
        const std::string program = fileOf(it->second.first);
        const MediumItem* found = FindFile(ResolveTarget(program).path);
        if (found && autoRunProgram_.empty()) autoRunProgram_ = found->path;
        if (!found)
            Error("E-AUTORUN-PROGRAM-MISSING", inf->path, it->second.second, "", "autorun.inf starts " +
                  Quoted(program) + ", which is not at the medium's root: inserting the medium starts nothing.",
                  "Write autorun.inf again with \"Update AutoRun\" in the Menu Editor.");
    }
    if (!anyProgram)
        Error("E-AUTORUN-NO-PROGRAM", inf->path, 0, "", "autorun.inf names no program (no open= or ShellExecute= "
              "line): inserting the medium starts nothing.",
              "Write autorun.inf again with \"Update AutoRun\" in the Menu Editor.");
    if (const auto it = values.find("icon"); it != values.end()) {
        std::string icon = it->second.first;
        if (const auto comma = icon.rfind(','); comma != std::string::npos) icon.erase(comma);
        if (!FindFile(ResolveTarget(fileOf(icon)).path))
            Warning("W-AUTORUN-ICON-MISSING", inf->path, it->second.second, "", "The drive icon " + Quoted(icon) +
                    " is not on the medium: Windows shows a plain drive icon.",
                    "Copy the icon onto the medium, or write autorun.inf again with the Menu Editor.");
    }
    if (const auto it = values.find("label"); it != values.end()) {
        const std::size_t length = Utf16Length(it->second.first);
        if (length > 32)
            Warning("W-AUTORUN-LABEL-LONG", inf->path, it->second.second, "", "The label has " +
                    std::to_string(length) + " characters; Windows shows at most 32 of them under the drive.",
                    "Shorten the menu's title and press \"Update AutoRun\" in the Menu Editor.");
        if (result_.menu.read && it->second.first != result_.menu.caption)
            Note("N-AUTORUN-STALE", inf->path, it->second.second, "", "The label " + Quoted(it->second.first) +
                 " differs from the menu's title " + Quoted(result_.menu.caption) + ".",
                 "Press \"Update AutoRun\" in the Menu Editor after changing the title.");
    }
    Note("N-AUTORUN-USB", inf->path, 0, "", "CDs and DVDs offer the menu when inserted. Since Windows 7 a USB stick "
         "shows only the icon and label from autorun.inf: there the reader starts Orvelund.exe by hand.", "");
}

}  // namespace checker
