#pragma once
// Console programs' text: arguments and output in UTF-8 whatever the console's code page.
#include <string>
#include <vector>

// The arguments after the program's name.
std::vector<std::string> ConsoleArguments(int argc, wchar_t** argv);
// To a console as UTF-16, so every letter shows; to a file or pipe as the UTF-8 bytes unchanged,
// the same bytes a Linux build writes.
void WriteConsoleText(bool toError, const std::string& utf8);
