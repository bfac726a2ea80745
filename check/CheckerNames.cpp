// The names and sizes that Windows, discs and sticks must be able to hold.

#include <algorithm>
#include <set>

#include "check/CheckerParts.h"
#include "check/Text.h"

namespace checker {

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
            HasExtension(lower, ".tmp") &&
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

}  // namespace checker
