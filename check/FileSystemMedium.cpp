#include "check/FileSystemMedium.h"

#include <algorithm>

#include "check/MediumIndex.h"

std::string FileSystemMedium::Full(const std::string& relative) const {
    if (relative.empty()) return root_;
    return root_ + (!root_.empty() && root_.back() == '\\' ? "" : "\\") + relative;
}

const std::string* FileSystemMedium::Overlaid(const std::string& path) const {
    for (const auto& [name, bytes] : overlay_)
        if (MediumIndex::Fold(name) == MediumIndex::Fold(path)) return &bytes;
    return nullptr;
}

std::vector<MediumItem> FileSystemMedium::List() {
    std::vector<MediumItem> items;
    // Folders are walked one by one, so that one that cannot be read is reported and the rest of
    // the medium is still listed.
    std::vector<std::string> pending{std::string()};
    while (!pending.empty()) {
        const std::string relative = std::move(pending.back());
        pending.pop_back();
        const auto entries = files_.ListFolder(Full(relative));
        if (!entries) {
            for (auto& item : items)
                if (item.path == relative) item.readable = false;
            continue;
        }
        for (const FolderEntry& e : *entries) {
            // Windows' own folders at the root of a stick are neither copied nor burned.
            if (relative.empty() && (e.name == "System Volume Information" || e.name == "$RECYCLE.BIN")) continue;
            MediumItem item;
            item.path = (relative.empty() ? std::string() : relative + "\\") + e.name;
            item.folder = e.folder;
            item.size = e.folder ? 0 : e.size;
            item.readable = e.readable;
            item.danglingLink = e.danglingLink;
            item.linkedFolder = e.folder && e.link;
            item.modified = e.modified;
            // A linked folder is listed but not entered: a link back up would never end.
            if (e.folder && !e.link) pending.push_back(item.path);
            items.push_back(std::move(item));
        }
    }
    for (const auto& overlaid : overlay_) {
        const std::string key = MediumIndex::Fold(overlaid.first);
        auto it = std::find_if(items.begin(), items.end(),
                               [&](const MediumItem& i) { return MediumIndex::Fold(i.path) == key; });
        if (it == items.end()) it = items.insert(items.end(), MediumItem{overlaid.first});
        it->folder = false;
        it->size = overlaid.second.size();
        it->readable = true;
    }
    return items;
}

std::optional<std::string> FileSystemMedium::Read(const std::string& path, std::size_t maxBytes) {
    if (const std::string* bytes = Overlaid(path)) return bytes->substr(0, maxBytes);
    return files_.ReadBytes(Full(path), maxBytes);
}

bool FileSystemMedium::Stream(const std::string& path, const PieceSink& sink) {
    if (const std::string* bytes = Overlaid(path)) {
        if (!bytes->empty()) sink(bytes->data(), bytes->size());
        return true;
    }
    return files_.StreamFile(Full(path), sink);
}
