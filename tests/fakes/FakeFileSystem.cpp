#include "tests/fakes/FakeFileSystem.h"

#include <algorithm>
#include <cctype>

#include "common/CodePages.h"
#include "common/TextLines.h"

namespace {

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
    const ::CodePage reader = CodePageReader(codePage);
    for (auto& line : lines) line = TextLine(std::move(line), encoding, reader);
    return lines;
}

const ::CodePage& FakeFileSystem::CodePage() {
    static const ::CodePage codePage = CodePageReader(1252);
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
    return WriteBytes(path, TextFileBytes(lines, unicode));
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

std::optional<std::vector<FolderEntry>> FakeFileSystem::ListFolder(const std::string& folder) {
    const std::string key = Key(folder);
    if (!folders_.count(key) || locked_.count(key)) return std::nullopt;
    auto spelled = [&](const std::string& k) {
        const auto it = spelling_.find(k);
        const std::string& name = it == spelling_.end() ? k : it->second;
        return name.substr(name.find_last_of('\\') + 1);
    };
    auto in = [&](const std::string& k) {  // a drive's root is "c:\\", the parent of its names "c:"
        const std::string parent = Parent(k);
        return k != key && (parent == key || (parent.size() == 2 && parent + "\\" == key));
    };
    std::vector<FolderEntry> entries;
    for (const auto& f : folders_)
        if (in(f)) entries.push_back({spelled(f), true, 0, true, false, false});
    for (const auto& [path, bytes] : files_)
        if (in(path)) entries.push_back({spelled(path), false, bytes.size(), !locked_.count(path), false, false});
    return entries;
}

std::optional<std::string> FakeFileSystem::ReadBytes(const std::string& path, std::size_t maxBytes) {
    if (!Has(path) || Locked(path)) return std::nullopt;
    return Content(path).substr(0, maxBytes);
}

bool FakeFileSystem::StreamFile(const std::string& path, const std::function<bool(const char*, std::size_t)>& sink) {
    if (!Has(path) || Locked(path)) return false;
    // In pieces of an odd size, so that whatever reads them meets lines and characters cut in two.
    const std::string bytes = Content(path);
    constexpr std::size_t kPiece = 4093;
    for (std::size_t at = 0; at < bytes.size(); at += kPiece)
        if (!sink(bytes.data() + at, std::min(kPiece, bytes.size() - at))) break;
    return true;
}

namespace {

class FakeFileWriter : public FileWriter {
public:
    FakeFileWriter(FakeFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    bool Write(const char* data, std::size_t size) override {
        if (bytes_.size() + size > fs_.freeSpace) return Fail("the disk is full");
        bytes_.append(data, size);
        return true;
    }
    bool Commit() override { return fs_.WriteBytes(path_, bytes_) || Fail("the folder cannot be written to"); }
    std::string Failure() const override { return failure_; }

private:
    bool Fail(const std::string& why) {
        failure_ = why;
        return false;
    }
    FakeFileSystem& fs_;
    std::string path_, bytes_, failure_;
};

}  // namespace

std::unique_ptr<FileWriter> FakeFileSystem::BeginFile(const std::string& path, std::string& why) {
    if (FolderExists(path) || !CanWrite(Key(path)) || !FolderExists(Parent(Key(path)))) {
        why = "the folder cannot be written to";
        return nullptr;
    }
    return std::make_unique<FakeFileWriter>(*this, path);
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
