// The menu file: whether it is there and readable, how it is encoded, and the settings in its header.

#include <algorithm>

#include "app/Orvelund.h"
#include "check/CheckerParts.h"
#include "check/LineStream.h"
#include "check/Text.h"
#include "common/CodePages.h"
#include "common/TextLines.h"
#include "platform/Design.h"

namespace checker {

namespace {

constexpr std::uint64_t kHugeMenuBytes = 64u << 20;  // far beyond any menu; a bigger file is not a menu
// The main window's design colours, which stay when the menu file does not set others.
constexpr std::int32_t kDesignButtonColor = Rgb(192, 192, 255);
constexpr std::int32_t kDesignLabelColor = Rgb(255, 255, 255);
constexpr std::int32_t kDesignLabelText = Rgb(0, 0, 64);

// What an entry leads to, as a key: its web address as it stands, or the file or folder the program
// finds on the medium however the path spells it ("docs\A.pdf", ".\docs/a.pdf"). FNV-1a, the same
// on every build, so that both builds compare alike.
std::uint64_t TargetKey(const std::string& target) {
    std::string key;
    if (IsWebTarget(target)) {
        key = "w" + target;
    } else {
        const ResolvedPath where = ResolveTarget(target);
        key = where.place == ResolvedPath::Place::Medium ? "f" + MediumIndex::Fold(where.path) : "x" + target;
    }
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : key) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return hash;
}

}  // namespace

void Checker::FollowTarget(const CheckedEntry& e) {
    const std::uint64_t key = TargetKey(e.entry.FileFolder);
    const std::size_t position = read_.entries - 1;
    if (menu_ == &result_.menu) {
        read_.targets.push_back(key);
        read_.targetLines.push_back(e.line);
    } else if (position < base_.targets.size() && key != base_.targets[position] && !read_.differ++) {
        read_.firstDiffer = position;
        read_.firstDifferLine = e.line;
        read_.firstDifferButton = Excerpt(e.entry.Button, 255 * 3);
        read_.firstDifferTarget = Excerpt(e.entry.FileFolder, 255 * 3);
    }
}

CodePageChoice Checker::ChooseFor(const CodePageEvidence& evidence) const {
    if (options_.codePage) {
        CodePageChoice given;
        given.number = options_.codePage;
        given.basis = CodePageChoice::Basis::Given;
        return given;
    }
    return ChooseCodePage(evidence, options_.fallbackCodePage, [&](const std::string& name, bool picture) {
        if (picture) return FindFile("content\\" + name + ".jpg") != nullptr;
        if (IsWebTarget(name)) return false;
        const ResolvedPath where = ResolveTarget(name);
        return where.place == ResolvedPath::Place::Medium && !where.path.empty() && index_.Find(where.path);
    });
}

CodePageChoice Checker::MenuCodePage(const MediumItem& item) {
    // A first look at the file, as its bytes: its code-page lines, and the names its entries give
    // for their files, folders and button pictures. The start of a file far beyond any menu is
    // enough to tell.
    CodePageEvidence evidence;
    std::uint64_t lines = 0, bytes = 0;
    LineStream raw([&](StreamedLine& line) {
        const std::uint64_t n = lines++;
        if (!line.codePage) return;
        evidence.AddLine(line.text);
        if (n < menufile::kLineFirstEntry) return;
        const auto fields = menufile::SplitFields(line.text);  // a comma is never the second byte of a character
        auto nonAscii = [](const std::string& s) {
            return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
        };
        if (nonAscii(fields[0])) evidence.AddName(fields[0], true);
        if (fields.size() > 2 && nonAscii(fields[2])) evidence.AddName(fields[2], false);
    }, nullptr);
    if (item.readable)
        medium_.Stream(item.path, [&](const char* data, std::size_t size) {
            raw.Feed(data, size);
            bytes += size;
            return raw.Text().encoding == TextEncoding::Ansi && !evidence.Full() && bytes < kHugeMenuBytes;
        });
    return ChooseFor(evidence);
}

