#pragma once
#include <cstdint>
#include <string>

// The desktop's "open this with that verb" service.
class Shell {
public:
    virtual ~Shell() = default;
    // Hands `file` to the shell with `verb`, empty parameters and working folder, a normal
    // window. `owner` is a form's Handle() or 0. False when the shell could not start it; the
    // shell shows its own message for most such failures, so only a caller that must know
    // (restarting the program itself) looks at the result.
    virtual bool Execute(std::intptr_t owner, const std::string& verb, const std::string& file) = 0;
    // Opens the program `program` as Execute does, with `parameters` as its command line's
    // arguments: the program restarting itself with the options it was given. A shell that
    // starts no programs (the medium checker's) answers false.
    virtual bool Start(std::intptr_t /*owner*/, const std::string& /*program*/, const std::string& /*parameters*/) {
        return false;
    }
};
