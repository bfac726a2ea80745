// autorun.inf, which offers the menu when the medium is inserted. It is read as Windows reads it,
// following Microsoft's "Autorun.inf Entries" and "Creating an AutoRun-enabled Application"
// (learn.microsoft.com, windows/win32/shell/autorun-cmds and autoplay-works):
// - The file is an .ini file of sections. Windows first looks for the section of its own
//   processor ([AutoRun.Amd64] on 64-bit x64 Windows, [AutoRun.x86] on 32-bit Windows) and uses
//   [AutoRun] only when there is none; once it has a section it ignores every other, so each
//   section must be whole on its own.
// - open=[exepath\]exefile [param1 [param2 ...]] is a command line: its first token names the
//   program, a bare name lies at the medium's root, and a name without an extension gets ".exe",
//   as CreateProcess completes it; a long name with blanks belongs in quotes, and without them the
//   blanks are tried in turn as CreateProcess does.
// - shellexecute=[filepath\]filename [params] opens any file (a document too) with its program;
//   shell\verb\command= adds a command line to the drive's menu.
// - icon=iconfilename[,index]: the file, blanks and all, up to the index.
// - Since Windows 7, AutoPlay on a USB stick honours only icon= and label=; only CDs and DVDs start
//   the open= or shellexecute= program ("AutoRun changes in Windows 7").

#include <map>
#include <vector>

#include "app/Orvelund.h"
#include "check/CheckerParts.h"
#include "check/Text.h"
#include "common/CodePages.h"

namespace checker {

namespace {

struct Value {
    std::string text;
    std::size_t line = 0;
};

struct Section {
    std::string name;  // as the file spells it, brackets included: "[AutoRun.Amd64]"
    std::map<std::string, Value> keys;  // by key in small letters; the first of a key counts
};

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The sections by name in small letters, as the profile functions read an .ini file: comments
// begin with ";", keys and values lose the blanks around them, and a value in quotes loses them.
std::map<std::string, Section> ReadSections(const std::vector<std::string>& lines) {
    std::map<std::string, Section> sections;
    Section* current = nullptr;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string l = Trim(lines[n]);
        if (l.empty() || l[0] == ';') continue;
        if (l[0] == '[') {
            const auto close = l.find(']');
            const std::string name = Trim(l.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            current = &sections[AsciiLower(name)];
            if (current->name.empty()) current->name = "[" + name + "]";
            continue;
        }
        const auto eq = l.find('=');
        if (!current || eq == std::string::npos) continue;
        const std::string key = AsciiLower(Trim(l.substr(0, eq)));
        std::string value = Trim(l.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        if (!current->keys.count(key)) current->keys[key] = {value, n + 1};
    }
    return sections;
}

// Programs every Windows has in its own folders, which a command line finds by their bare name.
bool WindowsProgram(const std::string& name) {
    static const char* programs[] = {"notepad", "explorer", "cmd", "write", "mspaint", "rundll32", "msiexec", "hh",
                                     "regedit", "control", "wscript", "cscript", "powershell"};
    std::string stem = AsciiLower(name);
    if (HasExtension(stem, ".exe")) stem.resize(stem.size() - 4);
    for (const char* p : programs)
        if (stem == p) return true;
    return false;
}

// A path in Windows' own folders, which every reader's PC has.
bool InWindowsFolder(const std::string& path) {
    const std::string lower = AsciiLower(path);
    return StartsWith(lower, "%systemroot%") || StartsWith(lower, "%windir%") || StartsWith(lower, "c:\\windows\\");
}

}  // namespace

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
    // Code-page text is read in the code page its icon and program names are found in on the
    // medium, else in the menu file's: the same author most likely wrote both.
    const CodePage asBytes{[](const std::string& ansi) { return ansi; }};
    const DecodedText raw = DecodeText(*bytes, asBytes);
    CodePageChoice codePage = menuCodePage_;
    if (!raw.codePageLines.empty()) {
        CodePageEvidence evidence;
        for (const auto& line : raw.codePageLines) evidence.AddLine(line);
        for (const auto& [name, section] : ReadSections(SplitLines(raw.utf8))) {
            for (const auto& [key, value] : section.keys) {
                std::string path = value.text;
                if (key == "icon" || key == "defaulticon") path = path.substr(0, path.rfind(','));
                else if (key == "open" || key == "shellexecute" || HasExtension(key, "\\command"))
                    path = path.substr(0, path.find(' '));
                else continue;
                evidence.AddName(Trim(path), false);
            }
        }
        const CodePageChoice found = ChooseFor(evidence);
        if (found.basis != CodePageChoice::Basis::Assumed || !menuCodePageFound_) codePage = found;
        else codePage.basis = CodePageChoice::Basis::Menu;
    }
    const CodePage reader = CodePageReader(codePage.number);
    const auto sections = ReadSections(SplitLines(DecodeText(*bytes, reader).utf8));
    if (!raw.codePageLines.empty())
        WarnCodePage(inf->path, codePage, "Readers whose Windows uses another code page see the drive's label "
                     "garbled, and names on the medium with such letters are not found.",
                     "Press \"Update AutoRun\" in the Menu Editor: it writes autorun.inf in Unicode, which every "
                     "Windows reads alike.");

