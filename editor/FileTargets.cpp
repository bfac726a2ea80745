#include "editor/FileTargets.h"

#include "editor/EntryFromFile.h"

// What became of one path handed to FileTargets::For.
enum class Fate {
    Target,     // it has its target
    Missing,    // no such file or folder
    Shortcut,   // an Internet shortcut without a web address the menu can open
    Copy,       // a file or folder elsewhere: to be copied
    NotCopied,  // declined or left out at a question: nothing to say
    Failed,     // its copy failed, for `why`
};

struct FileTargetItem {
    std::string path, name;  // its full path, and its name (with its extension)
    bool folder = false;
    Fate fate = Fate::Target;
    std::string target;      // Copy: where on the medium the copy goes
    std::string why;         // Failed: why
};

namespace {

using Item = FileTargetItem;

// A heading and the paths of the items of one fate below it, the first few one a line, and how
// many more; nothing when there are none.
std::string PathList(std::string_view heading, const std::vector<Item>& items, Fate fate) {
    constexpr std::size_t kShown = 5;
    std::string list;
    std::size_t count = 0;
    for (const Item& item : items) {
        if (item.fate != fate) continue;
        if (++count <= kShown) list += Concat({"\r\n    ", item.path, item.why.empty() ? "" : ": ", item.why});
    }
    if (count > kShown) list += Concat({"\r\n    and ", std::to_string(count - kShown), " more"});
    return count ? Concat({heading, list, "\r\n\r\n"}) : std::string();
}

// How a message names the items of one fate: "This file", "These folders", "These files and folders".
std::string Naming(const std::vector<Item>& items, Fate fate) {
    std::size_t files = 0, folders = 0;
    for (const Item& item : items)
        if (item.fate == fate) ++(item.folder ? folders : files);
    if (files + folders == 1) return folders ? "This folder" : "This file";
    return folders == 0 ? "These files" : files == 0 ? "These folders" : "These files and folders";
}

std::size_t Count(const std::vector<Item>& items, Fate fate) {
    std::size_t n = 0;
    for (const Item& item : items) n += item.fate == fate;
    return n;
}

// The title an entry for this item gets: a file's name without its extension, a folder's name.
std::string TitleOf(const Item& item, bool folder) { return folder ? item.name : WithoutExtension(item.name); }

}  // namespace

std::string Concat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const auto part : parts) text += part;
    return text;
}

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
    case CopyResult::LinkedFolder:
        return "it holds a linked folder (a junction or a symbolic link), which is not copied; copy the folder it "
               "links to instead";
    case CopyResult::Failed: break;
    }
    return "Windows could not copy it";
}

FileTargets::FileTargets(Services& services, std::string caption, std::intptr_t owner)
    : sv_(services), caption_(std::move(caption)), owner_(owner) {}

int FileTargets::Say(const std::string& prompt, int buttons) { return sv_.dialogs.MsgBox(prompt, buttons, caption_); }

std::vector<FileTarget> FileTargets::For(const std::vector<std::string>& paths) {
    std::vector<Item> items(paths.size());
    std::vector<FileTarget> targets(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        Item& item = items[i];
        item.path = sv_.files.GetAbsolutePathName(paths[i]);
        item.name = FileNameOf(item.path);
        if (item.name.empty()) item.name = item.path.substr(0, item.path.find_last_not_of('\\') + 1);  // a drive, "E:"
        const bool folder = item.folder = sv_.files.FolderExists(item.path);
        std::optional<std::string> target;
        if (!folder && !sv_.files.FileExists(item.path)) {
            item.fate = Fate::Missing;
        } else if (!folder && IsInternetShortcut(item.name)) {
            const auto lines = sv_.files.ReadLines(item.path);
            target = lines ? InternetShortcutTarget(*lines) : std::nullopt;
            if (!target) item.fate = Fate::Shortcut;
        } else if (!(target = RelativeToProgram(sv_.app.appPath, item.path))) {
            item.fate = Fate::Copy;
        }
        if (target) targets[i] = {TitleOf(item, folder), *target};
    }

    const std::string refused =
        PathList("These could not be found:", items, Fate::Missing) +
        PathList("These Internet shortcuts hold no web address the menu can open on other PCs:", items, Fate::Shortcut);
    if (!refused.empty()) Say(refused + "No entry has been made for them.", mb::OkOnly | mb::Exclamation);
    if (Count(items, Fate::Copy)) CopyOntoMedium(items, targets);

    std::vector<FileTarget> got;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].fate == Fate::Target) got.push_back(std::move(targets[i]));
    return got;
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
        Say(Concat({"\"", *chosen, "\" is not on the medium.\r\n\r\nChoose the program's folder, ", sv_.app.appPath,
                    ", or a folder in it."}),
            mb::OkOnly | mb::Exclamation);
    }
}

