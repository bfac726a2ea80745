#include "tests/fakes/FakeFileSystem.h"

#include <algorithm>
#include <cctype>

#include "common/TextLines.h"

namespace {

// The fake's code page is Windows-1252, the code page of most Western Windows systems; its
// files hold code-page text as UTF-8, so a test reads what it wrote.
const char32_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                  0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::string Utf8Of(char32_t c) {
    std::string out;
    AppendUtf8(out, static_cast<unsigned>(c));
    return out;
}

bool InCp1252(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return true;
    for (char32_t high : kCp1252High)
        if (high && high == c) return true;
    return false;
}

std::optional<std::string> FakeToAnsi(const std::string& utf8) {
    const auto* b = reinterpret_cast<const unsigned char*>(utf8.data());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = b[i];
        std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (n > 1) c &= 0x3F >> (n - 1);
        for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k) c = (c << 6) | (b[i + k] & 0x3F);
        if (!InCp1252(c)) return std::nullopt;
        i += n;
    }
    return utf8;
}

std::string FakeFromAnsi(const std::string& ansi) {
    std::string out;
    for (const char ch : ansi) {
        const auto c = static_cast<unsigned char>(ch);
        out += Utf8Of(c >= 0x80 && c < 0xA0 && kCp1252High[c - 0x80] ? kCp1252High[c - 0x80] : char32_t(c));
    }
    return out;
}

std::string Parent(const std::string& key) {
    const auto slash = key.find_last_of('\\');
    return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

}  // namespace

std::string FakeFileSystem::Key(const std::string& path) { return Normalize(path, true); }

std::string FakeFileSystem::Normalize(const std::string& path, bool fold) {
    // Doubled backslashes (a drive root's AppPath followed by "\content") name the same file.
    std::string key;
    for (const char c : path) {
        const char lower = fold ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : c;
        if (lower == '\\' && !key.empty() && key.back() == '\\') continue;
        key += lower == '/' ? '\\' : lower;
    }
    while (key.size() > 3 && key.back() == '\\') key.pop_back();
    // "content\..\x" names "x", as Windows folds it.
    if (key.find("\\.") == std::string::npos) return key;
    std::vector<std::string> parts;
    std::string part;
    for (std::size_t i = 0; i <= key.size(); ++i) {
        if (i < key.size() && key[i] != '\\') {
            part += key[i];
            continue;
        }
        if (part == ".." && parts.size() > 1) parts.pop_back();
        else if (part != ".") parts.push_back(part);
        part.clear();
    }
    std::string folded;
    for (std::size_t i = 0; i < parts.size(); ++i) folded += (i ? "\\" : "") + parts[i];
    return folded.size() == 2 && folded[1] == ':' ? folded + "\\" : folded;
}

void FakeFileSystem::Spell(const std::string& path) {
    // The path and each folder above it; the first spelling stays, as a file system keeps a name's case.
    for (std::string spelled = Normalize(path, false); !spelled.empty(); spelled = Parent(spelled))
        spelling_.emplace(Key(spelled), spelled);
}

std::vector<FakeFileSystem::TreeItem> FakeFileSystem::Tree(const std::string& root) const {
    std::vector<TreeItem> items;
    const std::string prefix = Key(root) + "\\";
    auto relative = [&](const std::string& key) {
        const auto it = spelling_.find(key);
        return (it == spelling_.end() ? key : it->second).substr(prefix.size());
    };
    for (const auto& key : folders_)
        if (key.rfind(prefix, 0) == 0) items.push_back({relative(key), true, 0});
    for (const auto& [key, bytes] : files_)
        if (key.rfind(prefix, 0) == 0) items.push_back({relative(key), false, bytes.size()});
    return items;
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& text) {
    Spell(path);
    files_[Key(path)] = text;
    for (std::string p = Parent(Key(path)); !p.empty(); p = Parent(p)) folders_.insert(p);
}

void FakeFileSystem::AddFolder(const std::string& path) {
    Spell(path);
    for (std::string p = Key(path); !p.empty(); p = Parent(p)) folders_.insert(p);
}

bool FakeFileSystem::Has(const std::string& path) const { return files_.count(Key(path)) != 0; }

std::string FakeFileSystem::Content(const std::string& path) const {
    const auto it = files_.find(Key(path));
    return it == files_.end() ? std::string() : it->second;
}

bool FakeFileSystem::FileExists(const std::string& path) { return Has(path); }

bool FakeFileSystem::FolderExists(const std::string& path) { return folders_.count(Key(path)) != 0; }

