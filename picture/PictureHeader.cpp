#include "picture/PictureHeader.h"

#include <cstring>

namespace {

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

const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// ---- Windows bitmaps: a file's BITMAPINFO, or an icon's image without the file header ----------

// Checks the header at `at`. The pixels start at `pixelsAt` (a bitmap file's offset), or right
// after the colour table when `pixelsAt` is 0 (an icon image), and must end by v.len. An icon
// image holds twice its height: the colour rows, then a one-bit mask of as many rows.
void CheckDib(Check& c, const View& v, std::uint64_t at, std::uint64_t pixelsAt, bool icon) {
    if (!c.Need(v, at, 4, "the bitmap's header runs past the end of the file")) return;
    const std::uint32_t headerSize = v.U32(at);
    const bool core = headerSize == 12;
    if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 && headerSize != 124) {
        c.Failed("the bitmap's header has an unknown size (" + std::to_string(headerSize) + " bytes)");
        return;
    }
    if (!c.Need(v, at, headerSize, "the bitmap's header runs past the end of the file")) return;

    std::int64_t width, height;
    unsigned bits;
    std::uint32_t compression = 0, imageSize = 0, colorsUsed = 0;
    if (core) {
        width = v.U16(at + 4), height = v.U16(at + 6), bits = v.U16(at + 10);
    } else {
        width = static_cast<std::int32_t>(v.U32(at + 4)), height = static_cast<std::int32_t>(v.U32(at + 8));
        bits = v.U16(at + 14);
        compression = v.U32(at + 16), imageSize = v.U32(at + 20), colorsUsed = v.U32(at + 32);
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;  // INT32_MIN stays in range in 64 bits
    if (icon) {
        if (topDown) return void(c.Failed("the icon's image is stored upside down, which icons cannot be"));
        height /= 2;
    }
    if (width <= 0 || height <= 0) return void(c.Failed("the bitmap's width or height is zero or negative"));
    if (!c.Size(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height))) return;
    if (!icon) c.width = static_cast<std::uint32_t>(width), c.height = static_cast<std::uint32_t>(height);

    const bool rle = compression == 1 || compression == 2;
    const bool fields = compression == 3 || compression == 6;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return void(c.Failed("the bitmap has " + std::to_string(bits) + " bits per pixel, which no bitmap has"));
    if (core && bits == 16) return void(c.Failed("the bitmap has 16 bits per pixel in an old-style header"));
    if (compression > 3 && compression != 6)
        return void(c.Failed("the bitmap uses a compression the program does not read"));
    if ((compression == 1 && bits != 8) || (compression == 2 && bits != 4) || (fields && bits != 16 && bits != 32))
        return void(c.Failed("the bitmap's compression does not fit its bits per pixel"));
    if (rle && (topDown || icon)) return void(c.Failed("the bitmap's compression does not fit its layout"));

    // Colour masks after a plain 40-byte header, then the colour table.
    std::uint64_t tableAt = at + headerSize;
    if (headerSize == 40 && compression == 3) tableAt += 12;
    if (headerSize == 40 && compression == 6) tableAt += 16;
    std::uint64_t colors = colorsUsed;
    if (bits <= 8) {
        const std::uint64_t most = std::uint64_t(1) << bits;
        if (colors > most)
            return void(c.Failed("the bitmap's colour table claims " + std::to_string(colors) + " colours for " +
                                 std::to_string(bits) + "-bit pixels"));
        if (colors == 0) colors = most;
    } else if (colors > 256) {
        return void(c.Failed("the bitmap's colour table claims " + std::to_string(colors) + " colours"));
    }
    const std::uint64_t tableEnd = tableAt + colors * (core ? 3 : 4);
    if (!v.InFile(0, tableEnd)) return void(c.Failed("the bitmap's colour table runs past the end of the file"));
    if (pixelsAt == 0) pixelsAt = tableEnd;
    if (pixelsAt < tableEnd) return void(c.Failed("the bitmap's pixels start inside its header or colour table"));

    const std::uint64_t w = static_cast<std::uint64_t>(width), h = static_cast<std::uint64_t>(height);
    std::uint64_t pixelBytes;
    if (rle) {
        pixelBytes = imageSize;  // 0: the compressed pixels run to the end of the file
        if (pixelBytes == 0 && pixelsAt >= v.len) return void(c.Failed("the bitmap has no pixels"));
    } else {
        pixelBytes = (w * bits + 31) / 32 * 4 * h;
        if (icon) pixelBytes += (w + 31) / 32 * 4 * h;  // the mask
    }
    if (!v.InFile(pixelsAt, pixelBytes))
        return void(c.Failed(std::string(icon ? "the icon's" : "the bitmap's") +
                             " pixel data runs past the end of the file"));
}