void Checker::WarnCodePage(const std::string& file, const CodePageChoice& choice, const std::string& readers,
                           const std::string& fix) {
    Warning("W-CODE-PAGE", file, 0, "", LastName(file) + " is text in code page " + CodePageLabel(choice.number) +
            ", without a byte-order mark. " + readers + " " + choice.Reason(options_.setCodePage), fix);
}

void Checker::CheckMenuFile(const MediumItem* item) {
    CheckedMenu& menu = *menu_;
    menu.caption = "Talvenor";
    menu.buttonColor = kDesignButtonColor;
    menu.backColor = kWindowBackground;
    menu.labelBackColor = kDesignLabelColor;
    menu.labelTextColor = kDesignLabelText;

    if (!item) {
        std::string languages;
        for (std::size_t i = 0; i < result_.languages.size() && i < 3; ++i)
            languages += (i ? ", " : "") + result_.languages[i].file;
        if (result_.languages.size() > 3) languages += " and " + std::to_string(result_.languages.size() - 3) + " more";
        Error("E-MENU-MISSING", kMenuFile, 0, "", "The medium has no menu file. On the reader's PC Orvelund asks "
              "whether to set up a new menu in this folder, and on a disc it cannot even do that." +
              (languages.empty() ? std::string()
                                 : " The menus of single languages beside it (" + languages + ") are not shown "
                                   "either: without config.ini the folder is not a menu."),
              "Copy the whole folder the menu was made in, with its content folder, onto the medium.");
        return;
    }
    // The file streams by line by line: a menu file of any size is checked in little memory.
    const std::size_t menuFileAt = result_.report.findings.size();
    const CodePageChoice codePage = MenuCodePage(*item);
    if (menu_ == &result_.menu) {
        menuCodePage_ = codePage;
        menuCodePageFound_ = codePage.basis != CodePageChoice::Basis::Assumed;
    }
    const CodePage reader = CodePageReader(codePage.number);
    LineStream stream([&](StreamedLine& line) { OnMenuLine(line); }, &reader);
    const bool read = item->readable && medium_.Stream(item->path, [&](const char* data, std::size_t size) {
        stream.Feed(data, size);
        return true;
    });
    stream.Finish();
    if (!read_.settingsChecked && read) CheckSettings();
    const StreamedText& text = stream.Text();
    if (!read) {
        const std::size_t at = result_.report.findings.size();
        Error("E-MENU-UNREADABLE", item->path, 0, "", "The menu file cannot be read, so the reader sees an empty "
              "window with the design-time buttons.",
              "Check the file's permissions, or save the menu again in the Menu Editor.");
        MoveFindings(at, menuFileAt);
        if (text.lines == 0) return;
    }
    menu.read = true;

    const std::size_t entries = read_.entries;
    const std::size_t entriesFoundAt = result_.report.findings.size();
    if (entries == 0 || read_.entryEmpty.empty() || read_.entryEmpty[0]) {
        Error("E-MENU-NO-ENTRIES", menuFile_, menufile::kLineFirstEntry + 1, "",
              entries == 0 ? "The menu has no entries: the window shows ten buttons that read \"Button\" "
                             "and open nothing."
                           : "Line 9, the first entry, is empty: the window shows ten buttons that read "
                             "\"Button\" and open nothing.",
              entries == 0 ? "Add entries in the Menu Editor." : "Delete the empty line before the entries.");
    }
    if (entries > kClassicEntryLimit)
        Warning("W-MENU-TOO-MANY", menuFile_, 0, "", "The menu has " + std::to_string(entries) +
                " entries. The Menu Editor and the menu window count entries in 16-bit numbers: menus of more than "
                "32,766 entries are beyond what they were made for.",
                "Split the menu: put some entries into a folder that an \"explore\" entry opens.");
    MoveFindings(entriesFoundAt, read_.entriesAt);

    const std::size_t fileFoundAt = result_.report.findings.size();
    if (item->size > kHugeMenuBytes)
        Warning("W-MENU-HUGE", item->path, 0, "", "The menu file holds " + Megabytes(item->size) +
                ": far more than any menu needs.", "Check that the right file is in the content folder.");
    switch (text.encoding) {
    case TextEncoding::Ansi:
        if (text.codePageLines) {
            WarnCodePage(item->path, codePage, "Readers whose Windows uses another code page see its letters "
                         "outside ASCII garbled, and its entries whose files or folders have such letters in their "
                         "names open nothing.",
                         "Open the menu in the Menu Editor and press OK: it saves the menu as UTF-8 with a "
                         "byte-order mark, which every PC reads alike.");
            break;
        }
        Note("N-MENU-ENCODING", item->path, 0, "", std::string("The menu file has no byte-order mark") +
             (text.utf8WithoutMark ? ": its lines in UTF-8 are read as UTF-8, on every PC alike."
                                   : ", plain ASCII: every PC reads it alike."),
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
             "Orvelund reads it, and the Menu Editor saves it back as UTF-8 (plain ASCII when that is all it holds).", "");
        break;
    }
    if (text.controlBytes)
        Warning("W-MENU-BINARY", item->path, 0, "", "The menu file holds NUL or other control bytes: it does not "
                "look like the text file the Menu Editor writes, and its lines show as odd buttons or not at all.",
                "Check that the right file is named " + LastName(item->path) + "; save the menu again in the Menu Editor.");
    if (text.lines <= menufile::kLineFirstEntry && item->size > 0 && !text.controlBytes &&
        text.lines < menufile::kLineHideSetup + 1)
        Warning("W-MENU-SHORT", item->path, 0, "", "The menu file has only " +
                Count(static_cast<std::size_t>(text.lines), "line", "lines") +
                ": the settings and the entries are read by their line number, and lines 3 to 6 are missing.",
                "Save the menu in the Menu Editor, which writes all eight header lines.");
    MoveFindings(fileFoundAt, menuFileAt);
}

