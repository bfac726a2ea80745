#pragma once
// File services. Paths are Windows paths in UTF-8; text files are written as plain ASCII when
// that is all they hold, else in a Unicode form with a byte-order mark, and read in any of those
// forms or the system's ANSI code page. All conversion happens inside the implementation (with
// the rules of common/TextLines.h).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/TextLines.h"

// One name in a folder, as a listing gives it.
struct FolderEntry {
    std::string name;
    bool folder = false;
    std::uint64_t size = 0;  // bytes; 0 for a folder
    bool readable = true;    // a file that can be opened for reading
    bool link = false;       // a symbolic link (a linked folder is not entered)
    bool danglingLink = false;  // a symbolic link whose target is not there
    std::int64_t modified = 0;  // when it was last written, in seconds since 1970 UTC
};

// A file written piece by piece, as large files are (a disc image): the pieces go to a temporary
// name beside it, which Commit renames over the file's own name. Destroyed without Commit, the
// temporary file is removed, so a file of that name is always whole or the old one.
class FileWriter {
public:
    virtual ~FileWriter() = default;
    virtual bool Write(const char* data, std::size_t size) = 0;
    virtual bool Commit() = 0;
    virtual std::string Failure() const = 0;  // why the last Write or Commit failed, in words
};

class FileSystem {
public:
    static constexpr std::size_t kAllLines = std::numeric_limits<std::size_t>::max();

    virtual ~FileSystem() = default;
    virtual bool FileExists(const std::string& path) = 0;   // true only for a file, not a folder
    virtual bool FolderExists(const std::string& path) = 0;
    virtual bool CreateFolder(const std::string& path) = 0;  // one level; false when it failed

    // Lines of a text file without their terminators (CR LF, a lone LF and a lone CR each end
    // a line). Skips the first `skip` lines and returns at most `count`. nullopt when the file
    // cannot be opened.
    virtual std::optional<std::vector<std::string>> ReadLines(const std::string& path,
                                                              std::size_t skip = 0,
                                                              std::size_t count = kAllLines) = 0;

    // Writes every line followed by CR LF, as it stands when every line is ASCII, else in
    // `unicode`. The text goes to a temporary file in the same folder which then replaces the old
    // file, so a failed write leaves the old file as it was. Refuses a target that is a folder.
    virtual bool WriteTextFile(const std::string& path, const std::vector<std::string>& lines,
                               UnicodeForm unicode) = 0;

    // Writes bytes as they are, swapped in whole as WriteTextFile does.
    virtual bool WriteBytes(const std::string& path, const std::string& bytes) = 0;
    // A file written in pieces; nullptr, with `why` in words, when it cannot even be begun.
    virtual std::unique_ptr<FileWriter> BeginFile(const std::string& /*path*/, std::string& why) {
        why = "files cannot be written here";
        return nullptr;
    }

    // The names of the files (not folders) in a folder; empty when it cannot be read.
    virtual std::vector<std::string> FileNames(const std::string& folder) = 0;
    // Every file and folder in a folder ("." and ".." left out); nullopt when it cannot be read.
    virtual std::optional<std::vector<FolderEntry>> ListFolder(const std::string& folder) = 0;
    // The first `maxBytes` bytes of a file, all of it when shorter; nullopt when it cannot be read.
    virtual std::optional<std::string> ReadBytes(const std::string& path, std::size_t maxBytes) = 0;
    // The whole file piece by piece, until `sink` answers false; false when it cannot be read.
    virtual bool StreamFile(const std::string& path, const std::function<bool(const char*, std::size_t)>& sink) = 0;
    virtual bool Copy(const std::string& from, const std::string& to) = 0;  // replaces `to`
    virtual bool Delete(const std::string& path) = 0;
    // Resolves a relative path against the current folder; returns the text unchanged on failure.
    virtual std::string GetAbsolutePathName(const std::string& path) = 0;
};
