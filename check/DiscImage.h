#pragma once
// A disc image of a medium, ready to burn: ISO 9660 with Joliet names, which Windows burns and
// mounts with its own tools. Portable code: orvelund-check --iso makes the image with it, and so
// does the check window's Make Disc Image, each with an output of its own.
//
// The image holds everything below the medium's root as a disc of that folder would: the same
// names, tree, bytes and dates. A name or file it cannot hold as it stands stops the image whole
// (Refusals); nothing is ever cut, renamed or dropped. The same medium, label and time give the
// same bytes.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "check/Medium.h"
#include "check/Report.h"

// Where an image goes, piece by piece in order. The pieces are kept under a temporary name until
// Commit renames them over the image's own name; an output destroyed without Commit removes them,
// so that no half image is ever left where a whole one is expected.
class ImageOutput {
public:
    virtual ~ImageOutput() = default;
    virtual bool Write(const char* data, std::size_t size) = 0;
    // Flushes the pieces and renames them over the image's name.
    virtual bool Commit() = 0;
    // Why the last Write or Commit failed, in words for the author ("the disk is full").
    virtual std::string Failure() const = 0;
};

// Bytes of the image written so far, and in all. Returning false cancels the image.
using ImageProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// The image's own date, in seconds since 1970 UTC: SOURCE_DATE_EPOCH when it is set, so that the
// same folder gives the same bytes wherever and whenever it is made; the clock otherwise.
std::int64_t ImageTime();

class DiscImage {
public:
    // Lays the image out from the medium's listing: everything below its root but the files in
    // `leaveOut` (medium paths: the image itself, when it is made inside the folder) and the
    // leftovers of interrupted saves. `label` is the label the author wants (the menu's title, as
    // the window's caption shows it); the image holds what the formats can of it. `time`: ImageTime().
    DiscImage(Medium& medium, const std::string& label, std::int64_t time,
              const std::vector<std::string>& leaveOut = {});
    ~DiscImage();

    // The names and files the image cannot hold as they stand (E-IMAGE-...), one finding each.
    // While there are any, Write writes nothing.
    const std::vector<Finding>& Refusals() const;
    // What the author should know about the image (N-IMAGE-...): a label that was cut, what is
    // left out, folders deeper than eight levels, and its size and the discs it fits.
    const std::vector<Finding>& Notes() const;
    const std::string& Label() const;  // as Windows shows it from the image
    std::uint64_t Sectors() const;     // of 2 KiB, the whole image
    std::uint64_t Bytes() const { return Sectors() * 2048; }

    enum class Outcome { Written, Refused, Cancelled, Failed };
    struct Result {
        Outcome outcome = Outcome::Failed;
        std::string problem;  // Failed: what went wrong, in words ("docs\a.pdf could not be read")
    };
    // Writes the whole image to `out` and commits it. `progress` hears of every piece written.
    Result Write(ImageOutput& out, const ImageProgress& progress = {});

private:
    struct Plan;
    std::unique_ptr<Plan> plan_;
    Medium& medium_;
};
