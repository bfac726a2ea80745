#pragma once
// The medium in a real folder, through std::filesystem: the same code on Linux and Windows.
#include <string>

#include "check/Medium.h"

class DiskMedium : public Medium {
public:
    explicit DiskMedium(const std::string& root);  // UTF-8
    std::vector<MediumItem> List() override;
    std::optional<std::string> Read(const std::string& path, std::size_t maxBytes) override;
    bool Stream(const std::string& path, const PieceSink& sink) override;

private:
    std::string root_;
};

// Why a folder cannot be checked, in words for the command line; empty when it can.
std::string UnusableRoot(const std::string& root);

// The temporary name a file is written under before it is renamed to `path`: "<path>.~4711.tmp",
// which the checker knows for the leftover of an interrupted save.
std::string TemporaryName(const std::string& path);

// Writes `bytes` to a temporary file in the same folder and renames it over `path`, so readers
// see the old file or the new one, never half of one. False, and nothing changed, when it failed.
bool ReplaceFileWhole(const std::string& path, const std::string& bytes);

// Why `path` must not be written as a web page, in words for the command line: something that is
// not a plain file (a named pipe, a device, a folder) stands there. Empty when nothing or a plain
// file is there. Such a thing is never opened: opening a named pipe for writing waits for ever.
std::string NotAPlainFile(const std::string& path);

// The start of a file, nullopt when there is no such file or it is not a plain file.
std::optional<std::string> ReadFileStart(const std::string& path, std::size_t maxBytes);
