#include "relocate/FolderList.h"

#include <algorithm>

namespace {

// "C:\a\b" -> "C:\", "C:\a", "C:\a\b".
std::vector<std::string> PathAndAncestors(const std::string& path) {
    std::vector<std::string> out;
    if (path.size() < 3) return out;
    out.push_back(path.substr(0, 3));
    for (std::size_t i = 3; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '\\') out.push_back(path.substr(0, i));
    if (out.size() > 1 && out.back() == out[out.size() - 2]) out.pop_back();
    return out;
}

}  // namespace

std::optional<std::string> FolderList::Opened(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= rows.size()) return std::nullopt;
    return rows[static_cast<std::size_t>(row)].path;
}

std::string OpenedFolderPath(const std::string& requested) {
    std::string path = requested;
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

std::string FolderChild(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

FolderList MakeFolderList(const std::string& folder, const std::vector<std::string>& subfolders) {
    std::vector<std::string> children;
    for (const auto& name : subfolders) children.push_back(FolderChild(folder, name));
    std::sort(children.begin(), children.end());

    std::vector<std::string> paths = PathAndAncestors(folder);
    const std::size_t depth = paths.size();
    paths.insert(paths.end(), children.begin(), children.end());
    FolderList list;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string& p = paths[i];
        const std::string name = i == 0 ? p : p.substr(p.find_last_of('\\') + 1);
        list.rows.push_back({p, std::string(2 * std::min(i, depth), ' ') + name});
    }
    list.selected = static_cast<int>(depth) - 1;
    return list;
}