bool FakeFileSystem::CreateFolder(const std::string& path) {
    const std::string key = Key(path);
    if (folders_.count(key) || files_.count(key) || !folders_.count(Parent(key)) || !CanWrite(key)) return false;
    folders_.insert(key);
    Spell(path);
    return true;
}

std::optional<std::vector<std::string>> FakeFileSystem::ReadLines(const std::string& path, std::size_t skip,
                                                                  std::size_t count) {
    const auto it = files_.find(Key(path));
    if (it == files_.end() || locked_.count(Key(path))) return std::nullopt;
    // The fake's files hold UTF-8 where the real ones hold the ANSI code page; marks are read alike.
    const std::string& bytes = it->second;
    std::size_t mark = 0;
    const TextEncoding encoding = DetectEncoding(bytes.data(), bytes.size(), mark);
    std::vector<std::string> lines;
    if (encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE)
        lines = SplitLines(Utf8FromUtf16(bytes.data() + mark, bytes.size() - mark, bytes[0] == '\xFE'), skip, count);
    else
        lines = SplitLines(bytes.substr(mark), skip, count);
    for (auto& line : lines) line = TextLine(std::move(line), encoding, CodePage());
    return lines;
}

const ::CodePage& FakeFileSystem::CodePage() {
    static const ::CodePage codePage{FakeToAnsi, FakeFromAnsi};
    return codePage;
}

bool FakeFileSystem::CanWrite(const std::string& key) const {
    if (readOnly_.count(key)) return false;
    for (std::string p = Parent(key); !p.empty(); p = Parent(p))
        if (failing_.count(p)) return false;
    return true;
}

bool FakeFileSystem::WriteBytes(const std::string& path, const std::string& bytes) {
    const std::string key = Key(path);
    if (!folders_.count(Parent(key)) || folders_.count(key) || !CanWrite(key)) return false;
    files_[key] = bytes;
    Spell(path);
    writes.push_back(path);
    return true;
}

bool FakeFileSystem::WriteTextFile(const std::string& path, const std::vector<std::string>& lines,
                                   UnicodeForm unicode) {
    return WriteBytes(path, TextFileBytes(lines, unicode, CodePage()));
}

std::vector<std::string> FakeFileSystem::FileNames(const std::string& folder) {
    std::vector<std::string> names;
    const std::string key = Key(folder);
    // In the spelling the file was made with, as Windows lists names.
    for (const auto& [path, bytes] : files_) {
        if (Parent(path) != key) continue;
        const auto spelled = spelling_.find(path);
        const std::string& name = spelled == spelling_.end() ? path : spelled->second;
        names.push_back(name.substr(name.find_last_of('\\') + 1));
    }
    return names;
}

bool FakeFileSystem::Copy(const std::string& from, const std::string& to) {
    if (!Has(from) || Key(from) == Key(to)) return false;
    return WriteBytes(to, Content(from));
}

bool FakeFileSystem::Delete(const std::string& path) {
    const std::string key = Key(path);
    if (!files_.count(key) || readOnly_.count(key)) return false;
    files_.erase(key);
    return true;
}

std::string FakeFileSystem::GetAbsolutePathName(const std::string& path) {
    std::string full;
    if (path.size() >= 2 && path[1] == ':' && (path.size() == 2 || path[2] != '\\')) {
        // "D:" and "D:x": relative to the drive's current folder, which only the current drive has
        const bool currentDrive = std::tolower(static_cast<unsigned char>(path[0])) ==
                                  std::tolower(static_cast<unsigned char>(currentFolder[0]));
        full = (currentDrive ? currentFolder : path.substr(0, 2)) + "\\" + path.substr(2);
    } else if (path.size() >= 2 && path[1] == ':') full = path;           // C:\x
    else if (path.rfind("\\\\", 0) == 0) return path;                      // \\server\share
    else if (!path.empty() && path[0] == '\\') full = currentFolder.substr(0, 2) + path;
    else full = currentFolder + "\\" + path;
    // Fold "." and ".." the way GetFullPathName does.
    std::vector<std::string> parts;
    std::string part;
    for (std::size_t i = 0; i <= full.size(); ++i) {
        if (i == full.size() || full[i] == '\\') {
            if (part == "..") {
                if (parts.size() > 1) parts.pop_back();
            } else if (!part.empty() && part != ".") {
                parts.push_back(part);
            }
            part.clear();
        } else {
            part += full[i];
        }
    }
    std::string out = parts.empty() ? std::string() : parts[0];
    for (std::size_t i = 1; i < parts.size(); ++i) out += "\\" + parts[i];
    if (parts.size() <= 1) out += "\\";
    if (!path.empty() && (path.back() == '\\') && out.back() != '\\') out += "\\";
    return out;
}