void CheckBmp(Check& c, const View& v) {
    if (!c.Need(v, 0, 14, "the bitmap's file header is cut short")) return;
    const std::uint32_t pixelsAt = v.U32(10);
    if (pixelsAt == 0) return void(c.Failed("the bitmap's pixels start inside its header"));
    if (pixelsAt >= v.len) return void(c.Failed("the bitmap's pixels start past the end of the file"));
    CheckDib(c, v, 14, pixelsAt, false);
}

// ---- PNG: the header chunk, then every chunk's length up to the end chunk --------------------------

void CheckPng(Check& c, const View& v, bool inIcon) {
    const char* cut = inIcon ? "the icon's PNG image is cut short" : "the PNG file is cut short";
    if (!c.Need(v, 0, 33, cut)) return;
    if (v.U32BE(8) != 13 || std::memcmp(v.p + 12, "IHDR", 4) != 0)
        return void(c.Failed("the PNG file does not start with its header chunk"));
    const std::uint32_t w = v.U32BE(16), h = v.U32BE(20);
    if (!c.Size(w, h)) return;
    if (!inIcon) c.width = w, c.height = h;
    const unsigned depth = v.U8(24), type = v.U8(25);
    const bool depthFits = (type == 0 && (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16)) ||
                           (type == 3 && (depth == 1 || depth == 2 || depth == 4 || depth == 8)) ||
                           ((type == 2 || type == 4 || type == 6) && (depth == 8 || depth == 16));
    if (!depthFits || v.U8(26) != 0 || v.U8(27) != 0 || v.U8(28) > 1)
        return void(c.Failed("the PNG header describes pixels no PNG has"));

    bool data = false;
    for (std::uint64_t at = 8;;) {
        if (!c.Need(v, at, 8, cut)) return;
        const std::uint32_t length = v.U32BE(at);
        if (length > 0x7FFFFFFFu) return void(c.Failed("a PNG chunk claims an impossible length"));
        if (!v.InFile(at, 12 + std::uint64_t(length))) return void(c.Failed(cut));
        const unsigned char* type4 = v.p + at + 4;
        if (std::memcmp(type4, "IDAT", 4) == 0) data = true;
        if (std::memcmp(type4, "IEND", 4) == 0) {
            if (!data) c.Failed("the PNG file holds no picture data");
            return;
        }
        at += 12 + std::uint64_t(length);
    }
}

// ---- GIF: the screen descriptor, colour tables and every block up to the trailer -------------------

void CheckGif(Check& c, const View& v) {
    const char* cut = "the GIF file is cut short";
    if (!c.Need(v, 0, 13, cut)) return;
    if (std::memcmp(v.p, "GIF87a", 6) != 0 && std::memcmp(v.p, "GIF89a", 6) != 0)
        return void(c.Failed("the GIF file has an unknown version"));
    std::uint32_t w = v.U16(6), h = v.U16(8);
    std::uint64_t at = 13;
    if (v.U8(10) & 0x80) at += 3u << ((v.U8(10) & 7) + 1);

    // Data sub-blocks: a length byte, that many bytes, until a length of 0.
    auto skipBlocks = [&]() {
        for (;;) {
            if (!c.Need(v, at, 1, cut)) return false;
            const unsigned n = v.U8(at++);
            if (n == 0) return true;
            at += n;
        }
    };
    bool image = false;
    for (;;) {
        if (image && at == v.len) break;  // no trailer: many writers leave it out
        if (!c.Need(v, at, 1, cut)) return;
        const unsigned block = v.U8(at);
        if (block == 0x3B) break;  // trailer
        if (block == 0x21) {
            if (!c.Need(v, at, 2, cut)) return;
            at += 2;
            if (!skipBlocks()) return;
        } else if (block == 0x2C) {
            if (!c.Need(v, at, 11, cut)) return;
            if (!image && (w == 0 || h == 0)) w = v.U16(at + 5), h = v.U16(at + 7);
            const unsigned flags = v.U8(at + 9);
            at += 10;
            if (flags & 0x80) at += 3u << ((flags & 7) + 1);
            if (!c.Need(v, at, 1, cut)) return;
            const unsigned codeSize = v.U8(at++);
            if (codeSize < 1 || codeSize > 11) return void(c.Failed("the GIF file's picture data is damaged"));
            if (!skipBlocks()) return;
            image = true;
        } else if (image) {
            break;  // bytes after the last picture, as some writers leave them
        } else {
            return void(c.Failed("the GIF file's picture data is damaged"));
        }
    }
    if (!image) return void(c.Failed("the GIF file holds no picture"));
    if (c.Size(w, h)) c.width = w, c.height = h;
}

// ---- JPEG: the segments up to the start of the scan --------------------------------------------

