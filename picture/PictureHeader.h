#pragma once
// What a picture file's header says about it, checked against the file's real size before any
// decoder sees the bytes: the system's bitmap and icon loaders trust the header's offsets and
// sizes and read past the end of a damaged file. No system calls; safe on any bytes.
#include <cstddef>
#include <cstdint>
#include <string>

enum class PictureKind { Unknown, Jpeg, Bmp, Gif, Png, Ico };

struct PictureInfo {
    PictureKind kind = PictureKind::Unknown;
    std::uint32_t width = 0, height = 0;  // of the first image of an icon file; 0 when not known
    // Empty when the header is consistent with the file; otherwise what is wrong, in words a
    // user can act on ("the pixel data runs past the end of the file").
    std::string problem;
    // False when a check needed bytes past the `size` given (an icon's images, a JPEG's frame
    // header after a long preview); pass the whole file to check everything.
    bool complete = true;

    bool Sound() const { return kind != PictureKind::Unknown && problem.empty(); }
};

// `data` holds the first `size` bytes of a file of `fileSize` bytes (all of it when size equals
// fileSize). An unknown kind comes with a problem text too, unless too few bytes were given to
// tell the kind (complete is then false).
PictureInfo ReadPictureHeader(const unsigned char* data, std::size_t size, std::uint64_t fileSize);

// "JPEG", "BMP", "GIF", "PNG", "ICO" or "unknown".
const char* PictureKindName(PictureKind kind);

// The largest picture the program takes: each side at most 65535 pixels and at most 2^28 pixels
// in all. A header claiming more is a problem whatever the file's size.
constexpr std::uint32_t kMaxPictureSide = 65535;
constexpr std::uint64_t kMaxPicturePixels = std::uint64_t(1) << 28;
