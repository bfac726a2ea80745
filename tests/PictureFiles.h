#pragma once
// Small but well-formed picture files of every kind the program reads, built byte by byte, for
// tests that then damage them. Pixel values are arbitrary; the layout is exact.
#include <cstdint>
#include <string>
#include <vector>

namespace picturefiles {

inline void PutU16(std::string& s, unsigned v) { s += char(v & 0xFF), s += char((v >> 8) & 0xFF); }
inline void PutU32(std::string& s, std::uint32_t v) { PutU16(s, v & 0xFFFF), PutU16(s, v >> 16); }
inline void PutU32BE(std::string& s, std::uint32_t v) {
    s += char(v >> 24), s += char((v >> 16) & 0xFF), s += char((v >> 8) & 0xFF), s += char(v & 0xFF);
}
inline void SetU16(std::string& s, std::size_t at, unsigned v) { s[at] = char(v & 0xFF), s[at + 1] = char(v >> 8); }
inline void SetU32(std::string& s, std::size_t at, std::uint32_t v) { SetU16(s, at, v & 0xFFFF), SetU16(s, at + 2, v >> 16); }
inline void SetU16BE(std::string& s, std::size_t at, unsigned v) { s[at] = char(v >> 8), s[at + 1] = char(v & 0xFF); }
inline void SetU32BE(std::string& s, std::size_t at, std::uint32_t v) {
    SetU16BE(s, at, v >> 16), SetU16BE(s, at + 2, v & 0xFFFF);
}

// The BITMAPINFOHEADER (or a longer one), masks, colour table and pixels of a bitmap.
// compression 1 writes run-length coded 8-bit rows.
inline std::string Dib(int width, int height, int bits, int compression, unsigned colorsUsed, unsigned headerSize,
                       bool icon) {
    const unsigned rows = static_cast<unsigned>(height < 0 ? -height : height);
    std::string pixels;
    if (compression == 1) {
        for (unsigned y = 0; y < rows; ++y) {
            for (int left = width; left > 0; left -= 255) pixels += char(left > 255 ? 255 : left), pixels += char(y % 3);
            pixels += std::string("\0\0", 2);  // end of line
        }
        pixels += std::string("\0\1", 2);  // end of bitmap
    } else {
        const unsigned stride = (unsigned(width) * unsigned(bits) + 31) / 32 * 4;
        for (unsigned i = 0; i < stride * rows; ++i) pixels += char(i * 7);
        if (icon) pixels += std::string((unsigned(width) + 31) / 32 * 4 * rows, '\0');
    }
    std::string h;
    PutU32(h, headerSize);
    PutU32(h, static_cast<std::uint32_t>(width));
    PutU32(h, static_cast<std::uint32_t>(icon ? height * 2 : height));
    PutU16(h, 1);
    PutU16(h, static_cast<unsigned>(bits));
    PutU32(h, static_cast<std::uint32_t>(compression));
    PutU32(h, compression == 1 ? static_cast<std::uint32_t>(pixels.size()) : 0);
    PutU32(h, 2835), PutU32(h, 2835);
    PutU32(h, colorsUsed), PutU32(h, 0);
    h.resize(headerSize, '\0');
    if (compression == 3 && headerSize == 40) PutU32(h, 0xF800), PutU32(h, 0x07E0), PutU32(h, 0x001F);
    if (bits <= 8) h += std::string((colorsUsed ? colorsUsed : 1u << bits) * 4, '\x40');
    return h + pixels;
}

inline std::string Bmp(int width, int height, int bits, int compression = 0, unsigned colorsUsed = 0,
                       unsigned headerSize = 40) {
    const std::string dib = Dib(width, height, bits, compression, colorsUsed, headerSize, false);
    std::size_t table = headerSize + (compression == 3 && headerSize == 40 ? 12 : 0);
    if (bits <= 8) table += (colorsUsed ? colorsUsed : 1u << bits) * 4;
    std::string f = "BM";
    PutU32(f, static_cast<std::uint32_t>(14 + dib.size()));
    PutU32(f, 0);
    PutU32(f, static_cast<std::uint32_t>(14 + table));
    return f + dib;
}

// A bitmap with the 12-byte header of the oldest bitmaps.
inline std::string CoreBmp(unsigned width, unsigned height, unsigned bits) {
    const unsigned colors = bits <= 8 ? 1u << bits : 0;
    const unsigned stride = (width * bits + 31) / 32 * 4;
    std::string f = "BM";
    PutU32(f, 14 + 12 + colors * 3 + stride * height);
    PutU32(f, 0);
    PutU32(f, 14 + 12 + colors * 3);
    PutU32(f, 12), PutU16(f, width), PutU16(f, height), PutU16(f, 1), PutU16(f, bits);
    return f + std::string(colors * 3, '\x20') + std::string(stride * height, '\x11');
}

// An icon image: the bitmap header with twice the height, the colour rows and the mask.
inline std::string IcoBitmap(int width, int height, int bits) { return Dib(width, height, bits, 0, 0, 40, true); }

inline std::string Png(std::uint32_t width, std::uint32_t height) {
    std::string f("\x89PNG\r\n\x1A\n", 8);
    PutU32BE(f, 13);
    f += "IHDR";
    PutU32BE(f, width), PutU32BE(f, height);
    f += std::string("\x08\x06\x00\x00\x00", 5);
    PutU32BE(f, 0x12345678);  // no reader here checks the CRC
    PutU32BE(f, 10);
    f += "IDAT" + std::string(10, 'x');
    PutU32BE(f, 0);
    PutU32BE(f, 0);
    f += "IEND";
    PutU32BE(f, 0xAE426082);
    return f;
}

// An icon file of these images (bitmaps from IcoBitmap, or PNG files), in this order.
inline std::string Ico(const std::vector<std::string>& images) {
    std::string f;
    PutU16(f, 0), PutU16(f, 1), PutU16(f, static_cast<unsigned>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const auto& image : images) {
        const bool png = image.compare(0, 4, "\x89PNG") == 0;
        auto u32 = [&](std::size_t at, bool be) {
            const auto* b = reinterpret_cast<const unsigned char*>(image.data() + at);
            return be ? (std::uint32_t(b[0]) << 24 | b[1] << 16 | b[2] << 8 | b[3])
                      : (std::uint32_t(b[3]) << 24 | b[2] << 16 | b[1] << 8 | b[0]);
        };
        const std::uint32_t w = png ? u32(16, true) : u32(4, false);
        const std::uint32_t h = png ? u32(20, true) : u32(8, false) / 2;
        f += char(w >= 256 ? 0 : w), f += char(h >= 256 ? 0 : h), f += '\0', f += '\0';
        PutU16(f, 1), PutU16(f, 32);
        PutU32(f, static_cast<std::uint32_t>(image.size()));
        PutU32(f, offset);
        offset += static_cast<std::uint32_t>(image.size());
    }
    for (const auto& image : images) f += image;
    return f;
}

inline std::string Gif(unsigned width, unsigned height) {
    std::string f = "GIF89a";
    PutU16(f, width), PutU16(f, height);
    f += std::string("\x80\x00\x00", 3);         // a global table of two colours
    f += std::string("\x00\x00\x00\xFF\xFF\xFF", 6);
    f += ',';                                     // one image
    PutU16(f, 0), PutU16(f, 0), PutU16(f, width), PutU16(f, height);
    f += '\0';
    f += std::string("\x02\x04\x8C\x2D\x99\x87\x00", 7);  // code size, one data block, end of blocks
    return f + ";";
}

// SOI, one application segment of `appLength` (its length field), a baseline frame header, a scan
// header, eight bytes of scan data and EOI.
inline std::string Jpeg(unsigned width, unsigned height, unsigned appLength = 16) {
    std::string f("\xFF\xD8\xFF\xE0", 4);
    f += char(appLength >> 8), f += char(appLength & 0xFF);
    f += std::string("JFIF\0", 5) + std::string(appLength - 7, '\x01');
    f += std::string("\xFF\xC0\x00\x11\x08", 5);
    f += char(height >> 8), f += char(height & 0xFF), f += char(width >> 8), f += char(width & 0xFF);
    f += std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
    f += std::string("\xFF\xDA\x00\x0C\x03\x01\x00\x02\x11\x03\x11\x00\x3F\x00", 14);
    f += std::string("\x12\x34\x56\x78\x9A\xBC\xDE\xF0", 8);
    return f + std::string("\xFF\xD9", 2);
}

}  // namespace picturefiles
