#pragma once
// What files and folders handed to the editors (dropped, or chosen in Windows' dialogs) give the
// entries that open them. A file or folder below the program's folder is named relative to it; an
// Internet shortcut gives its web address. A file or folder anywhere else never becomes an
// absolute path: the author is asked to copy it onto the medium, into a folder of the medium the
// author picks. A folder already on the medium under that name is never merged or replaced (the
// author may keep it, and Explorer shows what a merge would do).
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Services.h"

struct FileTarget {
    std::string title;   // what the entry is named after: a file's name without its extension, a folder's name
    std::string target;  // what it opens: "docs\catalogue.pdf", "docs", "." or a web address
};

struct FileTargetItem;  // a path handed to FileTargets, and what became of it

class FileTargets {
public:
    // Messages carry `caption` as their title; the folder dialog is modal to `owner`.
    FileTargets(Services& services, std::string caption, std::intptr_t owner);

    // The targets of the paths that get one, in their order. The author has been told why any
    // other got none (not found, a copy declined, cancelled or failed).
    std::vector<FileTarget> For(const std::vector<std::string>& paths);

private:
    // Copies the files and folders of `items` that are elsewhere onto the medium, into the folder
    // the author picks, and gives each copied one (and one whose copy the author declined for one
    // of that name already there) its target.
    void CopyOntoMedium(std::vector<FileTargetItem>& items, std::vector<FileTarget>& targets);
    // The folder of the medium to copy into, as an absolute path and relative to the program;
    // false when the author cancelled.
    bool ChooseFolderOnMedium(std::string& folder, std::string& relative);
    // Whether a folder from elsewhere can go into `folder` of the medium (`where`, as messages
    // name it): not into itself, not over a file; the author keeps a folder of that name or
    // leaves this one out.
    void AskAboutFolder(FileTargetItem& item, const std::string& folder, const std::string& where);
    int Say(const std::string& prompt, int buttons);

    Services& sv_;
    std::string caption_;
    std::intptr_t owner_;
};

// Why a copy failed, in words that end a sentence: "... could not be copied: <why>."
std::string CopyFailure(CopyResult result);

// The parts of a message as one text. One call instead of a chain of +, each of which would be
// code of its own in the exe.
std::string Concat(std::initializer_list<std::string_view> parts);
