#pragma once
#include <string>

#include "platform/FileSystem.h"

// Writes bytes to a temporary file beside `path` and swaps it in, so that a failed write leaves
// the old file as it was. Refuses a read-only target, as Windows does and Wine does not, and a
// target that is a folder (which Wine's replace would move away).
bool WriteFileAtomic(const std::string& path, const std::string& bytes);

class Win32FileSystem : public FileSystem {
public:
    bool FileExists(const std::string& path) override;
    bool FolderExists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    std::optional<std::vector<std::string>> ReadLines(const std::string& path, std::size_t skip,
                                                      std::size_t count) override;
    bool WriteTextFile(const std::string& path, const std::vector<std::string>& lines, UnicodeForm unicode) override;
    bool WriteBytes(const std::string& path, const std::string& bytes) override { return WriteFileAtomic(path, bytes); }
    std::unique_ptr<FileWriter> BeginFile(const std::string& path, std::string& why) override;
    std::vector<std::string> FileNames(const std::string& folder) override;
    std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder) override;
    std::optional<std::string> ReadBytes(const std::string& path, std::size_t maxBytes) override;
    bool StreamFile(const std::string& path, const std::function<bool(const char*, std::size_t)>& sink) override;
    bool Copy(const std::string& from, const std::string& to) override;
    bool Delete(const std::string& path) override;
    std::string GetAbsolutePathName(const std::string& path) override;
};
