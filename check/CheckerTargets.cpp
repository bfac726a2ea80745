// What an entry opens: a web address, or a file or folder the medium must hold.

#include "check/CheckerParts.h"
#include "app/Orvelund.h"

namespace checker {

void Checker::CheckTarget(CheckedEntry& e) {
    const std::string& target = e.entry.FileFolder;
    const std::string& name = e.entry.Button;
    // The program's own rule: a URL scheme or "www" goes to the shell as it stands.
    if (IsWebTarget(target)) {
        const std::string scheme = AsciiLower(target.substr(0, target.find(':')));
        if (scheme == "javascript" || scheme == "vbscript" || scheme == "data") {
            // These carry a script or a whole document in the address itself. A start menu on a
            // medium has no business running script, and Windows has no program for them: the
            // button opens nothing, and the page never makes them a link.
            Error("E-TARGET-SCRIPT", menuFile_, e.line, name, Quoted(target) + " is a " + scheme + ": address, "
                  "which holds a script or a document of its own instead of naming a file or a web page. A start "
                  "menu has no business running script, and on the reader's PC the button opens nothing useful.",
                  "Point the entry at a web address (https://...) or at a file on the medium.");
            Broken(e);
            return;
        }
        if (scheme == "file") {
            // file:///C:/... and file://server/share/... name places on the author's PC as surely
            // as C:\... and \\server\... do.
            Error("E-TARGET-ABSOLUTE", menuFile_, e.line, name, Quoted(target) + " is a file: address, a path on "
                  "the author's PC (a drive letter or a network share), which the reader's PC does not have.",
                  "Copy the file onto the medium and give its path relative to Orvelund.exe, e.g. content\\file.pdf.");
            Broken(e);
            return;
        }
        e.target = CheckedEntry::Target::Web;
        e.link = target;
        return;
    }
    if (target.empty()) {
        Error("E-TARGET-EMPTY", menuFile_, e.line, name, "The entry opens nothing: its File/Folder is empty.",
              "Choose a file, folder or web address for the entry in the Menu Editor.");
        Broken(e);
        return;
    }
    // Meant as a web address, but with a blank before it or "WWW" in capitals the program takes it for a file.
    std::string trimmed = target;
    trimmed.erase(0, trimmed.find_first_not_of(' '));
    if (IsWebTarget(trimmed) || StartsWith(AsciiLower(trimmed), "www")) {
        Error("E-TARGET-NOT-WEB", menuFile_, e.line, name, "The program takes " + Quoted(target) + " for a file on "
              "the medium, not a web address: it recognises addresses that begin with a scheme such as "
              "\"https:\" or with \"www\" in small letters, with no blank before. The button opens nothing.",
              "Write the address without a blank before it, beginning with \"https://\" or \"www\" in small letters.");
        Broken(e);
        return;
    }

    const ResolvedPath where = ResolveTarget(target);
    if (where.place == ResolvedPath::Place::Absolute) {
        Error("E-TARGET-ABSOLUTE", menuFile_, e.line, name, Quoted(target) + " is a path on the author's PC (a "
              "drive letter or a network share), which the reader's PC does not have.",
              "Copy the file onto the medium and give its path relative to Orvelund.exe, e.g. content\\file.pdf.");
        Broken(e);
        return;
    }
    if (where.place == ResolvedPath::Place::Outside) {
        Error("E-TARGET-OUTSIDE", menuFile_, e.line, name, Quoted(target) + " climbs above the folder of "
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
        // Two names on the medium differ only in case: which of them the reader's copy holds is
        // left to chance (the name finding says which).
        if (InCaseTwin(item->path))
            e.problem = "Not linked here: the medium holds two names that differ only in case, " +
                        Quoted(item->path) + " and another, and only one of them is there once it is written.";
        if (item->path != where.path)
            Note("N-TARGET-CASE", menuFile_, e.line, name, "The entry names " + Quoted(where.path) + ", the medium "
                 "holds " + Quoted(item->path) + ". Windows does not mind the difference in case; other systems do.",
                 "Write the name in the entry as the medium spells it.");
    } else {
        e.error = true;
        const MediumItem* trimmedItem = trimmed != target ? index_.Find(ResolveTarget(trimmed).path) : nullptr;
        // Listed, but under a name that the reader's copy cannot have.
        const MediumItem* unreachable = index_.Exact(where.path);
        const std::string why = !unreachable                ? " is not on the medium (looked for from the folder of "
                                                              "Orvelund.exe)"
                                : unreachable->danglingLink ? " is a symbolic link to something that is not there"
                                                            : " has a name that no Windows medium can hold";
        Error("E-TARGET-MISSING", menuFile_, e.line, name, Quoted(target) + why + ": the button opens nothing, or "
              "the shell shows an error.",
              trimmedItem ? "Remove the blank after the comma: " + Quoted(trimmedItem->path) + " exists."
                          : "Copy the file or folder onto the medium, or correct the entry's File/Folder.");
        Broken(e);
        return;
    }
    if (where.fromDriveRoot)
        Note("N-TARGET-DRIVE-ROOT", menuFile_, e.line, name, Quoted(target) + " begins with a backslash, which "
             "means the root of the drive: it is found only while Orvelund.exe sits at the medium's root.",
             "Leave out the leading backslash.");

    const std::string verb = AsciiLower(e.entry.Action);
    if (verb == "explore" && e.target == CheckedEntry::Target::File)
        Warning("W-ACTION-EXPLORE-FILE", menuFile_, e.line, name, "\"explore\" opens folders; for the file " +
                Quoted(target) + " the shell offers no such action and the button opens nothing.",
                "Use \"open\" for a file, or point the entry at its folder.");
    else if ((verb == "print" || verb == "edit") && e.target == CheckedEntry::Target::Folder)
        Warning("W-ACTION-FOLDER", menuFile_, e.line, name, "A folder cannot be " +
                std::string(verb == "print" ? "printed" : "edited") + ": the button opens nothing.",
                "Use \"open\" or \"explore\" for a folder.");
}

}  // namespace checker
