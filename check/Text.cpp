#include "check/Text.h"

namespace {

// The length of the well-formed UTF-8 sequence at `i`, 0 when there is none.
std::size_t SequenceAt(const unsigned char* b, std::size_t n, std::size_t i, unsigned& code) {
    const unsigned char c = b[i];
    std::size_t length;
    unsigned min;
    if (c < 0x80) return code = c, 1;
    if ((c & 0xE0) == 0xC0) length = 2, min = 0x80, code = c & 0x1F;
    else if ((c & 0xF0) == 0xE0) length = 3, min = 0x800, code = c & 0x0F;
    else if ((c & 0xF8) == 0xF0) length = 4, min = 0x10000, code = c & 0x07;
    else return 0;
    if (i + length > n) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((b[i + k] & 0xC0) != 0x80) return 0;
        code = (code << 6) | (b[i + k] & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

DecodedText DecodeText(const std::string& bytes, const CodePage& codePage) {
    DecodedText d;
    std::size_t mark = 0;
    d.encoding = DetectEncoding(bytes.data(), bytes.size(), mark);
    if (d.encoding == TextEncoding::Utf16LE || d.encoding == TextEncoding::Utf16BE) {
        d.utf8 = ValidUtf8(Utf8FromUtf16(bytes.data() + mark, bytes.size() - mark,
                                         d.encoding == TextEncoding::Utf16BE));
    } else if (d.encoding == TextEncoding::Utf8) {
        d.utf8 = ValidUtf8(bytes.substr(mark));
    } else {
        // Without a mark, each line as the program reads it: well-formed UTF-8 with letters outside
        // ASCII as UTF-8, any other line in the code page.
        std::size_t start = 0;
        while (start <= bytes.size()) {
            std::size_t end = bytes.find_first_of("\r\n", start);
            if (end == std::string::npos) end = bytes.size();
            const std::string line = bytes.substr(start, end - start);
            for (const char ch : line) {
                if (static_cast<unsigned char>(ch) < 0x80) continue;
                d.nonAscii = true;
                if (IsUtf8(line.data(), line.size())) d.utf8WithoutMark = true;
                else d.codePageLines.push_back(line);
                break;
            }
            d.utf8 += TextLine(line, TextEncoding::Ansi, codePage);
            if (end == bytes.size()) break;
            d.utf8 += bytes[end];  // the line end as it stands, for the splitter
            start = end + 1;
        }
    }
    // Control bytes are looked for in the file's own bytes: the program reads a NUL as U+FFFD.
    const bool utf16 = d.encoding == TextEncoding::Utf16LE || d.encoding == TextEncoding::Utf16BE;
    for (const char ch : utf16 ? d.utf8 : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c < 0x20 && c != '\r' && c != '\n' && c != '\t') || c == 0x7F) {
            d.controlBytes = true;
            break;
        }
    }
    return d;
}

std::size_t Utf16Length(const std::string& utf8) {
    std::size_t n = 0;
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c & 0xC0) != 0x80) ++n;       // each lead byte begins one character
        if ((c & 0xF8) == 0xF0) ++n;       // and one beyond the first 65,536 takes two units
    }
    return n;
}

std::string ValidUtf8(const std::string& text) {
    const auto* b = reinterpret_cast<const unsigned char*>(text.data());
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        unsigned code;
        const std::size_t n = SequenceAt(b, text.size(), i, code);
        if (n) {
            out.append(text, i, n);
            i += n;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}
