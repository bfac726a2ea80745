#pragma once
// UTF-8 inside the program, UTF-16 at every Win32 call, the ANSI code page in text files.
#include <string>

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

struct CodePage;
// The system's ANSI code page for the file services: no default character and no best-fit
// look-alikes; text that does not convert exactly is reported, never changed.
const CodePage& SystemCodePage();

// Windows' UI language for this user as a locale name ("de-DE", "sr-Latn-RS"); empty when Windows
// cannot name it.
std::string UserUiLanguage();
