#pragma once
// A medium as the checker sees it: a read-only tree of files and folders below one root folder,
// the folder that holds Orvelund.exe. Paths are relative to the root, UTF-8, with backslashes, in
// the spelling the medium stores them.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct MediumItem {
    std::string path;         // "content\config.ini"
    bool folder = false;
    std::uint64_t size = 0;   // bytes; 0 for a folder
    bool readable = true;     // false: a folder that could not be listed or a file that cannot be opened
    // Names that no Windows file system can hold as they stand, so that nothing on the reader's PC
    // has them: a "\" inside its name or the name of a folder above it (possible on Linux; `path`
    // then shows it as a separator), and a symbolic link whose target is not there.
    bool backslashInName = false;
    bool danglingLink = false;
    std::size_t nameLength = 0;  // not 0: its own name is the last this many bytes of `path` (a "\\" inside it)
    std::int64_t modified = 0;   // when it was last written, in seconds since 1970 UTC
    bool linkedFolder = false;   // a symbolic link to a folder: listed, never entered
};

// Takes the next piece of a file; false stops the reading.
using PieceSink = std::function<bool(const char* data, std::size_t size)>;

class Medium {
public:
    virtual ~Medium() = default;
    // Every file and folder below the root, in any order.
    virtual std::vector<MediumItem> List() = 0;
    // The first `maxBytes` bytes of a file (all of it when it is shorter); nullopt when it cannot be read.
    virtual std::optional<std::string> Read(const std::string& path, std::size_t maxBytes) = 0;
    // The whole file piece by piece, from its start, so that a file of any size is read in little
    // memory. False when it cannot be read.
    virtual bool Stream(const std::string& path, const PieceSink& sink) = 0;
};