void CheckJpeg(Check& c, const View& v) {
    const char* cut = "the JPEG file is cut short";
    std::uint64_t at = 2;
    bool frame = false;
    for (;;) {
        // Decoders skip stray bytes and fill bytes before a marker.
        while (c.Need(v, at, 1, cut) && v.U8(at) != 0xFF) ++at;
        while (c.Need(v, at, 1, cut) && v.U8(at) == 0xFF) ++at;
        if (!c.problem.empty() || !c.complete) return;
        const unsigned marker = v.U8(at++);
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01 || marker == 0x00) continue;
        if (marker == 0xD8 || marker == 0xD9) return void(c.Failed("the JPEG file holds no picture data"));
        if (!c.Need(v, at, 2, cut)) return;
        const unsigned length = v.U16BE(at);
        if (length < 2) return void(c.Failed("a JPEG segment claims an impossible length"));
        if (!c.Need(v, at, length, cut)) return;
        const bool sof = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (sof && !frame) {
            if (length < 8) return void(c.Failed("the JPEG frame header is damaged"));
            const unsigned h = v.U16BE(at + 3), w = v.U16BE(at + 5);
            if (!c.Size(w, h)) return;
            c.width = w, c.height = h;
            frame = true;
        }
        if (marker == 0xDA) {
            if (!frame) return void(c.Failed("the JPEG file has no frame header before its picture data"));
            if (!v.InFile(at + length, 1)) c.Failed(cut);
            return;
        }
        at += length;
    }
}

// ---- icon files: the directory, then every image it lists ------------------------------------

void CheckIco(Check& c, const View& v) {
    const unsigned count = v.U16(4);
    if (count == 0) return void(c.Failed("the icon file holds no images"));
    const std::uint64_t directoryEnd = 6 + 16 * std::uint64_t(count);
    if (!v.InFile(0, directoryEnd)) return void(c.Failed("the icon file's directory runs past the end of the file"));
    for (unsigned i = 0; i < count; ++i) {
        const std::uint64_t entry = 6 + 16 * std::uint64_t(i);
        if (!c.Need(v, entry, 16, "")) return;
        const std::uint32_t size = v.U32(entry + 8), offset = v.U32(entry + 12);
        if (i == 0) c.width = v.U8(entry) ? v.U8(entry) : 256, c.height = v.U8(entry + 1) ? v.U8(entry + 1) : 256;
        if (size < 8 || offset < directoryEnd || !v.InFile(offset, size))
            return void(c.Failed("image " + std::to_string(i + 1) + " of the icon file is empty or lies outside the file"));
        const View image = v.Sub(offset, size);
        if (image.avail < 8) {
            c.complete = false;
            continue;
        }
        if (std::memcmp(image.p, kPngSignature, 8) == 0) CheckPng(c, image, true);
        else CheckDib(c, image, 0, 0, true);
        if (!c.problem.empty()) {
            c.problem = "image " + std::to_string(i + 1) + " of the icon file: " + c.problem;
            return;
        }
    }
}

}  // namespace

PictureInfo ReadPictureHeader(const unsigned char* data, std::size_t size, std::uint64_t fileSize) {
    PictureInfo info;
    if (!data) size = 0;
    if (size > fileSize) size = static_cast<std::size_t>(fileSize);
    const View v{data, size, fileSize};
    Check c;
    auto starts = [&](const void* bytes, std::size_t n) { return size >= n && std::memcmp(data, bytes, n) == 0; };
    if (fileSize == 0) {
        info.problem = "the file is empty";
        return info;
    }
    if (starts("\xFF\xD8", 2)) {
        info.kind = PictureKind::Jpeg;
        CheckJpeg(c, v);
    } else if (starts("BM", 2)) {
        info.kind = PictureKind::Bmp;
        CheckBmp(c, v);
    } else if (starts("GIF8", 4)) {
        info.kind = PictureKind::Gif;
        CheckGif(c, v);
    } else if (starts(kPngSignature, 8)) {
        info.kind = PictureKind::Png;
        CheckPng(c, v, false);
    } else if (starts("\0\0\1\0", 4) && size >= 6) {
        info.kind = PictureKind::Ico;
        CheckIco(c, v);
    } else {
        // Too few bytes given to tell the kind: nothing is known to be wrong yet.
        info.complete = size >= 8 || size == fileSize;
        if (info.complete) info.problem = "the file is not a JPEG, bitmap, icon, GIF or PNG picture";
        return info;
    }
    info.problem = std::move(c.problem);
    info.complete = c.complete;
    if (info.problem.empty()) info.width = c.width, info.height = c.height;
    return info;
}

const char* PictureKindName(PictureKind kind) {
    switch (kind) {
    case PictureKind::Jpeg: return "JPEG";
    case PictureKind::Bmp: return "BMP";
    case PictureKind::Gif: return "GIF";
    case PictureKind::Png: return "PNG";
    case PictureKind::Ico: return "ICO";
    case PictureKind::Unknown: break;
    }
    return "unknown";
}
