#pragma once
// orvelund-check's command line, apart from the platform's main(): arguments in UTF-8, output
// through a callback, so the same code runs on Linux, on Windows and in the unit tests.
#include <functional>
#include <string>
#include <vector>

// `toError` false: standard output; true: standard error.
using Writer = std::function<void(bool toError, const std::string& utf8)>;

// The arguments after the program's name. Returns the exit status: 0 no errors, 1 errors,
// 2 bad arguments or a folder that cannot be checked.
int RunCheck(const std::vector<std::string>& args, const Writer& write);
