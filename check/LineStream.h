#pragma once
// A text file of any size turned into lines as the program reads them, one line at a time and in
// bounded memory: the byte-order mark is honoured as the program honours it, lines without a mark
// are UTF-8 or the code page each on its own (the one the checker found the file written in), and
// CR LF, a lone CR and a lone LF each end a line. A field longer than the checker needs keeps its start only, and the
// commas between fields are kept, so a long line still splits into the fields it has; what is
// known of the whole line (its length, its fields, its encoding) counts all of it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "common/TextLines.h"

// One line of the file.
struct StreamedLine {
    std::string text;          // UTF-8; each field's start, at most about kKeptLineBytes in all
    std::uint64_t bytes = 0;   // the whole line's length in the file, without its line end
    std::size_t fields = 1;    // comma-separated fields in the whole line
    bool cut = false;          // `text` holds only the line's start
    bool codePage = false;     // the line is code-page text: neither ASCII nor UTF-8
    bool Empty() const { return bytes == 0; }
};

// What the whole file turned out to hold.
struct StreamedText {
    TextEncoding encoding = TextEncoding::Ansi;
    bool nonAscii = false;         // bytes above 127 in a file without a mark
    bool utf8WithoutMark = false;  // some line is UTF-8 with letters outside ASCII: read as UTF-8
    bool codePageLines = false;    // some line is code-page text
    bool controlBytes = false;     // NUL or other control characters that no text file holds
    std::uint64_t lines = 0;
};

class LineStream {
public:
    // A longer field keeps this many bytes of its start (cut at a character), a line this many in all.
    static constexpr std::size_t kKeptFieldBytes = 16 * 1024;
    static constexpr std::size_t kKeptLineBytes = 4 * kKeptFieldBytes + 64;

    using LineSink = std::function<void(StreamedLine& line)>;
    // Code-page lines are read in `codePage`; without one they are handed on as their bytes.
    LineStream(LineSink sink, const CodePage* codePage) : sink_(std::move(sink)), codePage_(codePage) {}

    void Feed(const char* data, std::size_t size);
    // The end of the file: a last line without a line end still counts.
    void Finish();
    const StreamedText& Text() const { return text_; }

private:
    void Start(const char* data, std::size_t size);
    void FeedBytes(const char* data, std::size_t size);
    void FeedUtf16(const char* data, std::size_t size);
    void Unit(unsigned codePoint);
    void EndLine();
    void Span(const unsigned char* p, std::size_t n);  // bytes of a line in a file of 8-bit text
    void Keep(const char* data, std::size_t n);         // what the field being read keeps of them
    void Comma();
    void Utf8Byte(unsigned char c);

    LineSink sink_;
    const CodePage* codePage_;
    StreamedText text_;
    std::string head_;          // the first bytes, until the mark is known
    bool started_ = false;
    bool pendingCR_ = false;    // the last line ended in CR: a following LF belongs to it
    bool partial_ = false;      // characters of an unfinished line have been seen
    // UTF-16: an odd byte and a high surrogate waiting for their partners.
    int oddByte_ = -1;
    unsigned highSurrogate_ = 0;
    // The line being read: its kept bytes (raw for 8-bit files, UTF-8 for UTF-16 ones) and what
    // the whole line holds.
    std::string raw_;
    std::size_t fieldKept_ = 0;  // bytes kept of the field being read
    StreamedLine line_;
    bool lineNonAscii_ = false;
    bool lineUtf8_ = true;      // every byte so far forms well-formed UTF-8
    unsigned utf8Need_ = 0;     // continuation bytes still expected
    unsigned char utf8Low_ = 0x80, utf8High_ = 0xBF;  // the range the next continuation byte must lie in
};
