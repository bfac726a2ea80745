#pragma once
#include <cstdint>
#include <string>

// The desktop's "open this with that verb" service.
class Shell {
public:
    virtual ~Shell() = default;
    // Hands `file` to the shell with `verb`, empty parameters and working folder, a normal
    // window. `owner` is a form's Handle() or 0. The result is not reported: the shell shows
    // its own message when it cannot open the target.
    virtual void Execute(std::intptr_t owner, const std::string& verb, const std::string& file) = 0;
};