void Checker::OnMenuLine(StreamedLine& line) {
    const std::uint64_t n = read_.lines++;
    if (n < menufile::kLineFirstEntry) {
        read_.header.push_back(std::move(line.text));
        return;
    }
    if (!read_.settingsChecked) CheckSettings();
    const std::size_t entry = static_cast<std::size_t>(n - menufile::kLineFirstEntry);
    if (entry < kWindowLines) {
        read_.entryEmpty.push_back(line.Empty());
    } else if (!line.Empty()) {
        if (!read_.tail.entries++) read_.tail.first = entry;
        read_.tail.last = entry;
    } else if (!read_.tail.entries) {
        read_.tail.emptyBefore = entry + 1;
    }
    if (line.Empty()) return;
    ++result_.report.entries;
    ++read_.entries;

    CheckedEntry e;
    e.line = static_cast<std::size_t>(n + 1);
    e.entry = menufile::EntryFromLine(line.text);
    e.fields = line.fields;
    CheckEntry(e);
    if (entry < kWindowLines) FollowTarget(e);
    if (menu_ != &result_.menu && read_.entries == base_.entries + 1) {  // the first past config.ini's last
        read_.extraLine = e.line;
        read_.extraButton = Excerpt(e.entry.Button, 255 * 3);
    }

    // The button's picture, looked at once however many entries share it. No name of a file can
    // be longer than 255 characters, so a longer button has none.
    const MediumItem* picture = nullptr;
    if (e.entry.Button.size() <= 255 * 3 && pictureNameLengths_.count(e.entry.Button.size()))
        picture = FindFile("content\\" + e.entry.Button + ".jpg");
    if (picture && usedPictures_.insert(MediumIndex::Fold(LastName(picture->path))).second)
        pictureUses_.push_back({picture, e.line, Excerpt(e.entry.Button, 255 * 3), menuFile_});
    if (entry < kWindowLines) KeepEntry(std::move(e), picture);
}

void Checker::CheckSettings() {
    using namespace menufile;
    read_.settingsChecked = true;
    CheckedMenu& menu = *menu_;
    const std::string file = menuFile_;

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
    read_.entriesAt = result_.report.findings.size();
}

}  // namespace checker