    // Which section each Windows reads: its processor's own, else [AutoRun].
    const struct {
        const char* section;
        const char* windows;
    } readers[] = {{"autorun.x86", "32-bit Windows (x86)"}, {"autorun.amd64", "64-bit Windows (x64)"}};
    std::vector<std::pair<const Section*, std::string>> groups;  // a section and the Windows that read it
    std::string readNothing;
    const Section* plain = sections.count("autorun") ? &sections.at("autorun") : nullptr;
    for (const auto& r : readers) {
        const Section* s = sections.count(r.section) ? &sections.at(r.section) : plain;
        if (!s) {
            readNothing += std::string(readNothing.empty() ? "" : " and ") + r.windows;
            continue;
        }
        bool joined = false;
        for (auto& g : groups)
            if (g.first == s) g.second += std::string(" and ") + r.windows, joined = true;
        if (!joined) groups.push_back({s, r.windows});
    }
    if (groups.empty()) {
        Error("E-AUTORUN-NO-SECTION", inf->path, 0, "", "autorun.inf has no [AutoRun] section, so Windows ignores "
              "it: the medium does not offer the menu.", "Write it again with \"Update AutoRun\" in the Menu Editor.");
        return;
    }
    if (!readNothing.empty())
        Error("E-AUTORUN-NO-SECTION", inf->path, 0, "", readNothing + " finds no section of its own and no "
              "[AutoRun] section, so it ignores autorun.inf: there the medium does not offer the menu.",
              "Write it again with \"Update AutoRun\" in the Menu Editor, which writes the [AutoRun] section "
              "every Windows reads.");

