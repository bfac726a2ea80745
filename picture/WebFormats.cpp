// The header checks of the web formats: PNG, GIF and JPEG.
#include <cstring>

#include "picture/HeaderCheck.h"

namespace headercheck {

const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

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

}  // namespace headercheck
