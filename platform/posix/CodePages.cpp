// The code-page conversion of the Linux build (orvelund-check and the unit tests): iconv, the C
// library's own.
#include <iconv.h>

#include <cerrno>
#include <map>
#include <mutex>

#include "common/CodePages.h"

std::optional<std::string> PlatformDecode(unsigned number, const std::string& bytes) {
    static std::mutex lock;
    // Open for the whole run and never destroyed: a map destroyed at exit would drop the only
    // pointers to the converters before the leak checker of the fuzz targets looks for them.
    static auto& converters = *new std::map<unsigned, iconv_t>;
    const std::lock_guard<std::mutex> hold(lock);
    auto found = converters.find(number);
    if (found == converters.end())
        found = converters.emplace(number, iconv_open("UTF-8", ("CP" + std::to_string(number)).c_str())).first;
    const iconv_t cd = found->second;
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh start: no state left from the last text
    std::string out(bytes.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* to = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd, &in, &inLeft, &to, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
    // A converter that holds back a letter to join it with an accent gives it up here.
    if (iconv(cd, nullptr, nullptr, &to, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

unsigned SystemAnsiCodePage() { return 1252; }
