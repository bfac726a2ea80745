#include "check/LineStream.h"

#include <algorithm>
#include <cstring>

#include "check/Text.h"

namespace {

bool Control(unsigned c) { return (c < 0x20 && c != '\t') || c == 0x7F; }

}  // namespace

void LineStream::Feed(const char* data, std::size_t size) {
    if (!started_) {
        // The mark is at most three bytes; wait for them before deciding how to read the rest.
        head_.append(data, size);
        if (head_.size() < 3) return;
        const std::string head = std::move(head_);
        Start(head.data(), head.size());
        return;
    }
    if (text_.encoding == TextEncoding::Utf16LE || text_.encoding == TextEncoding::Utf16BE) FeedUtf16(data, size);
    else FeedBytes(data, size);
}

void LineStream::Start(const char* data, std::size_t size) {
    started_ = true;
    std::size_t mark = 0;
    text_.encoding = DetectEncoding(data, size, mark);
    Feed(data + mark, size - mark);
}

void LineStream::FeedBytes(const char* data, std::size_t size) {
    // Line ends are found with memchr and the bytes between them taken as one span: a line of any
    // length costs a few passes over its bytes, each of them one the compiler runs many bytes at
    // a time.
    const auto* b = reinterpret_cast<const unsigned char*>(data);
    std::size_t nextLF = 0, nextCR = 0;  // where the next line end of each kind is; size when none
    bool knownLF = false, knownCR = false;
    auto next = [&](std::size_t from, unsigned char c, std::size_t& at, bool& known) {
        if (!known || at < from) {
            const void* found = std::memchr(b + from, c, size - from);
            at = found ? static_cast<std::size_t>(static_cast<const unsigned char*>(found) - b) : size;
            known = true;
        }
        return at;
    };
    for (std::size_t i = 0; i < size;) {
        if (pendingCR_ && b[i] == '\n') {  // the LF of a CR LF
            pendingCR_ = false;
            ++i;
            continue;
        }
        const std::size_t end = std::min(next(i, '\n', nextLF, knownLF), next(i, '\r', nextCR, knownCR));
        Span(b + i, end - i);
        if (end == size) break;
        EndLine();
        pendingCR_ = b[end] == '\r';
        i = end + 1;
    }
}

void LineStream::Span(const unsigned char* p, std::size_t n) {
    if (n == 0) return;
    pendingCR_ = false;
    partial_ = true;
    line_.bytes += n;
    const std::size_t keep = std::min(n, kKeptLineBytes - std::min(kKeptLineBytes, raw_.size()));
    raw_.append(reinterpret_cast<const char*>(p), keep);
    if (keep < n) line_.cut = true;
    for (const void* comma = std::memchr(p, ',', n); comma;) {
        ++line_.fields;
        const auto* after = static_cast<const unsigned char*>(comma) + 1;
        comma = std::memchr(after, ',', n - static_cast<std::size_t>(after - p));
    }
    for (std::size_t i = 0; i < n && !text_.controlBytes; ++i)
        text_.controlBytes = (p[i] < 0x20 && p[i] != '\t') || p[i] == 0x7F;
    if (utf8Need_ == 0) {
        // Eight bytes at a time: does any have its high bit set?
        std::uint64_t high = 0;
        std::size_t i = 0;
        for (; i + 8 <= n; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, p + i, 8);
            high |= word;
        }
        for (; i < n; ++i) high |= p[i];
        if (!(high & 0x8080808080808080ull)) return;  // ASCII only: nothing to decide
    }
    for (std::size_t i = 0; i < n && lineUtf8_; ++i) Utf8Byte(p[i]);
    lineNonAscii_ = true;
}

void LineStream::Utf8Byte(unsigned char c) {
    if (c < 0x80 && utf8Need_ == 0) return;
    // The same rules as the program's test for UTF-8: no overlong forms, no surrogates, nothing
    // past U+10FFFF, here one byte at a time because the line may be far longer than is kept.
    if (utf8Need_) {
        if (c < utf8Low_ || c > utf8High_) {
            lineUtf8_ = false;
            return;
        }
        --utf8Need_;
        utf8Low_ = 0x80, utf8High_ = 0xBF;
        return;
    }
    utf8Low_ = 0x80, utf8High_ = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) utf8Need_ = 1;
    else if (c >= 0xE0 && c <= 0xEF) utf8Need_ = 2, utf8Low_ = c == 0xE0 ? 0xA0 : 0x80, utf8High_ = c == 0xED ? 0x9F : 0xBF;
    else if (c >= 0xF0 && c <= 0xF4) utf8Need_ = 3, utf8Low_ = c == 0xF0 ? 0x90 : 0x80, utf8High_ = c == 0xF4 ? 0x8F : 0xBF;
    else lineUtf8_ = false;
}

