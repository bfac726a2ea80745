#include "editor/FileTargets.h"

#include <unordered_set>

#include "editor/EntryFromFile.h"

namespace {

// The names in a message: the first few, one a line, and how many more.
std::string NameList(const std::vector<std::string>& names) {
    constexpr std::size_t kShown = 5;
    std::string list;
    for (std::size_t i = 0; i < names.size() && i < kShown; ++i) list += "\r\n    " + names[i];
    if (names.size() > kShown) list += "\r\n    and " + std::to_string(names.size() - kShown) + " more";
    return list;
}

// "E:\" + "x.pdf" and "C:\Menu" + "x.pdf" alike.
std::string Joined(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(0, slash == 2 && path[1] == ':' ? 3 : slash);
}

}  // namespace

std::string CopyFailure(CopyResult result) {
    switch (result) {
    case CopyResult::Copied:
    case CopyResult::Cancelled: return "";
    case CopyResult::SourceUnreadable:
        return "it could not be read (another program may have it open, or its drive is gone)";
    case CopyResult::MediumFull: return "there is not enough free space on the medium";
    case CopyResult::ReadOnly: return "the medium cannot be written to (a disc, or a write-protected stick)";
    case CopyResult::NameRefused:
        return "the medium cannot hold a file of this name there (the name or the path is too long, or has "
               "characters the medium refuses)";
    case CopyResult::TooLarge:
        return "it is larger than one file on the medium may be (a FAT32 stick holds files of up to 4 GiB)";
    case CopyResult::Failed: break;
    }
    return "Windows could not copy it";
}

FileTargets::FileTargets(Services& services, std::string caption, std::intptr_t owner)
    : sv_(services), caption_(std::move(caption)), owner_(owner) {}

int FileTargets::Ask(const std::string& prompt, int buttons) { return sv_.dialogs.MsgBox(prompt, buttons, caption_); }

std::vector<FileTarget> FileTargets::For(const std::vector<std::string>& paths) {
    std::vector<std::optional<FileTarget>> found(paths.size());
    std::vector<std::string> missing, folders, shortcuts;
    std::vector<ToCopy> copies;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string path = sv_.files.GetAbsolutePathName(paths[i]);
        std::string name = FileNameOf(path);
        if (name.empty()) name = path.substr(0, path.find_last_not_of('\\') + 1);  // a drive's root, "E:"
        const bool folder = sv_.files.FolderExists(path);
        if (!folder && !sv_.files.FileExists(path)) {
            missing.push_back(path);
        } else if (!folder && IsInternetShortcut(name)) {
            const auto lines = sv_.files.ReadLines(path);
            const auto address = lines ? InternetShortcutTarget(*lines) : std::nullopt;
            if (address) found[i] = FileTarget{WithoutExtension(name), *address};
            else shortcuts.push_back(path);
        } else if (const auto relative = RelativeToProgram(sv_.app.appPath, path)) {
            found[i] = FileTarget{folder ? name : WithoutExtension(name), *relative};
        } else if (folder) {
            folders.push_back(path);
        } else {
            copies.push_back({i, path, name});
        }
    }

    std::string refused;
    if (!missing.empty()) refused += "These could not be found:" + NameList(missing) + "\r\n\r\n";
    if (!shortcuts.empty())
        refused += "These Internet shortcuts hold no web address the menu can open on other PCs:" + NameList(shortcuts) +
                   "\r\n\r\n";
    if (!folders.empty())
        refused += "These folders are not on the medium:" + NameList(folders) +
                   "\r\n\r\nFolders are not copied from here. Copy the folder onto the medium in Explorer, then drop "
                   "it from there.\r\n\r\n";
    if (!refused.empty()) sv_.dialogs.MsgBox(refused + "No entry has been made for them.", mb::OkOnly | mb::Exclamation, caption_);

    if (!copies.empty()) CopyOntoMedium(copies, found);
    std::vector<FileTarget> targets;
    for (auto& f : found)
        if (f) targets.push_back(std::move(*f));
    return targets;
}

