#pragma once
// A medium as the checker sees it: a read-only tree of files and folders below one root folder,
// the folder that holds Orvelund.exe. Paths are relative to the root, UTF-8, with backslashes, in
// the spelling the medium stores them.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct MediumItem {
    std::string path;         // "content\config.ini"
    bool folder = false;
    std::uint64_t size = 0;   // bytes; 0 for a folder
    bool readable = true;     // false: a folder that could not be listed or a file that cannot be opened
};

class Medium {
public:
    virtual ~Medium() = default;
    // Every file and folder below the root, in any order.
    virtual std::vector<MediumItem> List() = 0;
    // The first `maxBytes` bytes of a file (all of it when it is shorter); nullopt when it cannot be read.
    virtual std::optional<std::string> Read(const std::string& path, std::size_t maxBytes) = 0;
};
