#pragma once
// The relocation window's folder list for an opened folder: its drive's root and every folder down
// to it, each a step further in, then its subfolders one step further still, sorted. The opened
// folder is the selected row; a double click on a row opens that row's folder.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct FolderRow {
    std::string path;  // the folder the row opens, e.g. "C:\Menu\Docs"; a root ends in "\"
    std::string text;  // what the row shows: the folder's name, two spaces a step in
};

struct FolderList {
    std::vector<FolderRow> rows;
    int selected = -1;  // the opened folder's row

    // The folder a double click on `row` opens; none for a row that is not there.
    std::optional<std::string> Opened(int row) const;
};

// The path a folder is opened at: "C:\Menu\" is "C:\Menu"; a root keeps its "\".
std::string OpenedFolderPath(const std::string& requested);

// Joins a folder and a name inside it with one backslash.
std::string FolderChild(const std::string& folder, const std::string& name);

// The list for `folder` (as OpenedFolderPath gives it) with these subfolder names, in any order.
FolderList MakeFolderList(const std::string& folder, const std::vector<std::string>& subfolders);
