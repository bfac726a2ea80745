#pragma once
// Text files of a medium turned into UTF-8 the way the program reads them.
#include <cstddef>
#include <string>

#include "common/TextLines.h"

struct DecodedText {
    TextEncoding encoding = TextEncoding::Ansi;
    std::string utf8;
    bool nonAscii = false;         // bytes above 127 in an ANSI file
    bool utf8WithoutMark = false;  // some line is UTF-8 with letters outside ASCII: read as UTF-8
    bool controlBytes = false;     // NUL or other control bytes that no text file holds
};

// A byte-order mark is honoured as the program honours it; without one, a line that is UTF-8 with
// letters outside ASCII is UTF-8 and any other line ANSI, read here as Windows-1252, the code page
// of Western European Windows.
DecodedText DecodeText(const std::string& bytes);

// Windows-1252, the code page of Western European Windows, which stands for the system's code page
// wherever the checker reads text without a mark.
const CodePage& Windows1252();

// UTF-8 as Windows counts its characters: UTF-16 code units.
std::size_t Utf16Length(const std::string& utf8);

// Text whose bytes that are not UTF-8 are replaced by U+FFFD, so it can be printed and put into JSON.
std::string ValidUtf8(const std::string& text);
