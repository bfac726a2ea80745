#pragma once
// The disc image as a file on disk, for orvelund-check: through std::filesystem and fstream, the
// same code on Linux and Windows, as DiskMedium reads the medium.
#include <cstdint>
#include <fstream>
#include <string>

#include "check/DiscImage.h"

class ImageFile : public ImageOutput {
public:
    // Opens the temporary file beside `path` (TemporaryName) and makes sure the disk has room for
    // `bytes`; Failure() says why when it has not, or the folder cannot be written.
    ImageFile(const std::string& path, std::uint64_t bytes);
    ~ImageFile() override;  // without Commit: the temporary file is removed
    ImageFile(const ImageFile&) = delete;
    ImageFile& operator=(const ImageFile&) = delete;

    bool Ready() const { return failure_.empty(); }
    bool Write(const char* data, std::size_t size) override;
    bool Commit() override;
    std::string Failure() const override { return failure_; }

private:
    void Fail(const std::string& what);
    std::string path_, temp_, failure_;
    std::ofstream out_;
    bool committed_ = false;
};

// Why no image may be written at `path`, in words for the command line; empty when it may. A
// folder, a named pipe or a device there, or a file that is not a disc image (an ISO 9660 image
// is written over; nothing else, so that a mistyped name never costs the author a file), or a
// folder that does not exist.
std::string UnusableImagePath(const std::string& path);

// The path of `file` on the medium whose root is `root`, with backslashes ("images\disc.iso");
// empty when it lies outside it.
std::string PathOnMedium(const std::string& root, const std::string& file);
