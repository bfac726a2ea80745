#pragma once
// Windows' ANSI code pages, in which older menus and many autorun.inf files are written. Text is
// converted with the platform's own conversion (MultiByteToWideChar on Windows, iconv elsewhere),
// never with tables of our own; this file only adds the rules that make both platforms agree.
#include <optional>
#include <string>
#include <vector>

#include "common/TextLines.h"

struct AnsiCodePage {
    unsigned number;   // 932
    const char* name;  // "Japanese"
    bool doubleByte;   // a character may take two bytes, the second of them possibly "\" or a letter
};

// The code pages Windows uses as a system's ANSI code page, in the order a tie is settled in.
const std::vector<AnsiCodePage>& AnsiCodePages();
const AnsiCodePage* FindAnsiCodePage(unsigned number);
// "932, Japanese"; "65001" for a number that is no ANSI code page.
std::string CodePageLabel(unsigned number);

// The code page text without a mark is taken in when nothing else tells: the system's ANSI code
// page on Windows, Windows-1252 (Western European) elsewhere.
unsigned SystemAnsiCodePage();

// Code-page text as UTF-8; nullopt when the bytes are no text in it: an undefined byte, a lead
// byte without its second byte, or a character that only one PC's own fonts define (private use,
// C1 controls), which the two platforms' conversions give differently anyway.
std::optional<std::string> DecodeCodePage(unsigned number, const std::string& bytes);
// The same, with every byte that is no text in it as U+FFFD: what a finding can quote.
std::string DecodeCodePageLoosely(unsigned number, const std::string& bytes);
// A reader of code page `number` for the text-line rules of common/TextLines.h.
CodePage CodePageReader(unsigned number);

// The platform's conversion, strict: nullopt when it refuses the bytes. Defined once per platform.
std::optional<std::string> PlatformDecode(unsigned number, const std::string& bytes);
