#include "common/TextLines.h"

#include <algorithm>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

void LineSplitter::EndLine() {
    if (lineNo_ >= skip_ && lines_.size() < count_) lines_.push_back(std::move(current_));
    current_.clear();
    partial_ = false;
    ++lineNo_;
}

namespace {

// Line ends in a piece: every LF, and every CR not followed by an LF inside the piece.
std::size_t CountLineEnds(const char* p, std::size_t n) {
    std::size_t ends = 0, i = 0;
#ifdef __SSE2__
    // Sixteen bytes at a time. Each byte lane counts its line ends in an 8-bit counter, emptied
    // into `ends` before it can overflow (no popcount: not every 64-bit processor has one).
    const __m128i crs = _mm_set1_epi8('\r'), lfs = _mm_set1_epi8('\n'), zero = _mm_setzero_si128();
    __m128i counters = zero;
    int rounds = 0;
    auto empty = [&] {
        const __m128i sums = _mm_sad_epu8(counters, zero);
        ends += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
        counters = zero;
        rounds = 0;
    };
    for (; i + 17 <= n; i += 16) {
        const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
        const __m128i lf = _mm_cmpeq_epi8(here, lfs);
        const __m128i loneCr = _mm_andnot_si128(_mm_cmpeq_epi8(next, lfs), _mm_cmpeq_epi8(here, crs));
        counters = _mm_sub_epi8(counters, _mm_or_si128(lf, loneCr));  // a match is -1
        if (++rounds == 255) empty();
    }
    empty();
#endif
    for (; i < n; ++i) ends += (p[i] == '\n') | (p[i] == '\r' && (i + 1 == n || p[i + 1] != '\n'));
    return ends;
}

}  // namespace

bool LineSplitter::Feed(const char* data, std::size_t size) {
    // Pieces of a few kilobytes that lie wholly among the lines to skip are only counted, which
    // keeps a page deep in a long menu quick to reach.
    constexpr std::size_t kBlock = 4096;
    for (std::size_t at = 0; at < size && !Done(); at += kBlock) {
        const std::size_t n = std::min(kBlock, size - at);
        const char* block = data + at;
        const std::size_t lead = pendingCR_ && block[0] == '\n' ? 1 : 0;
        const std::size_t ends = CountLineEnds(block + lead, n - lead);
        if (lineNo_ + ends < skip_) {
            lineNo_ += ends;
            const char last = block[n - 1];
            pendingCR_ = last == '\r';
            partial_ = last != '\r' && last != '\n';
            continue;
        }
        FeedBlock(block, n);
    }
    return !Done();
}

void LineSplitter::FeedBlock(const char* data, std::size_t size) {
    const char* p = data;
    const char* end = data + size;
    if (pendingCR_ && p < end) {
        if (*p == '\n') ++p;
        pendingCR_ = false;
    }
    while (p < end && !Done()) {
        // Find the next CR or LF with memchr, which is much faster than a byte loop on the long
        // stretches a reader skips.
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* stop = lf ? lf : end;
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)));
        const char* eol = cr ? cr : lf;
        if (!eol) {
            if (lineNo_ >= skip_) current_.append(p, end);
            partial_ = true;
            return;
        }
        if (lineNo_ >= skip_) current_.append(p, eol);
        p = eol + 1;
        EndLine();
        if (*eol == '\r') {
            if (p < end) {
                if (*p == '\n') ++p;
            } else {
                pendingCR_ = true;
            }
        }
    }
}

void LineSplitter::Finish() {
    if (partial_ && !Done()) EndLine();
}

std::vector<std::string> SplitLines(const std::string& text, std::size_t skip, std::size_t count) {
    LineSplitter splitter(skip, count);
    splitter.Feed(text.data(), text.size());
    splitter.Finish();
    return std::move(splitter.Lines());
}