void FileTargets::CopyOntoMedium(std::vector<FileTargetItem>& items, std::vector<FileTarget>& targets) {
    const bool one = Count(items, Fate::Copy) == 1;
    const int answer =
        Say(Concat({PathList(Concat({Naming(items, Fate::Copy), one ? " is" : " are", " not on the medium:"}),
                             items, Fate::Copy),
                    "The menu opens only files that are on the medium with it. Do you want to copy ", one ? "it" : "them",
                    " onto the medium? You choose the folder next."}),
            mb::YesNo | mb::Question);
    std::string folder, relative;
    if (answer != mb::Yes || !ChooseFolderOnMedium(folder, relative)) {
        for (Item& item : items)
            if (item.fate == Fate::Copy) item.fate = Fate::NotCopied;
        return;
    }
    const std::string where = relative == "." ? "the program's folder" : Concat({"\"", relative, "\""});

    // Every question before the first byte is copied, so that the copy runs on its own.
    std::size_t copies = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        Item& item = items[i];
        if (item.fate != Fate::Copy) continue;
        item.target = Concat({folder, folder.back() == '\\' ? "" : "\\", item.name});
        targets[i] = {TitleOf(item, item.folder), relative == "." ? item.name : Concat({relative, "\\", item.name})};
        for (std::size_t j = 0; j < i; ++j)
            if (items[j].fate == Fate::Copy && NameKey(items[j].name) == NameKey(item.name))
                item.fate = Fate::Failed, item.why = "another of the files has the same name";
        if (item.fate == Fate::Failed) continue;
        if (item.folder) {
            AskAboutFolder(item, folder, where);
        } else if (sv_.files.FolderExists(item.target)) {
            item.fate = Fate::Failed, item.why = where + " holds a folder of that name";
        } else if (sv_.files.FileExists(item.target)) {
            const auto slash = item.path.find_last_of('\\');
            const int replace = Say(Concat({"A file named \"", item.name, "\" is already in ", where,
                                            ".\r\n\r\nClick YES to replace it with the one from ",
                                            item.path.substr(0, slash == 2 ? 3 : slash),
                                            ".\r\nClick NO to keep it: the entry opens the file that is there.\r\n"
                                            "Click CANCEL to leave this file out."}),
                                    mb::YesNoCancel | mb::Exclamation);
            if (replace != mb::Yes) item.fate = replace == mb::No ? Fate::Target : Fate::NotCopied;
        }
        copies += item.fate == Fate::Copy;
    }

    if (copies) {
        ProgressTask task(sv_.progress, "Copying onto the medium", "");
        std::uint64_t k = 0;
        bool cancelled = false;
        for (Item& item : items) {
            if (item.fate != Fate::Copy) continue;
            if (cancelled) {
                item.fate = Fate::NotCopied;  // what was copied before stays, with its entries
                continue;
            }
            const std::string count =
                copies > 1 ? Concat({" (", std::to_string(k + 1), " of ", std::to_string(copies), ")"}) : "";
            task->SetText(Concat({"Copying \"", item.name, "\" to ", where, count}));
            // The bar runs over all the files, each taking its share.
            const FileCopier::Progressed progressed = [&](std::uint64_t done, std::uint64_t total) {
                return task->Report(k * 1000 + (total ? done * 1000 / total : 1000), copies * 1000);
            };
            const CopyResult result = item.folder ? sv_.copier.CopyFolder(item.path, item.target, progressed)
                                                  : sv_.copier.Copy(item.path, item.target, progressed);
            cancelled = result == CopyResult::Cancelled;
            item.fate = result == CopyResult::Copied ? Fate::Target : cancelled ? Fate::NotCopied : Fate::Failed;
            item.why = CopyFailure(result);
            ++k;
        }
    }
    const bool oneFailed = Count(items, Fate::Failed) == 1;
    if (Count(items, Fate::Failed))
        Say(Concat({PathList(Concat({Naming(items, Fate::Failed), " could not be copied onto the medium:"}),
                             items, Fate::Failed),
                    "No entry has been made for ", oneFailed ? "it." : "them."}),
            mb::OkOnly | mb::Critical);
}

void FileTargets::AskAboutFolder(FileTargetItem& item, const std::string& folder, const std::string& where) {
    if (RelativeToProgram(item.path, folder)) {
        item.fate = Fate::Failed, item.why = where + " is inside it";
    } else if (sv_.files.FileExists(item.target)) {
        item.fate = Fate::Failed, item.why = where + " holds a file of that name";
    } else if (sv_.files.FolderExists(item.target)) {
        const int keep = Say(Concat({"A folder named \"", item.name, "\" is already in ", where,
                                     ".\r\n\r\nClick OK to keep it: the entry opens the folder that is there. A folder "
                                     "is not merged or replaced from here; Explorer shows what that would change."
                                     "\r\nClick CANCEL to leave this folder out."}),
                             mb::OkCancel | mb::Exclamation);
        item.fate = keep == mb::Ok ? Fate::Target : Fate::NotCopied;
    }
}
