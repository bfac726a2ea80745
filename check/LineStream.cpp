#include "check/LineStream.h"

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
    const auto* b = reinterpret_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned char c = b[i];
        if (c == '\n') {
            if (pendingCR_) pendingCR_ = false;
            else EndLine();
        } else if (c == '\r') {
            EndLine();
            pendingCR_ = true;
        } else {
            Byte(c);
        }
    }
}

void LineStream::Byte(unsigned char c) {
    pendingCR_ = false;
    partial_ = true;
    ++line_.bytes;
    if (raw_.size() < kKeptLineBytes) raw_ += static_cast<char>(c);
    else line_.cut = true;
    if (c == ',') ++line_.fields;
    if (Control(c)) text_.controlBytes = true;
    if (c < 0x80 && utf8Need_ == 0) return;
    lineNonAscii_ = true;
    if (!lineUtf8_) return;
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
