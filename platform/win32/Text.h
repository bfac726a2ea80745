#pragma once
// UTF-8 inside the program, UTF-16 at every Win32 call, the ANSI code page in text files.
#include <string>

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
std::string Utf8FromAnsi(const std::string& ansi);
std::string AnsiFromUtf8(const std::string& utf8);