    bool anyProgram = false, programFromPlain = false;
    for (const auto& group : groups) {
        const Section* section = group.first;  // named, not bound: lambdas below use it
        const std::string& windows = group.second;
        // One section for every Windows: the findings need not say which.
        const bool alone = groups.size() == 1 && readNothing.empty();
        const std::string on = alone ? std::string()
                               : "On " + windows + ", which reads " + section->name +
                                     (section == plain ? "" : " and ignores the other sections") + ": ";
        auto say = [&](std::string text) {
            if (!on.empty() && text[0] >= 'A' && text[0] <= 'Z') text[0] = static_cast<char>(text[0] - 'A' + 'a');
            return on + text;
        };
        const auto& keys = section->keys;

        // What a command line starts: the first token, completed and looked for as Windows does.
        // `documents`: a document opens with its program too (shellexecute=).
        auto started = [&](const std::string& command, bool documents, std::string& shown) -> bool {
            std::vector<std::string> candidates;
            if (!command.empty() && command[0] == '"') {
                const auto close = command.find('"', 1);
                candidates.push_back(command.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            } else {
                for (std::size_t blank = command.find(' '); ; blank = command.find(' ', blank + 1)) {
                    candidates.push_back(command.substr(0, blank));
                    if (blank == std::string::npos) break;
                }
            }
            shown = candidates.front();
            for (const std::string& c : candidates) {
                if (IsWebTarget(c) && c.find(':') > 1) return documents;  // a web address: the browser opens it
                if (InWindowsFolder(c) || (c.find('\\') == std::string::npos && WindowsProgram(c))) return true;
                const std::string name = LastName(ResolveTarget(c).path);
                const bool bare = name.find('.') == std::string::npos;
                if (ResolveTarget(c).place == ResolvedPath::Place::Medium) {
                    if (const MediumItem* found = FindFile(ResolveTarget(bare ? c + ".exe" : c).path)) {
                        // The program the menu runs as: the first one [AutoRun] starts.
                        if (autoRunProgram_.empty() || (section == plain && !programFromPlain)) {
                            autoRunProgram_ = found->path;
                            programFromPlain = section == plain;
                        }
                        return true;
                    }
                    if (documents && bare && FindFile(ResolveTarget(c).path)) return true;
                }
                if (&c == &candidates.front() && bare) shown = c + ".exe";
            }
            return false;
        };
        bool program = false;
        for (const auto& [key, value] : keys) {
            const bool command = key == "open" || (StartsWith(key, "shell\\") && HasExtension(key, "\\command"));
            if ((!command && key != "shellexecute") || value.text.empty()) continue;
            program = true;
            std::string shown;
            if (started(value.text, key == "shellexecute", shown)) continue;
            Error("E-AUTORUN-PROGRAM-MISSING", inf->path, value.line, "", say("autorun.inf starts " + Quoted(shown) +
                  ", which is not on the medium: " + (key == "open" || key == "shellexecute"
                                                          ? "inserting the medium starts nothing."
                                                          : "that command of the drive's menu does nothing.")),
                  "Write autorun.inf again with \"Update AutoRun\" in the Menu Editor.");
        }
        anyProgram |= program;
        const bool shows = keys.count("icon") || keys.count("label");
        if (!program && shows)
            // What rescue-stick makers write, often as UTF-16: right for a stick, not for a disc.
            Note("N-AUTORUN-ICON-ONLY", inf->path, 0, "", say("autorun.inf gives the drive its icon and label but "
                 "starts no program. That is all a USB stick honours since Windows 7; on a CD or DVD inserting the "
                 "disc offers nothing either, and the reader opens the disc and starts Orvelund.exe by hand."),
                 "For a disc, write autorun.inf with \"Create AutoRun\" in the Menu Editor, which also names the "
                 "program.");
        else if (!program)
            Error("E-AUTORUN-NO-PROGRAM", inf->path, 0, "", say("autorun.inf names no program (no open= or "
                  "ShellExecute= line): inserting the medium starts nothing."),
                  "Write autorun.inf again with \"Update AutoRun\" in the Menu Editor.");

        for (const char* iconKey : {"icon", "defaulticon"}) {
            const auto it = keys.find(iconKey);
            if (it == keys.end() || it->second.text.empty()) continue;
            // The file up to ",index" (a resource's number, or minus its id); blanks belong to the name.
            std::string icon = it->second.text;
            if (const auto comma = icon.rfind(','); comma != std::string::npos) {
                const std::string index = Trim(icon.substr(comma + 1));
                if (!index.empty() && index.find_first_not_of("-0123456789") == std::string::npos)
                    icon = Trim(icon.erase(comma));
            }
            if (icon.size() >= 2 && icon.front() == '"' && icon.back() == '"') icon = icon.substr(1, icon.size() - 2);
            if (InWindowsFolder(icon) || FindFile(ResolveTarget(icon).path)) continue;
            Warning("W-AUTORUN-ICON-MISSING", inf->path, it->second.line, "", say("The drive icon " + Quoted(icon) +
                    " is not on the medium: Windows shows a plain drive icon."),
                    "Copy the icon onto the medium, or write autorun.inf again with the Menu Editor.");
        }
        if (const auto it = keys.find("label"); it != keys.end()) {
            const std::size_t length = Utf16Length(it->second.text);
            if (length > 32)
                Warning("W-AUTORUN-LABEL-LONG", inf->path, it->second.line, "", say("The label has " +
                        std::to_string(length) + " characters; Windows shows at most 32 of them under the drive."),
                        "Shorten the menu's title and press \"Update AutoRun\" in the Menu Editor.");
            if (result_.menu.read && it->second.text != result_.menu.caption)
                Note("N-AUTORUN-STALE", inf->path, it->second.line, "", say("The label " + Quoted(it->second.text) +
                     " differs from the menu's title " + Quoted(result_.menu.caption) + "."),
                     "Press \"Update AutoRun\" in the Menu Editor after changing the title.");
        }
    }
    if (anyProgram)
        Note("N-AUTORUN-USB", inf->path, 0, "", "CDs and DVDs offer the menu when inserted. Since Windows 7 a USB "
             "stick shows only the icon and label from autorun.inf: there the reader starts Orvelund.exe by hand.", "");
}

}  // namespace checker
