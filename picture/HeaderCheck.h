#pragma once
// The pieces the picture-header checks share: a bounds-checked view of the file's bytes and the
// record of what a check found. One file holds the checks of the Windows formats (bitmaps and
// icons), another those of the web formats (PNG, GIF, JPEG).
#include <cstdint>
#include <string>

#include "picture/PictureHeader.h"

namespace headercheck {

// A stretch of the file: `len` bytes of which the first `avail` are at hand. Offsets are
// relative to its start and always checked in 64 bits, so no header value can overflow them.
struct View {
    const unsigned char* p;
    std::size_t avail;
    std::uint64_t len;

    View Sub(std::uint64_t at, std::uint64_t n) const {
        const std::size_t here = at < avail ? static_cast<std::size_t>(at) : avail;
        const std::uint64_t given = avail - here < n ? avail - here : n;
        return {p + here, static_cast<std::size_t>(given), n};
    }
    bool InFile(std::uint64_t at, std::uint64_t n) const { return at <= len && n <= len - at; }
    bool Given(std::uint64_t at, std::uint64_t n) const { return at <= avail && n <= avail - at; }
    unsigned U8(std::uint64_t at) const { return p[at]; }
    unsigned U16(std::uint64_t at) const { return p[at] | (p[at + 1] << 8); }
    std::uint32_t U32(std::uint64_t at) const {
        return std::uint32_t(p[at]) | (std::uint32_t(p[at + 1]) << 8) | (std::uint32_t(p[at + 2]) << 16) |
               (std::uint32_t(p[at + 3]) << 24);
    }
    unsigned U16BE(std::uint64_t at) const { return (p[at] << 8) | p[at + 1]; }
    std::uint32_t U32BE(std::uint64_t at) const {
        return (std::uint32_t(p[at]) << 24) | (std::uint32_t(p[at + 1]) << 16) | (std::uint32_t(p[at + 2]) << 8) |
               std::uint32_t(p[at + 3]);
    }
};

// What a check found. `Need` says whether bytes can be read: false either way when they cannot,
// and it records why (past the end of the file is a problem, merely not given is not).
struct Check {
    std::string problem;
    bool complete = true;
    std::uint32_t width = 0, height = 0;

    bool Failed(std::string text) {
        if (problem.empty()) problem = std::move(text);
        return false;
    }
    bool Need(const View& v, std::uint64_t at, std::uint64_t n, const char* truncated) {
        if (!v.InFile(at, n)) return Failed(truncated);
        if (!v.Given(at, n)) {
            complete = false;
            return false;
        }
        return true;
    }
    bool Size(std::uint64_t w, std::uint64_t h) {
        if (w == 0 || h == 0) return Failed("the picture's width or height is zero");
        if (w > kMaxPictureSide || h > kMaxPictureSide || w * h > kMaxPicturePixels)
            return Failed("the picture claims to be " + std::to_string(w) + " x " + std::to_string(h) +
                          " pixels, more than the program shows");
        return true;
    }
};

extern const unsigned char kPngSignature[8];

void CheckBmp(Check& c, const View& v);
void CheckIco(Check& c, const View& v);
// `inIcon`: a PNG image inside an icon file, which the icon's directory entry sizes.
void CheckPng(Check& c, const View& v, bool inIcon);
void CheckGif(Check& c, const View& v);
void CheckJpeg(Check& c, const View& v);

}  // namespace headercheck
