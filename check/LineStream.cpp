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
    for (const unsigned char *at = p, *end = p + n; at < end;) {
        const auto* comma = static_cast<const unsigned char*>(std::memchr(at, ',', static_cast<std::size_t>(end - at)));
        const unsigned char* stop = comma ? comma : end;
        Keep(reinterpret_cast<const char*>(at), static_cast<std::size_t>(stop - at));
        if (!comma) break;
        Comma();
        at = comma + 1;
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
    if (c == ',') {
        Comma();
    } else {
        std::string utf8;
        AppendUtf8(utf8, c);
        Keep(utf8.data(), utf8.size());
    }
    if (Control(c)) text_.controlBytes = true;
}

void LineStream::Keep(const char* data, std::size_t n) {
    const std::size_t room = std::min(kKeptFieldBytes - std::min(kKeptFieldBytes, fieldKept_),
                                      kKeptLineBytes - std::min(kKeptLineBytes, raw_.size()));
    const std::size_t take = std::min(n, room);
    raw_.append(data, take);
    fieldKept_ += take;
    if (take < n) line_.cut = true;
}

void LineStream::Comma() {
    // Kept, so that the kept text splits into the same fields as the whole line.
    if (raw_.size() < kKeptLineBytes) raw_ += ',';
    else line_.cut = true;
    ++line_.fields;
    fieldKept_ = 0;
}

namespace {

// UTF-8 without the characters that cutting a field in two has left incomplete; the rest, already
// known to be well formed, stays as it is.
std::string WithoutCutCharacters(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (i + n <= s.size() && IsUtf8(s.data() + i, n)) {
            out.append(s, i, n);
            i += n;
        } else {
            ++i;
        }
    }
    return out;
}

}  // namespace

void LineStream::EndLine() {
    std::string text;
    const CodePage none{nullptr};  // only its NUL rule is used: the text is UTF-8 already
    if (text_.encoding == TextEncoding::Ansi) {
        // Each line on its own, as the program decides: well-formed UTF-8 with letters outside
        // ASCII is UTF-8, any other line the code page. The whole line decides, kept or not.
        const bool utf8 = lineNonAscii_ && lineUtf8_ && utf8Need_ == 0;
        text_.nonAscii |= lineNonAscii_;
        text_.utf8WithoutMark |= utf8;
        line_.codePage = lineNonAscii_ && !utf8;
        text_.codePageLines |= line_.codePage;
        if (utf8) {
            // A field cut short may end inside a character: the kept text leaves it out.
            text = TextLine(line_.cut ? WithoutCutCharacters(raw_) : std::move(raw_), TextEncoding::Utf8, none);
        } else if (!lineNonAscii_) {
            text = TextLine(std::move(raw_), TextEncoding::Utf8, none);  // ASCII reads alike in both
        } else if (codePage_) {
            // The code page, decided by the whole line: the kept start alone might look like UTF-8.
            text = TextLine(codePage_->FromAnsi(raw_), TextEncoding::Utf8, none);
        } else {
            text = std::move(raw_);
        }
    } else if (text_.encoding == TextEncoding::Utf8) {
        text = TextLine(ValidUtf8(raw_), TextEncoding::Utf8, none);
    } else {
        text = TextLine(std::move(raw_), TextEncoding::Utf8, none);
    }
    line_.text = std::move(text);
    ++text_.lines;
    sink_(line_);
    raw_.clear();
    line_.text.clear();
    line_.bytes = 0;
    line_.fields = 1;
    line_.cut = false;
    line_.codePage = false;
    fieldKept_ = 0;
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