bool FileTargets::ChooseFolderOnMedium(std::string& folder, std::string& relative) {
    for (;;) {
        const auto chosen = sv_.fileDialogs.ChooseFolder(owner_, "Choose the folder on the medium to copy into",
                                                         sv_.app.appPath);
        if (!chosen) return false;
        if (const auto r = RelativeToProgram(sv_.app.appPath, *chosen)) {
            folder = *chosen;
            relative = *r;
            return true;
        }
        sv_.dialogs.MsgBox("\"" + *chosen + "\" is not on the medium.\r\n\r\nChoose the program's folder, " +
                               sv_.app.appPath + ", or a folder in it.",
                           mb::OkOnly | mb::Exclamation, caption_);
    }
}

void FileTargets::CopyOntoMedium(const std::vector<ToCopy>& files, std::vector<std::optional<FileTarget>>& found) {
    std::vector<std::string> names;
    for (const auto& f : files) names.push_back(f.from);
    const bool one = files.size() == 1;
    const int answer = Ask(std::string(one ? "This file is not on the medium:" : "These files are not on the medium:") +
                               NameList(names) +
                               "\r\n\r\nThe menu opens only files that are on the medium with it. Do you want to copy " +
                               (one ? "it" : "them") + " onto the medium? You choose the folder next.",
                           mb::YesNo | mb::Question);
    if (answer != mb::Yes) return;
    std::string folder, relative;
    if (!ChooseFolderOnMedium(folder, relative)) return;
    const std::string where = relative == "." ? "the program's folder" : "\"" + relative + "\"";

    // Every question before the first byte is copied, so that the copy runs on its own.
    struct Planned {
        const ToCopy* file;
        std::string to, target;
    };
    std::vector<Planned> planned;
    std::vector<std::string> failed;
    std::unordered_set<std::string> targets;
    for (const auto& f : files) {
        const std::string to = Joined(folder, f.name);
        const std::string target = relative == "." ? f.name : relative + "\\" + f.name;
        if (!targets.insert(NameKey(f.name)).second) {
            failed.push_back(f.from + ": another of the files has the same name");
            continue;
        }
        if (sv_.files.FolderExists(to)) {
            failed.push_back(f.from + ": " + where + " holds a folder of that name");
            continue;
        }
        if (sv_.files.FileExists(to)) {
            const int replace = Ask("A file named \"" + f.name + "\" is already in " + where + ".\r\n\r\n"
                                    "Click YES to replace it with the one from " + FolderOf(f.from) + ".\r\n"
                                    "Click NO to keep it: the entry opens the file that is there.\r\n"
                                    "Click CANCEL to leave this file out.",
                                    mb::YesNoCancel | mb::Exclamation);
            if (replace == mb::No) found[f.index] = FileTarget{WithoutExtension(f.name), target};
            if (replace != mb::Yes) continue;
        }
        planned.push_back({&f, to, target});
    }

    if (!planned.empty()) {
        ProgressTask task(sv_.progress, "Copying onto the medium", "");
        const std::uint64_t n = planned.size();
        for (std::uint64_t k = 0; k < n; ++k) {
            const Planned& p = planned[k];
            const std::string count = n > 1 ? " (" + std::to_string(k + 1) + " of " + std::to_string(n) + ")" : "";
            task->SetText("Copying \"" + p.file->name + "\" to " + where + count);
            // The bar runs over all the files, each taking its share.
            const CopyResult result = sv_.copier.Copy(p.file->from, p.to, [&](std::uint64_t done, std::uint64_t total) {
                return task->Report(k * 1000 + (total ? done * 1000 / total : 1000), n * 1000);
            });
            if (result == CopyResult::Cancelled) break;  // what was copied before stays, with its entries
            if (result == CopyResult::Copied) found[p.file->index] = FileTarget{WithoutExtension(p.file->name), p.target};
            else failed.push_back(p.file->from + ": " + CopyFailure(result));
        }
    }
    if (!failed.empty())
        sv_.dialogs.MsgBox(std::string(failed.size() == 1 ? "This file could not be copied onto the medium:"
                                                          : "These files could not be copied onto the medium:") +
                               NameList(failed) + "\r\n\r\nNo entry has been made for " +
                               (failed.size() == 1 ? "it." : "them."),
                           mb::OkOnly | mb::Critical, caption_);
}
