#include "picture/PictureHeader.h"

#include <cstring>

#include "picture/HeaderCheck.h"

namespace headercheck {
namespace {

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

}  // namespace

void CheckBmp(Check& c, const View& v) {
    if (!c.Need(v, 0, 14, "the bitmap's file header is cut short")) return;
    const std::uint32_t pixelsAt = v.U32(10);
    if (pixelsAt == 0) return void(c.Failed("the bitmap's pixels start inside its header"));
    if (pixelsAt >= v.len) return void(c.Failed("the bitmap's pixels start past the end of the file"));
    CheckDib(c, v, 14, pixelsAt, false);
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

}  // namespace headercheck

using namespace headercheck;

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
