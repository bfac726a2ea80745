#pragma once
// Text files of a medium turned into UTF-8 the way the program reads them.
#include <cstddef>
#include <string>
#include <vector>

#include "common/TextLines.h"

struct DecodedText {
    TextEncoding encoding = TextEncoding::Ansi;
    std::string utf8;
    bool nonAscii = false;         // bytes above 127 in an ANSI file
    bool utf8WithoutMark = false;  // some line is UTF-8 with letters outside ASCII: read as UTF-8
    std::vector<std::string> codePageLines;  // the lines that are code-page text, as their bytes
    bool controlBytes = false;     // NUL or other control bytes that no text file holds
};

// A byte-order mark is honoured as the program honours it; without one, a line that is UTF-8 with
// letters outside ASCII is UTF-8 and any other line code-page text, read in `codePage`.
DecodedText DecodeText(const std::string& bytes, const CodePage& codePage);

// UTF-8 as Windows counts its characters: UTF-16 code units.
std::size_t Utf16Length(const std::string& utf8);

// Text whose bytes that are not UTF-8 are replaced by U+FFFD, so it can be printed and put into JSON.
std::string ValidUtf8(const std::string& text);
