#include "check/MediumIndex.h"

#include <algorithm>

#include "common/TextLines.h"

std::string MediumIndex::Fold(const std::string& path) {
    std::string out;
    out.reserve(path.size());
    const auto* b = reinterpret_cast<const unsigned char*>(path.data());
    const std::size_t n = path.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = b[i];
        if (c < 0x80) {
            out += c == '/' ? '\\' : static_cast<char>(WindowsLower(c));
            ++i;
        } else if ((c & 0xE0) == 0xC0 && i + 1 < n && (b[i + 1] & 0xC0) == 0x80) {
            AppendUtf8(out, WindowsLower(((c & 0x1Fu) << 6) | (b[i + 1] & 0x3Fu)));
            i += 2;
        } else {
            out += static_cast<char>(c);  // longer sequences and stray bytes stay as they are
            ++i;
        }
    }
    return out;
}

MediumIndex::MediumIndex(std::vector<MediumItem> items) : items_(std::move(items)) {
    // Sorted by their bytes, so that every report lists them in the same order on every system.
    std::sort(items_.begin(), items_.end(), [](const MediumItem& a, const MediumItem& b) { return a.path < b.path; });
    byKey_.reserve(items_.size());
    // A name the reader's PC cannot have is no place an entry can open: a "\" inside a name, bytes
    // that are no UTF-8 (no Windows file system stores them), a link to nothing.
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const MediumItem& item = items_[i];
        if (!Reachable(item)) continue;
        byKey_.emplace(Fold(item.path), i);
    }
}

bool MediumIndex::Reachable(const MediumItem& item) {
    return !item.backslashInName && !item.danglingLink && IsUtf8(item.path.data(), item.path.size());
}

const MediumItem* MediumIndex::Exact(const std::string& path) const {
    const auto it = std::lower_bound(items_.begin(), items_.end(), path,
                                     [](const MediumItem& item, const std::string& p) { return item.path < p; });
    return it != items_.end() && it->path == path ? &*it : nullptr;
}

const MediumItem* MediumIndex::Find(const std::string& path) const {
    // The name as it is spelt first: of two names that differ only in case, the one meant.
    if (const MediumItem* exact = Exact(path); exact && Reachable(*exact)) return exact;
    const auto it = byKey_.find(Fold(path));
    return it == byKey_.end() ? nullptr : &items_[it->second];
}

std::optional<std::string> LeftoverOf(const std::string& name) {
    std::string tail = name.substr(name.size() < 4 ? 0 : name.size() - 4);
    for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    const auto mark = name.rfind(".~");
    if (tail != ".tmp" || mark == std::string::npos || name.size() <= mark + 6) return std::nullopt;
    for (std::size_t i = mark + 2; i < name.size() - 4; ++i)
        if (name[i] < '0' || name[i] > '9') return std::nullopt;
    return name.substr(0, mark);
}

ResolvedPath ResolveTarget(const std::string& target) {
    ResolvedPath r;
    std::string t = target;
    std::replace(t.begin(), t.end(), '/', '\\');
    if (t.rfind("\\\\", 0) == 0 || (t.size() >= 2 && t[1] == ':')) {
        r.place = ResolvedPath::Place::Absolute;
        r.path = target;
        return r;
    }
    r.fromDriveRoot = !t.empty() && t[0] == '\\';
    // As GetFullPathName folds a path: empty parts and "." go, ".." takes the part before it,
    // and every part loses its trailing dots and blanks.
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto slash = t.find('\\', start);
        std::string part = t.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (part == "..") {
            if (parts.empty()) {
                r.place = ResolvedPath::Place::Outside;
                r.path = target;
                return r;
            }
            parts.pop_back();
        } else if (part != ".") {
            while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
            if (!part.empty()) parts.push_back(std::move(part));
        }
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    for (std::size_t i = 0; i < parts.size(); ++i) r.path += (i ? "\\" : "") + parts[i];
    return r;
}
