#pragma once
// The medium's files looked up as Windows looks them up: without regard to case, with "\" or "/",
// and with "." and ".." folded. Built once, so that checking a menu of thousands of entries
// against thousands of files costs one lookup per name.
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "check/Medium.h"

class MediumIndex {
public:
    explicit MediumIndex(std::vector<MediumItem> items);

    // The item at a medium-relative path ("" is the root, which is no item), as Windows finds it:
    // nullptr when absent or when its name is one the reader's PC cannot have (Reachable).
    const MediumItem* Find(const std::string& path) const;
    // The item stored under exactly this path, whatever its name holds.
    const MediumItem* Exact(const std::string& path) const;
    // False for a name no Windows file system holds as it stands: a "\" inside a name, bytes
    // that are not UTF-8, a link to nothing. Nothing on the reader's PC answers to such a name.
    static bool Reachable(const MediumItem& item);
    const std::vector<MediumItem>& Items() const { return items_; }  // sorted by path

    // A path's key: letters folded to one case as Windows compares names, "/" as "\".
    static std::string Fold(const std::string& path);

private:
    std::vector<MediumItem> items_;
    std::unordered_map<std::string, std::size_t> byKey_;
};

// The name of the file whose save left `name` behind ("config.ini" for "config.ini.~4711.tmp"): every
// file the program or the checker rewrites is first written as <name>.~<number>.tmp beside it. Nothing
// when `name` is no such leftover.
std::optional<std::string> LeftoverOf(const std::string& name);

// Where a menu entry's file or folder lies when the program hands it to the shell: the program
// resolves it against its current folder, which is the folder of Orvelund.exe, the medium's root.
struct ResolvedPath {
    enum class Place {
        Medium,    // on the medium: `path` is relative to the root ("" for the root itself)
        Absolute,  // a drive letter or a \\server\share path: on the author's PC only
        Outside,   // climbs above the root with ".."
    };
    Place place = Place::Medium;
    std::string path;
    bool fromDriveRoot = false;  // began with "\": the root of the drive the program runs from
};
ResolvedPath ResolveTarget(const std::string& target);