void LineStream::FeedUtf16(const char* data, std::size_t size) {
    const bool big = text_.encoding == TextEncoding::Utf16BE;
    const auto* b = reinterpret_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        if (oddByte_ < 0) {
            oddByte_ = b[i];
            continue;
        }
        const unsigned first = static_cast<unsigned>(oddByte_), second = b[i];
        oddByte_ = -1;
        const unsigned unit = big ? (first << 8) | second : first | (second << 8);
        if (highSurrogate_) {
            const unsigned high = highSurrogate_;
            highSurrogate_ = 0;
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                Unit(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
                continue;
            }
            Unit(0xFFFD);  // a high surrogate without its partner
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) highSurrogate_ = unit;
        else Unit(unit >= 0xDC00 && unit <= 0xDFFF ? 0xFFFD : unit);
    }
}

void LineStream::Unit(unsigned c) {
    if (c == '\n') {
        if (pendingCR_) pendingCR_ = false;
        else EndLine();
        return;
    }
    if (c == '\r') {
        EndLine();
        pendingCR_ = true;
        return;
    }
    pendingCR_ = false;
    partial_ = true;
    line_.bytes += c >= 0x10000 ? 4 : 2;
    if (raw_.size() < kKeptLineBytes) AppendUtf8(raw_, c);
    else line_.cut = true;
    if (c == ',') ++line_.fields;
    if (Control(c)) text_.controlBytes = true;
}

void LineStream::EndLine() {
    std::string text;
    if (text_.encoding == TextEncoding::Ansi) {
        // Each line on its own, as the program decides: well-formed UTF-8 with letters outside
        // ASCII is UTF-8, any other line the code page. The whole line decides, kept or not.
        const bool utf8 = lineNonAscii_ && lineUtf8_ && utf8Need_ == 0;
        text_.nonAscii |= lineNonAscii_;
        text_.utf8WithoutMark |= utf8;
        if (utf8) {
            // A cut line may end inside a character: the kept text ends before it.
            std::size_t end = raw_.size();
            if (line_.cut) {
                std::size_t start = end;
                while (start > 0 && (static_cast<unsigned char>(raw_[start - 1]) & 0xC0) == 0x80) --start;
                if (start > 0 && static_cast<unsigned char>(raw_[start - 1]) >= 0xC0) {
                    const unsigned char lead = static_cast<unsigned char>(raw_[start - 1]);
                    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
                    if (end - (start - 1) < length) end = start - 1;
                }
            }
            raw_.resize(end);
            text = TextLine(std::move(raw_), TextEncoding::Utf8, Windows1252());
        } else if (!lineNonAscii_) {
            text = TextLine(std::move(raw_), TextEncoding::Utf8, Windows1252());  // ASCII reads alike in both
        } else {
            // The code page, decided by the whole line: the kept start alone might look like UTF-8.
            text = TextLine(Windows1252().FromAnsi(raw_), TextEncoding::Utf8, Windows1252());
        }
    } else if (text_.encoding == TextEncoding::Utf8) {
        text = TextLine(ValidUtf8(raw_), TextEncoding::Utf8, Windows1252());
    } else {
        text = TextLine(std::move(raw_), TextEncoding::Utf8, Windows1252());
    }
    line_.text = std::move(text);
    ++text_.lines;
    sink_(line_);
    raw_.clear();
    line_.text.clear();
    line_.bytes = 0;
    line_.fields = 1;
    line_.cut = false;
    lineNonAscii_ = false;
    lineUtf8_ = true;
    utf8Need_ = 0;
    partial_ = false;
}

void LineStream::Finish() {
    if (!started_) {
        const std::string head = std::move(head_);
        Start(head.data(), head.size());
    }
    if (highSurrogate_) {
        highSurrogate_ = 0;
        Unit(0xFFFD);
    }
    if (partial_) EndLine();
}
