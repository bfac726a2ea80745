// The names and sizes that Windows, discs and sticks must be able to hold.

#include <algorithm>
#include <map>
#include <set>

#include "check/CheckerParts.h"
#include "check/Text.h"

namespace checker {

namespace {

// An item's own name as it stands on the medium.
std::string NameOf(const MediumItem& item) {
    return item.nameLength ? item.path.substr(item.path.size() - item.nameLength) : LastName(item.path);
}

// The bytes of a name that are not UTF-8, in hex: "E9 FC".
std::string BadBytes(const std::string& name) {
    const std::string valid = ValidUtf8(name);
    std::string out;
    const char* digits = "0123456789ABCDEF";
    for (std::size_t i = 0; i < name.size();) {
        std::size_t n = 1;
        const auto c = static_cast<unsigned char>(name[i]);
        if (c >= 0x80) {
            n = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
            if (i + n > name.size() || !IsUtf8(name.data() + i, n)) {
                if (out.size() < 3 * 8) out += std::string(out.empty() ? "" : " ") + digits[c >> 4] + digits[c & 0xF];
                n = 1;
            }
        }
        i += n;
    }
    return out;
}

}  // namespace

void Checker::CheckNames() {
    static const std::set<std::string> reserved = {"con",  "prn",  "aux",  "nul",  "com1", "com2", "com3", "com4",
                                                   "com5", "com6", "com7", "com8", "com9", "lpt1", "lpt2", "lpt3",
                                                   "lpt4", "lpt5", "lpt6", "lpt7", "lpt8", "lpt9"};
    // Names in one folder that differ only in case, by their folded path.
    std::map<std::string, std::vector<const MediumItem*>> twins;
    for (const auto& item : index_.Items())
        if (caseTwins_.count(MediumIndex::Fold(item.path)))
            twins[MediumIndex::Fold(item.path)].push_back(&item);

    for (const auto& item : index_.Items()) {
        const std::string name = NameOf(item);
        const std::string what = item.folder ? "folder" : "file";
        const std::string folded = MediumIndex::Fold(item.path);
        // Inside a folder that is itself one of two names, or inside a name that cannot be
        // written: the folder's finding says it for everything in it.
        const auto parentEnd = item.path.rfind('\\');
        const bool parentTwin = parentEnd != std::string::npos && InCaseTwin(item.path.substr(0, parentEnd));
        if (const auto twin = twins.find(folded); twin != twins.end() && !parentTwin && twin->second[0] == &item) {
            std::string names;
            for (std::size_t i = 0; i < twin->second.size(); ++i)
                names += (i == 0 ? "" : i + 1 == twin->second.size() ? " and " : ", ") + Quoted(NameOf(*twin->second[i]));
            // Two spellings of one language's menu: the program takes the first name in sort order.
            std::string taken;
            for (const CheckedMenu& menu : result_.languages)
                if (MediumIndex::Fold(menu.file) == folded)
                    taken = " On a folder that holds them all, Orvelund shows readers of \"" + menu.tag + "\" " +
                            menu.file + ", the first of the names in sort order, and that is the one checked here.";
            Error("E-NAME-CASE-CLASH", item.path, 0, "", "The folder holds names that differ only in case: " + names +
                  ". FAT, NTFS and discs hold one of them only: the others are lost when the medium is written, and "
                  "what names them opens the one that is left." + taken,
                  "Rename or delete all but one of them.");
        }
        if (!IsUtf8(name.data(), name.size()))
            Error("E-NAME-ENCODING", item.path, 0, "", "The name holds bytes that are not UTF-8 (" + BadBytes(name) +
                  "), written in some other code page: Windows, discs and sticks store names in Unicode, so the " +
                  what + " cannot be written under this name, and nothing can name it.",
                  "Rename the " + what + ", typing its name anew.");
        std::string stem = AsciiLower(name.substr(0, name.find('.')));
        stem.erase(stem.find_last_not_of(' ') + 1);
        if (reserved.count(stem))
            Error("E-NAME-RESERVED", item.path, 0, "", "Windows reserves the name " + Quoted(name) + " for a device: "
                  "the " + what + " cannot be opened or copied there.", "Rename the " + what + ".");
        std::string bad;
        for (const char c : name)
            if (std::string(":*?\"<>|\\").find(c) != std::string::npos || static_cast<unsigned char>(c) < 0x20)
                if (bad.find(c) == std::string::npos) bad += c;
        if (!bad.empty()) {
            std::string listed;
            for (const char c : bad) listed += std::string(listed.empty() ? "" : " ") + c;
            Error("E-NAME-CHARACTERS", item.path, 0, "", "The name " + Quoted(name) + " holds characters that "
                  "Windows, discs and FAT sticks do not allow in names (" + listed + "): the " + what +
                  " cannot be written to the medium, and nothing can name it.",
                  "Rename the " + what + ".");
        }
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
        if (item.danglingLink)
            Warning("W-UNREADABLE", item.path, 0, "", "The " + what + " is a symbolic link to something that is not "
                    "there: nothing is copied or burned for it, and entries that name it open nothing.",
                    "Delete the link, or copy the file it meant in its place.");
        else if (!item.readable)
            Warning("W-UNREADABLE", item.path, 0, "", "The " + what + " cannot be read here, so it will not be "
                    "copied or burned either.", "Check its permissions.");
        if (const auto of = LeftoverOf(name); !item.folder && of) {
            const std::string saved = item.path.substr(0, item.path.size() - name.size()) + *of;
            Warning("W-TEMP-FILE", item.path, 0, "", "A temporary file left behind by a save of " + saved +
                    " that was interrupted" + (FindFile(saved) ? "; " + saved + " itself holds what it held before." :
                                                                 ", before " + saved + " was first written."),
                    "Delete it.");
        }
    }

    // What the files take where they are written: a disc gives every file whole 2 KiB sectors (ISO
    // 9660 and UDF alike) and every folder at least one for its list; a stick gives whole clusters,
    // here 32 KiB, what Windows formats an exFAT stick of up to 32 GB with (FAT32 sticks of 16 to
    // 32 GB get 16 KiB, larger exFAT sticks 128 KiB).
    constexpr std::uint64_t kCluster = 32 * 1024;
    std::uint64_t stick = 0;
    for (const auto& item : index_.Items())
        stick += item.folder ? kCluster : (item.size + kCluster - 1) / kCluster * kCluster;
    const std::uint64_t total = result_.report.bytes, disc = result_.report.discBytes;
    const std::string held = "The medium's " + Count(result_.report.files, "file holds ", "files hold ") +
                             Megabytes(total) + "; on a CD or DVD, where every file takes whole 2 KiB sectors and "
                             "every folder at least one, they take " + Megabytes(disc);
    const std::string onStick = " On a USB stick with 32 KiB clusters (exFAT's for sticks of up to 32 GB) they take " +
                                Megabytes(stick) + ".";
    if (disc > kDualLayerDvdBytes)
        Warning("W-MEDIUM-TOO-BIG", "", 0, "", held + ": more than a dual-layer DVD (8.5 GB) takes." + onStick,
                "Use a USB stick or drive, or leave files out.");
    else
        Note("N-MEDIUM-SIZE", "", 0, "", held + ": " +
             (disc <= kCdBytes ? "they fit on a CD (700 MB)."
              : disc <= kDvdBytes ? "too much for a CD (700 MB); they fit on a DVD (4.7 GB)."
                                  : "too much for a DVD (4.7 GB); they fit on a dual-layer DVD (8.5 GB).") +
                 onStick,
             "");
}

}  // namespace checker
