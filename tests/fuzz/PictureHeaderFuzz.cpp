// Any bytes as a picture file: the header check never reads outside the bytes it is given, what
// it passes has a size the program can hold, and what the first bytes alone show to be wrong the
// whole file shows too.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/PictureHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const PictureInfo whole = ReadPictureHeader(data, size, size);
    if (!whole.complete) __builtin_trap();
    if (whole.Sound() && (whole.width == 0 || whole.height == 0 || whole.width > kMaxPictureSide ||
                          whole.height > kMaxPictureSide))
        __builtin_trap();
    if (whole.kind == PictureKind::Unknown && whole.problem.empty()) __builtin_trap();

    // The first bytes of a larger file, in a buffer of exactly their size.
    const std::size_t given = size ? data[size - 1] % (size + 1) : 0;
    const std::vector<std::uint8_t> first(data, data + given);
    const PictureInfo part = ReadPictureHeader(first.data(), first.size(), size);
    if (!part.problem.empty() && whole.problem.empty()) __builtin_trap();
    if (part.kind != PictureKind::Unknown && part.kind != whole.kind) __builtin_trap();
    return 0;
}
