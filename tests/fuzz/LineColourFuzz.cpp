// Any bytes through the line splitter, fed in pieces cut anywhere, and through the colour and
// number conversion: the pieces give the same lines as the whole, and every number read is
// written back as text that reads as the same number.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/TextLines.h"
#include "menu/MenuFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t skip = data[0] % 8, cut = data[1] % (size - 1);
    const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);
    const auto whole = SplitLines(text, skip, 11);
    LineSplitter pieces(skip, 11);
    pieces.Feed(text.data(), cut);
    pieces.Feed(text.data() + cut, text.size() - cut);
    pieces.Finish();
    if (pieces.Lines() != whole) __builtin_trap();

    for (const auto& line : SplitLines(text)) {
        const auto value = menufile::ToInt32(line);
        if (value && menufile::ToInt32(std::to_string(*value)) != value) __builtin_trap();
        const auto fields = menufile::SplitFields(line);
        std::size_t length = fields.size() - 1;
        for (const auto& f : fields) length += f.size();
        if (length != line.size()) __builtin_trap();
    }
    return 0;
}
