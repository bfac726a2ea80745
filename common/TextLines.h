#pragma once
// Splits text into lines as the program reads every text file: CR LF, a lone CR and a lone LF
// each end a line, and a last line without a terminator still counts. Fed piece by piece, so a
// reader can stop as soon as it has the lines it wants.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class LineSplitter {
public:
    LineSplitter(std::size_t skip, std::size_t count) : skip_(skip), count_(count) {}

    // Takes the next piece of the file. Returns false once `count` lines have been collected.
    bool Feed(const char* data, std::size_t size);
    // The end of the file: a last line without a terminator is kept.
    void Finish();
    bool Done() const { return lines_.size() >= count_; }
    std::vector<std::string>& Lines() { return lines_; }

private:
    void FeedBlock(const char* data, std::size_t size);
    void EndLine();

    std::size_t skip_, count_;
    std::size_t lineNo_ = 0;       // lines ended so far
    bool pendingCR_ = false;       // the last piece ended in CR: a following LF belongs to it
    bool partial_ = false;         // characters of an unfinished line have been seen
    std::string current_;
    std::vector<std::string> lines_;
};

// Every line of a whole text, skip and count as above.
std::vector<std::string> SplitLines(const std::string& text, std::size_t skip = 0,
                                    std::size_t count = static_cast<std::size_t>(-1));

// What a text file's first bytes say it holds. Files without a byte-order mark are text in the
// system's code page, as the program writes them whenever it can; a mark is honoured on reading,
// so a menu saved as "Unicode" by a text editor still reads.
enum class TextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };
TextEncoding DetectEncoding(const char* data, std::size_t size, std::size_t& markLength);

// UTF-16 text without its mark as UTF-8; an odd last byte is dropped and an unpaired surrogate
// becomes U+FFFD.
std::string Utf8FromUtf16(const char* data, std::size_t size, bool bigEndian);

// Appends one Unicode code point to UTF-8 text.
void AppendUtf8(std::string& out, unsigned codePoint);

// True for well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF).
bool IsUtf8(const char* data, std::size_t size);

// The reader's code page, as the file services convert from it: what text without a mark reads as.
struct CodePage {
    std::function<std::string(const std::string& ansi)> FromAnsi;
};

// One line of a text file as UTF-8. Without a mark, a line that is well-formed UTF-8 and holds
// characters outside ASCII is taken as UTF-8 (a text editor's "UTF-8 without BOM"; code-page
// text almost never forms such sequences by chance), any other line as the code page. A NUL
// character, which would cut the text short at every system call, reads as U+FFFD.
std::string TextLine(std::string bytes, TextEncoding encoding, const CodePage& codePage);

// The form a file takes when some line holds more than ASCII.
enum class UnicodeForm { Utf8WithMark, Utf16LEWithMark };

// The bytes of a text file, every line followed by CR LF: as they stand when every line is ASCII,
// which every PC reads alike (so such files are byte for byte what older versions wrote),
// otherwise in `unicode` with its mark. Never in the writer's code page: the file is read on other
// PCs, whose code page is not the author's.
std::string TextFileBytes(const std::vector<std::string>& lines, UnicodeForm unicode);

std::string Utf16LEFromUtf8(const std::string& utf8);

// The small letter Windows compares a capital with when it compares file names, for the scripts
// menus are written in: Latin, Greek and Cyrillic. Other letters compare as they are.
unsigned WindowsLower(unsigned codePoint);
