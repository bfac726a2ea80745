#pragma once
// Menus as authors on Windows of every ANSI code page write them: a title, a label and a file name
// in each code page's own script (Windows-1252's Western letters are everywhere else in the tests),
// and the same text as the code page's bytes, made with iconv, the C library's conversion.
#include <iconv.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace codepagetexts {

struct Script {
    unsigned codePage;
    std::string title, label, file;  // UTF-8; `file` lies in the medium's docs folder
};

// tests/data/code-pages.txt, which the comparison of the two builds under Wine reads too.
inline const std::vector<Script>& Scripts() {
    static const std::vector<Script> scripts = [] {
        std::vector<Script> read;
        std::ifstream in(std::string(ORVELUND_TEST_DATA) + "/code-pages.txt");
        for (std::string line; std::getline(in, line);) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream fields(line);
            Script s;
            std::string number;
            std::getline(fields, number, '\t');
            std::getline(fields, s.title, '\t');
            std::getline(fields, s.label, '\t');
            std::getline(fields, s.file);
            s.codePage = static_cast<unsigned>(std::stoul(number));
            read.push_back(s);
        }
        if (read.size() != 14 - 1) throw std::runtime_error("code-pages.txt: a line for each code page but 1252");
        return read;
    }();
    return scripts;
}

// UTF-8 text as code page `codePage`'s bytes.
inline std::string InCodePage(unsigned codePage, const std::string& utf8) {
    const iconv_t cd = iconv_open(("CP" + std::to_string(codePage)).c_str(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no iconv for " + std::to_string(codePage));
    std::string out(utf8.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size(), outLeft = out.size();
    char* to = out.data();
    const bool ok = iconv(cd, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1) &&
                    iconv(cd, nullptr, nullptr, &to, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!ok) throw std::runtime_error(utf8 + " does not fit code page " + std::to_string(codePage));
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace codepagetexts
