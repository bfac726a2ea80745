#include "common/CodePages.h"

#include <array>
#include <map>

namespace {

// The first code point of a UTF-8 text of one character.
unsigned FirstCodePoint(const std::string& utf8) {
    const auto* b = reinterpret_cast<const unsigned char*>(utf8.data());
    if (utf8.empty()) return 0;
    if (b[0] < 0x80) return b[0];
    const std::size_t n = b[0] >= 0xF0 ? 4 : b[0] >= 0xE0 ? 3 : 2;
    unsigned c = b[0] & (0x3F >> (n - 1));
    for (std::size_t k = 1; k < n && k < utf8.size(); ++k) c = (c << 6) | (b[k] & 0x3F);
    return c;
}

// Characters a code page's undefined bytes turn into on one platform and not the other: Windows
// gives some of them C1 controls or private-use characters where iconv refuses them.
bool NoText(const std::string& utf8) {
    const auto* b = reinterpret_cast<const unsigned char*>(utf8.data());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t n = b[i] < 0x80 ? 1 : b[i] >= 0xF0 ? 4 : b[i] >= 0xE0 ? 3 : 2;
        const unsigned c = FirstCodePoint(utf8.substr(i, n));
        if ((c >= 0x80 && c <= 0x9F) || (c >= 0xE000 && c <= 0xF8FF) || c >= 0xF0000) return true;
        i += n;
    }
    return false;
}

// A single-byte code page, each byte converted on its own: some converters join a letter and the
// accent after it into one character, which Windows does not, and a table read once is fast.
struct ByteTable {
    std::array<std::string, 256> text;  // empty: no text
};

const ByteTable& BytesOf(unsigned number) {
    static std::map<unsigned, ByteTable> tables;  // the program reads text on one thread
    auto found = tables.find(number);
    if (found != tables.end()) return found->second;
    ByteTable& table = tables[number];
    for (unsigned b = 1; b < 256; ++b) {
        const auto text = PlatformDecode(number, std::string(1, static_cast<char>(b)));
        if (text && !text->empty() && !NoText(*text)) table.text[b] = *text;
    }
    table.text[0] = std::string(1, '\0');
    return table;
}

std::optional<std::string> Strict(const AnsiCodePage& cp, const std::string& bytes) {
    if (!cp.doubleByte) {
        const ByteTable& table = BytesOf(cp.number);
        std::string out;
        out.reserve(bytes.size() + bytes.size() / 2);
        for (const char ch : bytes) {
            const std::string& t = table.text[static_cast<unsigned char>(ch)];
            if (t.empty()) return std::nullopt;
            out += t;
        }
        return out;
    }
    auto text = PlatformDecode(cp.number, bytes);
    if (!text || NoText(*text)) return std::nullopt;
    return text;
}

}  // namespace

const std::vector<AnsiCodePage>& AnsiCodePages() {
    static const std::vector<AnsiCodePage> pages = {
        {1252, "Western European", false}, {1250, "Central European", false}, {1251, "Cyrillic", false},
        {1253, "Greek", false},            {1254, "Turkish", false},          {1255, "Hebrew", false},
        {1256, "Arabic", false},           {1257, "Baltic", false},           {1258, "Vietnamese", false},
        {874, "Thai", false},              {932, "Japanese", true},           {936, "Simplified Chinese", true},
        {949, "Korean", true},             {950, "Traditional Chinese", true},
    };
    return pages;
}

const AnsiCodePage* FindAnsiCodePage(unsigned number) {
    for (const auto& cp : AnsiCodePages())
        if (cp.number == number) return &cp;
    return nullptr;
}

std::string CodePageLabel(unsigned number) {
    const AnsiCodePage* cp = FindAnsiCodePage(number);
    return std::to_string(number) + (cp ? std::string(", ") + cp->name : std::string());
}

std::optional<std::string> DecodeCodePage(unsigned number, const std::string& bytes) {
    const AnsiCodePage* cp = FindAnsiCodePage(number);
    if (!cp) return std::nullopt;
    return Strict(*cp, bytes);
}

std::string DecodeCodePageLoosely(unsigned number, const std::string& bytes) {
    const AnsiCodePage* cp = FindAnsiCodePage(number);
    if (cp) {
        if (auto whole = Strict(*cp, bytes)) return *whole;
    }
    // Character by character: ASCII as it stands, else the longest piece of one or two bytes the
    // code page reads as text, else U+FFFD for the byte. A double-byte character's second byte may
    // be ASCII ("\" in many Japanese names), so a piece starts only at a byte above 127.
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            out += bytes[i++];
            continue;
        }
        std::optional<std::string> piece;
        std::size_t n = 0;
        if (cp && cp->doubleByte && i + 1 < bytes.size() && (piece = Strict(*cp, bytes.substr(i, 2)))) n = 2;
        else if (cp && (piece = Strict(*cp, bytes.substr(i, 1)))) n = 1;
        if (n) {
            out += *piece;
            i += n;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

CodePage CodePageReader(unsigned number) {
    return CodePage{[number](const std::string& ansi) { return DecodeCodePageLoosely(number, ansi); }};
}
