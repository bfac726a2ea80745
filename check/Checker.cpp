#include "check/Checker.h"

#include <algorithm>
#include <map>
#include <set>

#include "app/Orvelund.h"
#include "check/MediumIndex.h"
#include "check/MenuWalk.h"
#include "check/Text.h"
#include "common/TextLines.h"
#include "picture/PictureHeader.h"
#include "platform/Design.h"

namespace {

constexpr const char* kMenuFile = "content\\config.ini";
constexpr std::size_t kMaxMenuBytes = 64u << 20;     // far beyond any menu; a bigger file is not a menu
constexpr std::size_t kPictureHead = 64u << 10;      // enough for every header but a JPEG's after a long preview
constexpr std::size_t kMaxPictureBytes = 64u << 20;
constexpr std::size_t kClassicEntryLimit = 32766;    // the Menu Editor has always counted in 16 bits
constexpr int kButtonWidth = 137, kButtonHeight = 33, kMainWidth = 624, kMainHeight = 213;
// The main window's design colours, which stay when the menu file does not set others.
constexpr std::int32_t kDesignButtonColor = Rgb(192, 192, 255);
constexpr std::int32_t kDesignLabelColor = Rgb(255, 255, 255);
constexpr std::int32_t kDesignLabelText = Rgb(0, 0, 64);

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string LastName(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string AsciiLower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// "1.5 MiB", or KiB below one MiB.
std::string Megabytes(std::uint64_t bytes) {
    const bool small = bytes < (1u << 20);
    const std::uint64_t unit = small ? 1024 : 1u << 20;
    const std::uint64_t tenths = (bytes * 10 + unit / 2) / unit;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + (small ? " KiB" : " MiB");
}

std::string Count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

class Checker {
public:
    explicit Checker(Medium& medium) : medium_(medium), index_(medium.List()) {}
    CheckResult Run();

private:
    void Add(Severity s, const std::string& code, const std::string& file, std::size_t line, const std::string& entry,
             const std::string& what, const std::string& fix) {
        result_.report.findings.push_back({s, code, file, line, entry, what, fix});
    }
    void Error(const std::string& code, const std::string& file, std::size_t line, const std::string& entry,
               const std::string& what, const std::string& fix) {
        Add(Severity::Error, code, file, line, entry, what, fix);
    }
    void Warning(const std::string& code, const std::string& file, std::size_t line, const std::string& entry,
                 const std::string& what, const std::string& fix) {
        Add(Severity::Warning, code, file, line, entry, what, fix);
    }
    void Note(const std::string& code, const std::string& file, std::size_t line, const std::string& entry,
              const std::string& what, const std::string& fix) {
        Add(Severity::Note, code, file, line, entry, what, fix);
    }

    // The last finding is an error in what the entry opens: its button does nothing for the reader.
    void Broken(CheckedEntry& e) {
        e.error = true;
        if (e.problem.empty()) e.problem = result_.report.findings.back().what;
    }

    void CheckMenuFile();
    void CheckSettings();
    void CheckEntries();
    void CheckPaging();
    void CheckTarget(CheckedEntry& e);
    void CheckPictures();
    std::optional<PictureInfo> ReadPicture(const MediumItem& item);
    void CheckAutoRun();
    void CheckNames();
    void CheckProgram();

    std::string Line(std::size_t zeroBased) const {
        return zeroBased < lines_.size() ? lines_[zeroBased] : std::string();
    }

    Medium& medium_;
    MediumIndex index_;
    std::string autoRunProgram_;  // the root program autorun.inf starts, when it is there
    CheckResult result_;
    std::vector<std::string> lines_;  // the menu file as the program reads it
};

CheckResult Checker::Run() {
    for (const auto& item : index_.Items()) {
        if (item.folder) continue;
        ++result_.report.files;
        result_.report.bytes += item.size;
    }
    CheckMenuFile();
    if (result_.menu.read) {
        CheckSettings();
        CheckEntries();
        CheckPaging();
    }
    CheckPictures();
    CheckAutoRun();
    CheckNames();
    CheckProgram();
    return std::move(result_);
}

// ---- the menu file ------------------------------------------------------------------------------

void Checker::CheckMenuFile() {
    CheckedMenu& menu = result_.menu;
    menu.caption = "Talvenor";
    menu.buttonColor = kDesignButtonColor;
    menu.backColor = kWindowBackground;
    menu.labelBackColor = kDesignLabelColor;
    menu.labelTextColor = kDesignLabelText;

    const MediumItem* item = index_.Find(kMenuFile);
    if (!item || item->folder) {
        Error("E-MENU-MISSING", kMenuFile, 0, "", "The medium has no menu file. On the reader's PC Orvelund asks "
              "whether to set up a new menu in this folder, and on a disc it cannot even do that.",
              "Copy the whole folder the menu was made in, with its content folder, onto the medium.");
        return;
    }
    const auto bytes = item->readable ? medium_.Read(item->path, kMaxMenuBytes) : std::nullopt;
    if (!bytes) {
        Error("E-MENU-UNREADABLE", item->path, 0, "", "The menu file cannot be read, so the reader sees an empty "
              "window with the design-time buttons.",
              "Check the file's permissions, or save the menu again in the Menu Editor.");
        return;
    }
    menu.read = true;
    if (bytes->size() >= kMaxMenuBytes && item->size > kMaxMenuBytes)
        Warning("W-MENU-HUGE", item->path, 0, "", "The menu file holds " + Megabytes(item->size) +
                ": far more than any menu needs. Only its first " + Megabytes(kMaxMenuBytes) + " were checked.",
                "Check that the right file is in the content folder.");

    const DecodedText text = DecodeText(*bytes);
    lines_ = SplitLines(text.utf8);
    switch (text.encoding) {
    case TextEncoding::Ansi:
        Note("N-MENU-ENCODING", item->path, 0, "", std::string("The menu file has no byte-order mark") +
             (text.utf8WithoutMark ? ": its lines in UTF-8 are read as UTF-8, on every PC alike"
                                   : "") +
             (text.nonAscii && !text.utf8WithoutMark
                  ? "; it is ANSI text, read here as Western (Windows-1252): on a PC set to another code page "
                    "the letters outside ASCII show differently."
                  : text.nonAscii ? "." : ", plain ASCII: every PC reads it alike."),
             "");
        break;
    case TextEncoding::Utf8:
        Note("N-MENU-ENCODING", item->path, 0, "", "The menu file is UTF-8 with a byte-order mark; Orvelund reads "
             "it the same on every PC.", "");
        break;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        Note("N-MENU-ENCODING", item->path, 0, "", std::string("The menu file is UTF-16 ") +
             (text.encoding == TextEncoding::Utf16LE ? "little" : "big") + "-endian with a byte-order mark; "
             "Orvelund reads it, and the Menu Editor saves it back as ANSI or UTF-8.", "");
        break;
    }
    if (text.controlBytes)
        Warning("W-MENU-BINARY", item->path, 0, "", "The menu file holds NUL or other control bytes: it does not "
                "look like the text file the Menu Editor writes, and its lines show as odd buttons or not at all.",
                "Check that the right file is named config.ini; save the menu again in the Menu Editor.");
    if (lines_.size() <= menufile::kLineFirstEntry && item->size > 0 && !text.controlBytes &&
        lines_.size() < menufile::kLineHideSetup + 1)
        Warning("W-MENU-SHORT", item->path, 0, "", "The menu file has only " + Count(lines_.size(), "line", "lines") +
                ": the settings and the entries are read by their line number, and lines 3 to 6 are missing.",
                "Save the menu in the Menu Editor, which writes all eight header lines.");
}

void Checker::CheckSettings() {
    using namespace menufile;
    CheckedMenu& menu = result_.menu;
    const std::string file = kMenuFile;

    // The program takes every setting by its line number, never by its key: a line too many or too
    // few above moves every setting and entry.
    const struct {
        std::size_t line;
        const char* key;
    } keys[] = {{kLineTitle, "TITLE:"}, {kLineButtonColor, "BTCOLOR:"}, {kLineBackColor, "BGCOLOR:"},
                {kLineHideSetup, "HIDESETUP:"}};
    for (const auto& k : keys) {
        const std::string l = Line(k.line);
        if (l.empty() || StartsWith(AsciiLower(l), AsciiLower(k.key).c_str())) continue;
        Warning("W-MENU-SHIFTED", file, k.line + 1, "", "Line " + std::to_string(k.line + 1) + " should begin with " +
                k.key + " but reads " + Quoted(l) + ". Orvelund reads the settings and entries by their line "
                "number, so a header line added or removed above moves all of them.",
                "Make lines 1 to 8 the eight header lines the Menu Editor writes (save the menu in it once).");
        break;
    }

    const std::string title = Line(kLineTitle);
    const auto titleValue = SettingValue(title);
    if (title.empty() || !titleValue) {
        Warning("W-TITLE-MISSING", file, kLineTitle + 1, "", "The menu has no title line, so the window's caption "
                "reads \"Talvenor\".", "Enter a title in the Menu Editor.");
    } else {
        menu.caption = *titleValue;
        if (titleValue->empty())
            Warning("W-TITLE-EMPTY", file, kLineTitle + 1, "", "The title is empty: the window has no caption and "
                    "AutoRun shows no label.", "Enter a title in the Menu Editor.");
        const auto colon = title.find(':');
        if (title.find(':', colon + 1) != std::string::npos)
            Warning("W-TITLE-COLON", file, kLineTitle + 1, "", "The title is cut at its second colon: the caption "
                    "reads " + Quoted(*titleValue) + ", and the text after it is lost.",
                    "Use a dash instead of the colon in the title.");
    }

    auto checkColor = [&](std::size_t line, const char* what, const std::string& keeps, std::int32_t& applied) {
        const std::string l = Line(line);
        if (l.empty()) return;
        const auto value = SettingValue(l);
        const auto color = ToInt32(value ? *value : std::string());
        if (!color || (line == kLineBackColor && !value)) {
            Warning("W-COLOR-INVALID", file, line + 1, "", std::string("The ") + what + " " +
                    Quoted(value ? *value : l) + " is not a colour value, so " + keeps + ".",
                    "Pick the colour again in the Menu Editor.");
            return;
        }
        if (line == kLineButtonColor && !value) {
            applied = 0;
            Warning("W-COLOR-INVALID", file, line + 1, "", "The button colour line has no colon, so the buttons "
                    "are black.", "Pick the button colour again in the Menu Editor.");
            return;
        }
        applied = *color;
        const auto bits = static_cast<std::uint32_t>(*color);
        if (bits > 0xFFFFFF && !((bits & 0xFFFFFF00u) == 0x80000000u && (bits & 0xFF) <= 30))
            Warning("W-COLOR-INVALID", file, line + 1, "", std::string("The ") + what + " " + std::to_string(*color) +
                    " is neither a plain colour (0 to 16777215) nor one of Windows' system colours, so what the "
                    "reader sees depends on the PC.", "Pick the colour again in the Menu Editor.");
    };
    std::int32_t buttons = menu.buttonColor, ground = menu.labelBackColor;
    checkColor(kLineButtonColor, "button colour", "the buttons keep their light blue", buttons);
    checkColor(kLineBackColor, "background colour", "the window keeps its default colours", ground);
    menu.buttonColor = buttons;
    if (ground != menu.labelBackColor) menu.backColor = menu.labelBackColor = ground;

    const std::string hide = Line(kLineHideSetup);
    if (hide != "HIDESETUP:0" && hide != kHideSetupLine)
        Warning("W-HIDESETUP-VALUE", file, kLineHideSetup + 1, "", "Line 6 reads " + Quoted(hide) + ". The menu "
                "window hides its Menu Editor command only when the line is exactly \"HIDESETUP:1\", while the Menu "
                "Editor ticks its box for any number 1, so the two may disagree.",
                "Set \"Hide Setup Menu Option\" in the Menu Editor and save, which writes HIDESETUP:0 or HIDESETUP:1.");
    else if (hide == "HIDESETUP:0")
        Note("N-HIDESETUP-OFF", file, kLineHideSetup + 1, "", "A right click on the picture offers readers the "
             "Menu Editor. On a disc they cannot save changes, but on a stick they can.",
             "Tick \"Hide Setup Menu Option\" in the Menu Editor before burning, if readers should not see it.");
}

void Checker::CheckEntries() {
    CheckedMenu& menu = result_.menu;
    for (std::size_t n = menufile::kLineFirstEntry; n < lines_.size(); ++n) {
        if (lines_[n].empty()) continue;
        CheckedEntry e;
        e.line = n + 1;
        e.entry = menufile::EntryFromLine(lines_[n]);
        e.fields = menufile::SplitFields(lines_[n]).size();
        menu.entries.push_back(std::move(e));
    }
    result_.report.entries = menu.entries.size();

    if (menu.entries.empty() || Line(menufile::kLineFirstEntry).empty()) {
        Error("E-MENU-NO-ENTRIES", kMenuFile, menufile::kLineFirstEntry + 1, "",
              menu.entries.empty() ? "The menu has no entries: the window shows ten buttons that read \"Button\" "
                                     "and open nothing."
                                   : "Line 9, the first entry, is empty: the window shows ten buttons that read "
                                     "\"Button\" and open nothing.",
              menu.entries.empty() ? "Add entries in the Menu Editor." : "Delete the empty line before the entries.");
    }
    if (menu.entries.size() > kClassicEntryLimit)
        Warning("W-MENU-TOO-MANY", kMenuFile, 0, "", "The menu has " + std::to_string(menu.entries.size()) +
                " entries. The Menu Editor and the menu window count entries in 16-bit numbers: menus of more than "
                "32,766 entries are beyond what they were made for.",
                "Split the menu: put some entries into a folder that an \"explore\" entry opens.");

    for (CheckedEntry& e : menu.entries) {
        const std::string name = e.entry.Button;
        if (e.fields < 4) {
            Error("E-ENTRY-SHORT", kMenuFile, e.line, name, "The entry has " + Count(e.fields, "field", "fields") +
                  " instead of four (Button,Label,File/Folder,Action): a click on its button does nothing" +
                  (e.fields < 2 ? ", and the label beside it keeps the text of an earlier entry." : "."),
                  "Fill in every field of the entry in the Menu Editor.");
            Broken(e);
        } else if (e.fields > 4) {
            Warning("W-ENTRY-EXTRA-FIELDS", kMenuFile, e.line, name, "The line has " +
                    std::to_string(e.fields) + " comma-separated fields; only the first four count. A comma typed "
                    "into a label or path splits it, and the rest moves into the next field.",
                    "Remove the commas from the entry's fields.");
        }
        if (name.empty())
            Warning("W-ENTRY-NO-NAME", kMenuFile, e.line, name, "The entry's button has no name: it shows an empty "
                    "button unless content\\.jpg exists.", "Give the entry a button name in the Menu Editor.");
        else if (StartsWith(name, "##"))
            Warning("W-ENTRY-COMMENT", kMenuFile, e.line, name, "From line 9 on, every line is an entry, also one "
                    "that begins with \"##\": the menu shows a button named " + Quoted(name) + ".",
                    "Delete the line if it was meant as a comment.");
        if (e.fields < 4) continue;

        const std::string& action = e.entry.Action;
        const std::string verb = AsciiLower(action);
        const bool knownVerb = verb == "open" || verb == "edit" || verb == "print" || verb == "explore";
        if (action.empty()) {
            Warning("W-ACTION-EMPTY", kMenuFile, e.line, name, "The entry has no action: the shell then uses the "
                    "file's default action, which may not be what you meant.",
                    "Choose open, edit, print or explore in the Menu Editor.");
        } else if (!knownVerb) {
            std::string trimmed = action;
            trimmed.erase(0, trimmed.find_first_not_of(' '));
            trimmed.erase(trimmed.find_last_not_of(' ') + 1);
            const std::string t = AsciiLower(trimmed);
            if (t == "open" || t == "edit" || t == "print" || t == "explore") {
                Error("E-ACTION-BLANK", kMenuFile, e.line, name, "The action " + Quoted(action) + " has blanks "
                      "around it, which the program passes on to the shell: no program offers that action, so the "
                      "button opens nothing.", "Remove the blanks around the commas in the entry.");
                Broken(e);
            } else {
                Warning("W-ACTION-UNKNOWN", kMenuFile, e.line, name, "The action " + Quoted(action) + " is none of "
                        "open, edit, print or explore: it works only where the program that handles the file "
                        "offers it.", "Use open, edit, print or explore.");
            }
        }
        CheckTarget(e);
    }
}

void Checker::CheckTarget(CheckedEntry& e) {
    const std::string& target = e.entry.FileFolder;
    const std::string& name = e.entry.Button;
    // The program's own rule: a URL scheme or "www" goes to the shell as it stands.
    if (IsWebTarget(target)) {
        e.target = CheckedEntry::Target::Web;
        e.link = target;
        return;
    }
    if (target.empty()) {
        Error("E-TARGET-EMPTY", kMenuFile, e.line, name, "The entry opens nothing: its File/Folder is empty.",
              "Choose a file, folder or web address for the entry in the Menu Editor.");
        Broken(e);
        return;
    }
    // Meant as a web address, but with a blank before it or "WWW" in capitals the program takes it for a file.
    std::string trimmed = target;
    trimmed.erase(0, trimmed.find_first_not_of(' '));
    if (IsWebTarget(trimmed) || StartsWith(AsciiLower(trimmed), "www")) {
        Error("E-TARGET-NOT-WEB", kMenuFile, e.line, name, "The program takes " + Quoted(target) + " for a file on "
              "the medium, not a web address: it recognises addresses that begin with a scheme such as "
              "\"https:\" or with \"www\" in small letters, with no blank before. The button opens nothing.",
              "Write the address without a blank before it, beginning with \"https://\" or \"www\" in small letters.");
        Broken(e);
        return;
    }

    const ResolvedPath where = ResolveTarget(target);
    if (where.place == ResolvedPath::Place::Absolute) {
        Error("E-TARGET-ABSOLUTE", kMenuFile, e.line, name, Quoted(target) + " is a path on the author's PC (a "
              "drive letter or a network share), which the reader's PC does not have.",
              "Copy the file onto the medium and give its path relative to Orvelund.exe, e.g. content\\file.pdf.");
        Broken(e);
        return;
    }
    if (where.place == ResolvedPath::Place::Outside) {
        Error("E-TARGET-OUTSIDE", kMenuFile, e.line, name, Quoted(target) + " climbs above the folder of "
              "Orvelund.exe with \"..\": on a disc or stick, where Orvelund.exe sits at the root, there is nothing "
              "above it.", "Copy the file onto the medium and give its path relative to Orvelund.exe.");
        Broken(e);
        return;
    }
    if (where.path.empty()) {
        e.target = CheckedEntry::Target::Folder;
        e.link.clear();
    } else if (const MediumItem* item = index_.Find(where.path)) {
        e.target = item->folder ? CheckedEntry::Target::Folder : CheckedEntry::Target::File;
        e.link = item->path;
        if (item->path != where.path)
            Note("N-TARGET-CASE", kMenuFile, e.line, name, "The entry names " + Quoted(where.path) + ", the medium "
                 "holds " + Quoted(item->path) + ". Windows does not mind the difference in case; other systems do.",
                 "Write the name in the entry as the medium spells it.");
    } else {
        e.error = true;
        const MediumItem* trimmedItem = trimmed != target ? index_.Find(ResolveTarget(trimmed).path) : nullptr;
        Error("E-TARGET-MISSING", kMenuFile, e.line, name, Quoted(target) + " is not on the medium (looked for "
              "from the folder of Orvelund.exe): the button opens nothing, or the shell shows an error.",
              trimmedItem ? "Remove the blank after the comma: " + Quoted(trimmedItem->path) + " exists."
                          : "Copy the file or folder onto the medium, or correct the entry's File/Folder.");
        Broken(e);
        return;
    }
    if (where.fromDriveRoot)
        Note("N-TARGET-DRIVE-ROOT", kMenuFile, e.line, name, Quoted(target) + " begins with a backslash, which "
             "means the root of the drive: it is found only while Orvelund.exe sits at the medium's root.",
             "Leave out the leading backslash.");

    const std::string verb = AsciiLower(e.entry.Action);
    if (verb == "explore" && e.target == CheckedEntry::Target::File)
        Warning("W-ACTION-EXPLORE-FILE", kMenuFile, e.line, name, "\"explore\" opens folders; for the file " +
                Quoted(target) + " the shell offers no such action and the button opens nothing.",
                "Use \"open\" for a file, or point the entry at its folder.");
    else if ((verb == "print" || verb == "edit") && e.target == CheckedEntry::Target::Folder)
        Warning("W-ACTION-FOLDER", kMenuFile, e.line, name, "A folder cannot be " +
                std::string(verb == "print" ? "printed" : "edited") + ": the button opens nothing.",
                "Use \"open\" or \"explore\" for a folder.");
}

void Checker::CheckPaging() {
    const MenuWalk walk = WalkMenu(lines_);
    const std::size_t first = menufile::kLineFirstEntry;
    std::map<std::size_t, CheckedEntry*> byLine;
    for (auto& e : result_.menu.entries) byLine[e.line] = &e;
    for (std::size_t i = 0; i < walk.shown.size(); ++i) {
        if (!walk.shown[i]) continue;
        const auto it = byLine.find(first + i + 1);
        if (it != byLine.end()) it->second->shown = true;
    }

    // Runs of entries that no view shows, one finding each; what stops the reader before them.
    const std::size_t scrollLimit = 32767;
    for (std::size_t i = 0; i < walk.shown.size();) {
        if (walk.shown[i] || lines_[first + i].empty()) {
            ++i;
            continue;
        }
        std::size_t j = i, count = 0;
        while (j < walk.shown.size() && !walk.shown[j]) count += !lines_[first + j++].empty();
        std::size_t last = j;
        while (last > i && lines_[first + last - 1].empty()) --last;
        std::size_t gap = i;
        while (gap > 0 && !lines_[first + gap - 1].empty()) --gap;
        const bool beyondScroll = i >= static_cast<std::size_t>(walk.deepestOffset) + 10 &&
                                  walk.deepestOffset >= static_cast<int>(scrollLimit);
        const std::string range = last - i == 1 ? "The entry on line " + std::to_string(first + i + 1) + " is"
                                                : "The " + std::to_string(count) + " entries on lines " +
                                                      std::to_string(first + i + 1) + " to " +
                                                      std::to_string(first + last) + " are";
        std::string why = beyondScroll ? " never shown: the menu window scrolls at most 32,767 entries down."
                                       : " never shown: the window ends its view at the empty line " +
                                             std::to_string(first + gap) +
                                             ", and Next is not offered far enough to bring " +
                                             (last - i == 1 ? "it" : "them") + " into view.";
        for (std::size_t k = i; k < j; ++k)
            if (auto it = byLine.find(first + k + 1); it != byLine.end()) it->second->error = true;
        const auto at = byLine.find(first + i + 1);
        Error("E-ENTRY-NEVER-SHOWN", kMenuFile, first + i + 1, at != byLine.end() ? at->second->entry.Button : "",
              range + why,
              beyondScroll ? "Split the menu: put some entries into a folder that an \"explore\" entry opens."
                           : "Delete the empty line (saving in the Menu Editor removes every empty line).");
        i = j;
    }

    // Empty lines that the reader has to page past to reach the entries after them.
    for (std::size_t i = 0; i < walk.shown.size(); ++i) {
        if (!lines_[first + i].empty()) continue;
        std::size_t next = i;
        while (next < walk.shown.size() && lines_[first + next].empty()) ++next;
        if (next == walk.shown.size()) break;
        if (walk.shown[next] && i > 0) {
            const bool stale = std::any_of(walk.staleViews.begin(), walk.staleViews.end(), [&](int offset) {
                return static_cast<std::size_t>(offset) >= i && static_cast<std::size_t>(offset) < next;
            });
            Warning("W-MENU-GAP", kMenuFile, first + i + 1, "", "Line " + std::to_string(first + i + 1) +
                    " is empty. The window ends its view at an empty line, so the entries after it (from line " +
                    std::to_string(first + next + 1) + ") appear only once the reader has pressed Next until the gap "
                    "has scrolled past" +
                    (stale ? "; while the empty line is at the top, the window keeps showing the buttons of the "
                             "view before, and they open other entries than they show."
                           : "."),
                    "Delete the empty line (saving in the Menu Editor removes every empty line).");
        }
        i = next;
    }
}

// ---- pictures -----------------------------------------------------------------------------------

std::optional<PictureInfo> Checker::ReadPicture(const MediumItem& item) {
    if (!item.readable) return std::nullopt;
    auto bytes = medium_.Read(item.path, kPictureHead);
    if (!bytes) return std::nullopt;
    auto info = ReadPictureHeader(reinterpret_cast<const unsigned char*>(bytes->data()), bytes->size(), item.size);
    if (!info.complete && item.size <= kMaxPictureBytes) {
        bytes = medium_.Read(item.path, kMaxPictureBytes);
        if (!bytes) return std::nullopt;
        info = ReadPictureHeader(reinterpret_cast<const unsigned char*>(bytes->data()), bytes->size(), item.size);
    }
    return info;
}

void Checker::CheckPictures() {
    CheckedMenu& menu = result_.menu;
    auto describe = [](const PictureInfo& p) {
        return std::string(PictureKindName(p.kind)) + " of " + std::to_string(p.width) + " x " +
               std::to_string(p.height) + " pixels";
    };

    if (const MediumItem* main = index_.Find("content\\app.jpg"); main && !main->folder) {
        const auto info = ReadPicture(*main);
        if (!info || !info->Sound()) {
            Warning("W-MAIN-PICTURE-BROKEN", main->path, 0, "", "The main picture cannot be shown (" +
                    (info ? info->problem : std::string("it cannot be read")) + "): the reader sees the built-in "
                    "banner instead.", "Save the picture again as JPEG, BMP, GIF or PNG of 624 x 213 pixels.");
        } else {
            menu.mainPicture = main->path;
            if (info->width > static_cast<std::uint32_t>(kMainWidth) ||
                info->height > static_cast<std::uint32_t>(kMainHeight))
                Warning("W-PICTURE-CLIPPED", main->path, 0, "", "The main picture is a " + describe(*info) +
                        "; the window shows 624 x 213 from its top left corner, and the rest is cut off.",
                        "Scale or crop the picture to 624 x 213 pixels.");
            else if (info->width < static_cast<std::uint32_t>(kMainWidth) ||
                     info->height < static_cast<std::uint32_t>(kMainHeight))
                Note("N-PICTURE-SMALL", main->path, 0, "", "The main picture is a " + describe(*info) + "; the "
                     "window's background shows to its right and below it in the 624 x 213 frame.",
                     "Make the picture 624 x 213 pixels.");
        }
    } else if (menu.read) {
        Warning("W-MAIN-PICTURE-MISSING", "content\\app.jpg", 0, "", "The medium has no main picture: on a disc the "
                "reader sees the built-in banner, and on a stick Orvelund writes it onto the stick at the first "
                "start.", "Copy content\\app.jpg onto the medium (start the menu once to have it written).");
    }

    // Each button picture once, however many entries share it.
    std::set<std::string> used{"app.jpg"};
    std::map<std::string, std::optional<PictureInfo>> seen;
    for (CheckedEntry& e : menu.entries) {
        const std::string path = "content\\" + e.entry.Button + ".jpg";
        const MediumItem* item = index_.Find(path);
        if (!item || item->folder) continue;
        used.insert(MediumIndex::Fold(LastName(item->path)));
        const bool first = !seen.count(item->path);
        if (first) seen[item->path] = ReadPicture(*item);
        const auto& info = seen[item->path];
        if (info && info->Sound()) {
            e.picture = item->path;
            if (!first) continue;
            if (info->width > static_cast<std::uint32_t>(kButtonWidth) ||
                info->height > static_cast<std::uint32_t>(kButtonHeight))
                Warning("W-PICTURE-CLIPPED", item->path, e.line, e.entry.Button, "The button picture is a " +
                        describe(*info) + "; the button shows 137 x 33 from its top left corner, and the rest is "
                        "cut off.", "Scale or crop the picture to 137 x 33 pixels.");
            else if (info->width < static_cast<std::uint32_t>(kButtonWidth) ||
                     info->height < static_cast<std::uint32_t>(kButtonHeight))
                Note("N-PICTURE-SMALL", item->path, e.line, e.entry.Button, "The button picture is a " +
                     describe(*info) + "; the button's colour shows to its right and below it.",
                     "Make the picture 137 x 33 pixels.");
            continue;
        }
        e.error = true;
        if (first)
            Error("E-PICTURE-BROKEN", item->path, e.line, e.entry.Button, "The button picture cannot be shown (" +
                  (info ? info->problem : std::string("it cannot be read")) + "): the button shows no name and no "
                  "picture of its own, only whatever it showed before.",
                  "Save the picture again as JPEG, BMP, GIF or PNG of 137 x 33 pixels, or delete it so that the "
                  "button shows its name.");
    }
    for (const auto& item : index_.Items()) {
        if (item.folder || MediumIndex::Fold(item.path).rfind("content\\", 0) != 0) continue;
        const std::string name = item.path.substr(8);
        if (name.find('\\') != std::string::npos) continue;
        const std::string folded = MediumIndex::Fold(name);
        if (folded.size() > 4 && folded.compare(folded.size() - 4, 4, ".jpg") == 0 && !used.count(folded))
            Note("N-PICTURE-UNUSED", item.path, 0, "", "No entry's button is named " +
                 Quoted(name.substr(0, name.size() - 4)) + ", so no button shows this picture.",
                 "Rename the picture after its button, or delete it.");
    }

    if (const MediumItem* icon = index_.Find("content\\app.ico"); icon && !icon->folder) {
        const auto info = ReadPicture(*icon);
        if (!info || !info->Sound() || info->kind != PictureKind::Ico)
            Warning("W-ICON-BROKEN", icon->path, 0, "", "The drive and window icon is not a sound icon file (" +
                    (!info ? std::string("it cannot be read")
                           : !info->problem.empty() ? info->problem
                                                    : std::string("it holds a ") + PictureKindName(info->kind)) +
                    "): Windows shows a plain icon instead.", "Save the icon as a .ico file.");
    }
}

// ---- autorun.inf --------------------------------------------------------------------------------

void Checker::CheckAutoRun() {
    for (const auto& item : index_.Items()) {
        if (item.folder || item.path.find('\\') == std::string::npos) continue;
        if (MediumIndex::Fold(LastName(item.path)) != "autorun.inf") continue;
        Warning("W-AUTORUN-NOT-ROOT", item.path, 0, "", "Windows reads autorun.inf only at the root of a medium; "
                "this one in a sub-folder does nothing.",
                "Put Orvelund.exe at the root of the medium and write autorun.inf there with the Menu Editor.");
    }
    const MediumItem* inf = index_.Find("autorun.inf");
    if (!inf || inf->folder) {
        Note("N-AUTORUN-MISSING", "autorun.inf", 0, "", "The medium has no autorun.inf: the reader has to open the "
             "medium and start Orvelund.exe by hand.", "Press \"Create AutoRun\" in the Menu Editor.");
        return;
    }
    const auto bytes = inf->readable ? medium_.Read(inf->path, 1u << 20) : std::nullopt;
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
        const MediumItem* found = index_.Find(ResolveTarget(program).path);
        if (found && !found->folder && autoRunProgram_.empty()) autoRunProgram_ = found->path;
        if (!found || found->folder)
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
        const MediumItem* found = index_.Find(ResolveTarget(fileOf(icon)).path);
        if (!found || found->folder)
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

// ---- names and sizes ----------------------------------------------------------------------------

void Checker::CheckNames() {
    static const std::set<std::string> reserved = {"con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4",
                                                   "com5", "com6", "com7", "com8", "com9", "lpt1", "lpt2", "lpt3",
                                                   "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};
    for (const auto& item : index_.Items()) {
        const std::string name = LastName(item.path);
        const std::string what = item.folder ? "folder" : "file";
        std::string stem = AsciiLower(name.substr(0, name.find('.')));
        stem.erase(stem.find_last_not_of(' ') + 1);
        if (reserved.count(stem))
            Error("E-NAME-RESERVED", item.path, 0, "", "Windows reserves the name " + Quoted(name) + " for a device: "
                  "the " + what + " cannot be opened or copied there.", "Rename the " + what + ".");
        std::string bad;
        for (const char c : name)
            if (std::string(":*?\"<>|\\").find(c) != std::string::npos || static_cast<unsigned char>(c) < 0x20)
                if (bad.find(c) == std::string::npos) bad += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
        if (!bad.empty())
            Error("E-NAME-CHARACTERS", item.path, 0, "", "The name holds characters that Windows, discs and FAT "
                  "sticks do not allow in names (" + bad + "): the " + what + " cannot be written to the medium.",
                  "Rename the " + what + ".");
        if (!name.empty() && (name.back() == '.' || name.back() == ' '))
            Error("E-NAME-TRAILING", item.path, 0, "", "The name ends in a " +
                  std::string(name.back() == '.' ? "dot" : "blank") + ", which Windows drops: the " + what +
                  " cannot be opened under this name.", "Rename the " + what + ".");
        if (Utf16Length(name) > 64)
            Warning("W-NAME-LONG", item.path, 0, "", "The name has " + std::to_string(Utf16Length(name)) +
                    " characters; a disc's Joliet names hold 64, so burning shortens it and entries that name it "
                    "no longer find it.", "Shorten the name to 64 characters at most.");
        if (3 + Utf16Length(item.path) > 240)
            Warning("W-PATH-LONG", item.path, 0, "", "With the drive in front the path has " +
                    std::to_string(3 + Utf16Length(item.path)) + " characters; Windows programs often fail on "
                    "paths of more than 240.", "Use shorter folder and file names.");
        if (!item.folder && item.size >= (std::uint64_t(1) << 32))
            Warning("W-FILE-4GIB", item.path, 0, "", "The file holds " + Megabytes(item.size) + ": a FAT32 stick "
                    "cannot hold a file of 4 GiB or more.", "Use a stick formatted as exFAT or NTFS, or split the file.");
        if (!item.readable)
            Warning("W-UNREADABLE", item.path, 0, "", "The " + what + " cannot be read here, so it will not be "
                    "copied or burned either.", "Check its permissions.");
        const std::string lower = AsciiLower(name);
        const auto mark = lower.rfind(".~");
        if (!item.folder && mark != std::string::npos && lower.size() > mark + 6 &&
            lower.compare(lower.size() - 4, 4, ".tmp") == 0 &&
            std::all_of(lower.begin() + static_cast<std::ptrdiff_t>(mark) + 2, lower.end() - 4,
                        [](char c) { return c >= '0' && c <= '9'; }))
            Warning("W-TEMP-FILE", item.path, 0, "", "A temporary file left behind by a save that was interrupted.",
                    "Delete it.");
    }

    const std::uint64_t total = result_.report.bytes;
    const std::string size = Megabytes(total);
    if (total > kDualLayerDvdBytes)
        Warning("W-MEDIUM-TOO-BIG", "", 0, "", "The medium's files hold " + size + ": more than a dual-layer DVD "
                "(8.5 GB) takes.", "Use a USB stick or drive, or leave files out.");
    else
        Note("N-MEDIUM-SIZE", "", 0, "", "The medium's files hold " + size + ": " +
             (total <= kCdBytes ? "they fit on a CD (700 MB)."
              : total <= kDvdBytes ? "too much for a CD (700 MB); they fit on a DVD (4.7 GB)."
                                   : "too much for a DVD (4.7 GB); they fit on a dual-layer DVD (8.5 GB)."),
             "");
}

// ---- the program --------------------------------------------------------------------------------

void Checker::CheckProgram() {
    const MediumItem* exe = index_.Find("Orvelund.exe");
    // Authors may rename the program (Start.exe); autorun.inf then names it, as the Menu Editor writes it.
    if ((!exe || exe->folder) && !autoRunProgram_.empty() && autoRunProgram_.find('\\') == std::string::npos &&
        AsciiLower(autoRunProgram_).size() > 4 &&
        AsciiLower(autoRunProgram_).compare(autoRunProgram_.size() - 4, 4, ".exe") == 0)
        exe = index_.Find(autoRunProgram_);
    if (!exe || exe->folder) {
        std::string elsewhere;
        for (const auto& item : index_.Items())
            if (!item.folder && MediumIndex::Fold(LastName(item.path)) == "orvelund.exe") {
                elsewhere = item.path;
                break;
            }
        Error("E-PROGRAM-MISSING", "Orvelund.exe", 0, "", "Orvelund.exe is not at the medium's root" +
              (elsewhere.empty() ? std::string(".") : " (there is one in " + Quoted(elsewhere) + ").") +
              " Nothing shows the menu; the content folder must sit beside the program.",
              "Copy Orvelund.exe next to the content folder.");
        return;
    }
    const auto bytes = exe->readable ? medium_.Read(exe->path, 4096) : std::nullopt;
    auto u16 = [&](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>((*bytes)[at])) |
               static_cast<unsigned>(static_cast<unsigned char>((*bytes)[at + 1])) << 8;
    };
    std::size_t pe = 0;
    if (bytes && bytes->size() >= 0x40 && bytes->compare(0, 2, "MZ") == 0) {
        pe = u16(0x3C) | static_cast<std::size_t>(u16(0x3E)) << 16;
        if (pe + 6 > bytes->size() || bytes->compare(pe, 4, std::string("PE\0\0", 4)) != 0) pe = 0;
    }
    if (!pe) {
        Error("E-PROGRAM-BROKEN", exe->path, 0, "", "Orvelund.exe is not a Windows program (or cannot be read): "
              "Windows refuses to start it.", "Copy Orvelund.exe again from the release.");
        return;
    }
    const unsigned machine = u16(pe + 4);
    if (machine == 0x8664 || machine == 0xAA64)
        Warning("W-PROGRAM-64BIT", exe->path, 0, "", std::string("Orvelund.exe is the ") +
                (machine == 0x8664 ? "64-bit x64" : "64-bit ARM") + " build: it does not start on 32-bit Windows.",
                "Use the 32-bit Orvelund.exe, which starts on every Windows PC.");
    else if (machine != 0x14C)
        Error("E-PROGRAM-BROKEN", exe->path, 0, "", "Orvelund.exe is built for a processor Windows PCs do not have.",
              "Copy the 32-bit Orvelund.exe from the release.");
}

}  // namespace

CheckResult CheckMedium(Medium& medium) { return Checker(medium).Run(); }
