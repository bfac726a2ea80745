#pragma once
// The medium through the program's own file services, as the Menu Editor checks it: the folder
// of Orvelund.exe and everything below it. A file can be given other bytes than the disk holds,
// so the check sees the menu as the editor would save it now.
#include <map>
#include <string>

#include "check/Medium.h"
#include "platform/FileSystem.h"

class FileSystemMedium : public Medium {
public:
    // `root`: the program's folder, a Windows path (a drive's root ends in "\").
    FileSystemMedium(FileSystem& files, std::string root) : files_(files), root_(std::move(root)) {}
    // `path` relative to the root, "content\config.ini": read as these bytes, whatever is on disk.
    void Overlay(const std::string& path, std::string bytes) { overlay_[path] = std::move(bytes); }

    std::vector<MediumItem> List() override;
    std::optional<std::string> Read(const std::string& path, std::size_t maxBytes) override;
    bool Stream(const std::string& path, const PieceSink& sink) override;

private:
    std::string Full(const std::string& relative) const;
    const std::string* Overlaid(const std::string& path) const;

    FileSystem& files_;
    std::string root_;
    std::map<std::string, std::string> overlay_;
};