TextEncoding DetectEncoding(const char* data, std::size_t size, std::size_t& markLength) {
    const auto* b = reinterpret_cast<const unsigned char*>(data);
    markLength = 0;
    if (size >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        markLength = 3;
        return TextEncoding::Utf8;
    }
    if (size >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        markLength = 2;
        return TextEncoding::Utf16LE;
    }
    if (size >= 2 && b[0] == 0xFE && b[1] == 0xFF) {
        markLength = 2;
        return TextEncoding::Utf16BE;
    }
    return TextEncoding::Ansi;
}

std::string Utf8FromUtf16(const char* data, std::size_t size, bool bigEndian) {
    const auto* b = reinterpret_cast<const unsigned char*>(data);
    auto unit = [&](std::size_t i) -> unsigned {
        return bigEndian ? (b[i] << 8) | b[i + 1] : b[i] | (b[i + 1] << 8);
    };
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        unsigned c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < size && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

void AppendUtf8(std::string& out, unsigned c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsUtf8(const char* data, std::size_t size) {
    const auto* b = reinterpret_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size;) {
        const unsigned c = b[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t n;
        unsigned least;
        if (c >= 0xC2 && c <= 0xDF) n = 1, least = 0x80;
        else if (c >= 0xE0 && c <= 0xEF) n = 2, least = 0x800;
        else if (c >= 0xF0 && c <= 0xF4) n = 3, least = 0x10000;
        else return false;
        if (size - i <= n) return false;
        unsigned code = c & (0x3F >> n);
        for (std::size_t k = 1; k <= n; ++k) {
            if ((b[i + k] & 0xC0) != 0x80) return false;
            code = (code << 6) | (b[i + k] & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += n + 1;
    }
    return true;
}

namespace {

bool HasNonAscii(const std::string& s) {
    return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

}  // namespace

std::string TextLine(std::string bytes, TextEncoding encoding, const CodePage& codePage) {
    if (encoding == TextEncoding::Ansi && !(HasNonAscii(bytes) && IsUtf8(bytes.data(), bytes.size())))
        bytes = codePage.FromAnsi(bytes);
    if (bytes.find('\0') != std::string::npos) {
        // Sized once and filled in place: a line of a million NULs is read in one pass.
        std::string clean(bytes.size() + 2 * static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\0')), '\0');
        char* out = clean.data();
        for (const char c : bytes) {
            if (c == '\0') {
                *out++ = '\xEF';
                *out++ = '\xBF';
                *out++ = '\xBD';
            } else {
                *out++ = c;
            }
        }
        bytes = std::move(clean);
    }
    return bytes;
}

std::string TextFileBytes(const std::vector<std::string>& lines, UnicodeForm unicode) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    if (!HasNonAscii(text)) return text;
    if (unicode == UnicodeForm::Utf8WithMark) return "\xEF\xBB\xBF" + text;
    return "\xFF\xFE" + Utf16LEFromUtf8(text);
}

std::string Utf16LEFromUtf8(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size() * 2);
    auto unit = [&](unsigned u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>(u >> 8);
    };
    const auto* b = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    for (std::size_t i = 0; i < n;) {
        unsigned c = b[i], extra = 0;
        if (c >= 0xF0) c &= 0x07, extra = 3;
        else if (c >= 0xE0) c &= 0x0F, extra = 2;
        else if (c >= 0xC0) c &= 0x1F, extra = 1;
        else if (c >= 0x80) c = 0xFFFD;  // a stray continuation byte
        ++i;
        for (; extra > 0 && i < n && (b[i] & 0xC0) == 0x80; --extra, ++i) c = (c << 6) | (b[i] & 0x3F);
        if (extra > 0 || c > 0x10FFFF) c = 0xFFFD;
        if (c >= 0x10000) {
            c -= 0x10000;
            unit(0xD800 + (c >> 10));
            unit(0xDC00 + (c & 0x3FF));
        } else {
            unit(c);
        }
    }
    return out;
}

unsigned WindowsLower(unsigned c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    if (c == 0x178) return 0xFF;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) {
        // Latin Extended-A pairs capital and small letters, even then odd, except in two runs.
        const bool oddRun = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        return oddRun ? (c % 2 == 1 ? c + 1 : c) : (c % 2 == 0 ? c + 1 : c);
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}
