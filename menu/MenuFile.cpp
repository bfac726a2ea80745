#include "menu/MenuFile.h"

#include <cmath>
#include <cstdlib>

namespace menufile {

std::optional<std::string> SettingValue(const std::string& line) {
    const auto colon = line.find(':');
    if (colon == std::string::npos) return std::nullopt;
    const auto second = line.find(':', colon + 1);
    return line.substr(colon + 1, second == std::string::npos ? std::string::npos : second - colon - 1);
}

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const auto comma = line.find(',', start);
        if (comma == std::string::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

MenuEntry EntryFromLine(const std::string& line) {
    MenuEntry e;
    std::string* out[] = {&e.Button, &e.Label, &e.FileFolder, &e.Action};
    std::size_t start = 0;
    for (std::string* field : out) {
        const auto comma = line.find(',', start);
        *field = line.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return e;
}

std::string EntryLine(const MenuEntry& e) {
    return e.Button + "," + e.Label + "," + e.FileFolder + "," + e.Action;
}

std::optional<std::int32_t> ToInt32(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return 0;
    const auto last = text.find_last_not_of(" \t");
    const std::string t = text.substr(first, last - first + 1);

    if (t.size() > 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h')) {
        if (t.size() > 10) return std::nullopt;  // more than eight hex digits
        std::uint32_t v = 0;
        for (std::size_t i = 2; i < t.size(); ++i) {
            const char c = t[i];
            int d;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
            else return std::nullopt;
            v = v * 16 + static_cast<std::uint32_t>(d);
        }
        return static_cast<std::int32_t>(v);
    }

    std::size_t i = 0;
    bool negative = false;
    if (t[i] == '+' || t[i] == '-') negative = t[i++] == '-';
    double whole = 0;
    std::size_t digits = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, ++digits) {
        whole = whole * 10 + (t[i] - '0');
        if (whole > 1e12) return std::nullopt;
    }
    double fraction = 0, scale = 0.1;
    if (i < t.size() && t[i] == '.') {
        for (++i; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i, ++digits, scale /= 10)
            fraction += (t[i] - '0') * scale;
    }
    if (digits == 0 || i != t.size()) return std::nullopt;
    double value = std::nearbyint(whole + fraction);  // halves go to the even number
    if (negative) value = -value;
    if (value < -2147483648.0 || value > 2147483647.0) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::vector<std::string> FileLines(const MenuSettings& s, const std::vector<MenuEntry>& entries) {
    std::vector<std::string> lines;
    lines.reserve(8 + entries.size());
    lines.push_back(kHeader1);
    lines.push_back(kHeader2);
    lines.push_back("TITLE:" + s.Title);
    lines.push_back("BTCOLOR:" + std::to_string(s.ButtonColor));
    lines.push_back("BGCOLOR:" + std::to_string(s.BackColor));
    lines.push_back("HIDESETUP:" + std::to_string(s.HideSetup));
    lines.push_back(kHeader7);
    lines.push_back(kHeader8);
    for (const auto& e : entries) lines.push_back(EntryLine(e));
    return lines;
}

}  // namespace menufile
