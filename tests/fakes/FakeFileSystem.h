#pragma once
// An in-memory file system keyed by Windows paths, compared without case as Windows does.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

class FakeFileSystem : public FileSystem {
public:
    std::string currentFolder = "C:\\Work";
    unsigned codePage = 1252;  // the PC's ANSI code page, which text without a mark is read in

    // Test set-up and inspection.
    void AddFile(const std::string& path, const std::string& text);
    void AddFolder(const std::string& path);
    bool Has(const std::string& path) const;
    std::string Content(const std::string& path) const;  // the bytes on "disk"
    void SetReadOnly(const std::string& path) { readOnly_.insert(Key(path)); }
    void FailWritesUnder(const std::string& folder) { failing_.insert(Key(folder)); }
    void Lock(const std::string& path) { locked_.insert(Key(path)); }  // exists, cannot be opened
    std::vector<std::string> writes;  // every path written, in order
    bool Locked(const std::string& path) const { return locked_.count(Key(path)) != 0; }

    // Every file and folder below `root`, with paths relative to it in the spelling they were
    // created with (keys fold the case, as Windows compares names).
    struct TreeItem {
        std::string path;
        bool folder;
        std::size_t size;
    };
    std::vector<TreeItem> Tree(const std::string& root) const;

    bool FileExists(const std::string& path) override;
    bool FolderExists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    std::optional<std::vector<std::string>> ReadLines(const std::string& path, std::size_t skip,
                                                      std::size_t count) override;
    bool WriteTextFile(const std::string& path, const std::vector<std::string>& lines, UnicodeForm unicode) override;
    // Windows-1252, the code page of most Western systems.
    static const ::CodePage& CodePage();
    std::vector<std::string> FileNames(const std::string& folder) override;
    std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder) override;
    std::optional<std::string> ReadBytes(const std::string& path, std::size_t maxBytes) override;
    bool StreamFile(const std::string& path, const std::function<bool(const char*, std::size_t)>& sink) override;
    bool Copy(const std::string& from, const std::string& to) override;
    bool Delete(const std::string& path) override;
    std::string GetAbsolutePathName(const std::string& path) override;

    // Writes raw bytes with the same rules as a text file; used by the fake pictures too.
    bool WriteBytes(const std::string& path, const std::string& bytes) override;
    // The pieces are kept aside and written whole at Commit; more than `freeSpace` bytes fail.
    std::unique_ptr<FileWriter> BeginFile(const std::string& path, std::string& why) override;
    std::size_t freeSpace = static_cast<std::size_t>(-1);
    static std::string Key(const std::string& path);
    static std::string Normalize(const std::string& path, bool foldCase);

private:
    bool CanWrite(const std::string& path) const;
    void Spell(const std::string& path);  // remembers how `path` and its folders are spelled
    std::map<std::string, std::string> files_;
    std::map<std::string, std::string> spelling_;  // key -> the path as first written
    std::set<std::string> folders_, readOnly_, failing_, locked_;
};
