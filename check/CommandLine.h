#pragma once
// orvelund-check's command line, apart from the platform's main(): arguments in UTF-8, output
// through a callback, so the same code runs on Linux, on Windows and in the unit tests.
#include <functional>
#include <string>
#include <vector>

#include "check/DiskMedium.h"

// `toError` false: standard output; true: standard error.
using Writer = std::function<void(bool toError, const std::string& utf8)>;
// Writes a whole file: to a temporary file beside it, then swapped in; false when that failed.
using FileReplacer = std::function<bool(const std::string& path, const std::string& bytes)>;

// The arguments after the program's name. Returns the exit status: 0 no errors, 1 errors,
// 2 bad arguments, a folder that cannot be checked, a web page that could not be written, or a
// disc image asked for and not written. `errorIsTerminal`: a disc image shows its progress there.
int RunCheck(std::vector<std::string> args, const Writer& write, const FileReplacer& replace = ReplaceFileWhole,
             bool errorIsTerminal = false);
