#include "editor/EntryFromFile.h"

#include <algorithm>

#include "app/Orvelund.h"
#include "common/TextLines.h"

namespace {

// Button pictures are content\<Button>.jpg, and a disc (Joliet) holds names of 64 UTF-16 units.
constexpr std::size_t kMaxButtonUnits = 64 - 4;

// One character of UTF-8 text: its code point and its length in bytes. A stray byte counts as a
// character of its own (names from Windows are always whole UTF-8).
struct Character {
    unsigned code;
    std::size_t length;
};
Character CharacterAt(const std::string& s, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned c = b(i);
    auto continued = [&](std::size_t n) {
        if (i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((b(i + k) & 0xC0) != 0x80) return false;
        return true;
    };
    if (c >= 0xF0 && c < 0xF8 && continued(4))
        return {((c & 0x07u) << 18) | ((b(i + 1) & 0x3Fu) << 12) | ((b(i + 2) & 0x3Fu) << 6) | (b(i + 3) & 0x3Fu), 4};
    if (c >= 0xE0 && c < 0xF0 && continued(3))
        return {((c & 0x0Fu) << 12) | ((b(i + 1) & 0x3Fu) << 6) | (b(i + 2) & 0x3Fu), 3};
    if (c >= 0xC0 && c < 0xE0 && continued(2)) return {((c & 0x1Fu) << 6) | (b(i + 1) & 0x3Fu), 2};
    return {c, 1};
}

// What a file name or a menu line cannot hold: control characters and \ / : * ? " < > | ,
bool Unwanted(unsigned c) {
    static const std::string kNotInNames = "\\/:*?\"<>|,";
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c < 0x80 && kNotInNames.find(static_cast<char>(c)) != std::string::npos);
}

void TrimBlanksAndDots(std::string& s) {
    const auto keep = s.find_first_not_of(" .");
    if (keep == std::string::npos) {
        s.clear();
        return;
    }
    s.erase(0, keep);
    s.erase(s.find_last_not_of(" .") + 1);
}

std::string AsciiUpper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// The length of a device name at the start of `name` (before a dot or the end, blanks after it
// allowed), 0 when there is none.
std::size_t DeviceNameLength(const std::string& name) {
    std::string stem = name.substr(0, name.find('.'));
    stem.erase(stem.find_last_not_of(' ') + 1);
    const std::string upper = AsciiUpper(stem);
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return 3;
    if (upper.size() == 4 && (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
        upper[3] >= '1' && upper[3] <= '9')
        return 4;
    return 0;
}

// `s` cut to at most `units` UTF-16 units, never inside a character.
std::string CutTo(const std::string& s, std::size_t units) {
    std::size_t used = 0, i = 0;
    while (i < s.size()) {
        const Character c = CharacterAt(s, i);
        const std::size_t n = c.code >= 0x10000 ? 2 : 1;
        if (used + n > units) break;
        used += n;
        i += c.length;
    }
    return s.substr(0, i);
}


// An absolute path as GetFullPathName writes it: its root ("C:", "\\server\share"), then each part
// after a "\", where "." and empty parts go, ".." takes the part before it (never the root) and
// each part loses its trailing dots and blanks. nullopt for a path that is not absolute.
std::optional<std::string> FullPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path.rfind("\\\\?\\UNC\\", 0) == 0) path = "\\\\" + path.substr(8);
    else if (path.rfind("\\\\?\\", 0) == 0) path = path.substr(4);
    std::size_t rest = 0;
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (path.size() >= 3 && letter(path[0]) && path[1] == ':' && path[2] == '\\') {
        rest = 2;
    } else if (path.size() > 2 && path.compare(0, 2, "\\\\") == 0) {
        const auto server = path.find('\\', 2);
        if (server == std::string::npos || server == 2 || server + 1 >= path.size() || path[server + 1] == '\\')
            return std::nullopt;  // "\\server" without a share
        rest = std::min(path.find('\\', server + 1), path.size());
    } else {
        return std::nullopt;
    }
    std::string full = path.substr(0, rest);
    const std::size_t root = full.size();
    while (rest < path.size()) {
        const std::size_t end = std::min(path.find('\\', rest + 1), path.size());
        std::string part = path.substr(rest + 1, end - rest - 1);
        rest = end;
        if (part == "..") {
            if (full.size() > root) full.erase(full.find_last_of('\\'));
            continue;
        }
        while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
        if (!part.empty()) full += "\\" + part;
    }
    return full;
}

std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool SameLetters(const std::string& a, const char* b) { return AsciiUpper(a) == AsciiUpper(b); }

}  // namespace

std::string FileNameOf(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string WithoutExtension(const std::string& name) {
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string ButtonFromName(const std::string& name) {
    std::string button;
    for (std::size_t i = 0; i < name.size();) {
        const Character c = CharacterAt(name, i);
        const bool blank = Unwanted(c.code) || c.code == ' ';
        if (!blank) button.append(name, i, c.length);
        else if (!button.empty() && button.back() != ' ') button += ' ';
        i += c.length;
    }
    TrimBlanksAndDots(button);
    if (const std::size_t device = DeviceNameLength(button)) button.insert(device, "_");
    button = CutTo(button, kMaxButtonUnits);
    TrimBlanksAndDots(button);
    return button.empty() ? "New Button" : button;
}

std::string UniqueButton(const std::string& button, std::unordered_set<std::string>& taken) {
    std::string candidate = button;
    for (int n = 2; !taken.insert(NameKey(candidate)).second; ++n) {
        const std::string suffix = " " + std::to_string(n);
        candidate = CutTo(button, kMaxButtonUnits - suffix.size());
        TrimBlanksAndDots(candidate);
        candidate += suffix;
    }
    return candidate;
}

bool IsPictureName(const std::string& button) { return !button.empty() && ButtonFromName(button) == button; }

std::string LabelFromName(const std::string& name) {
    std::string label = name;
    for (std::size_t comma; (comma = label.find(',')) != std::string::npos;) {
        std::size_t from = comma, to = comma + 1;
        while (from > 0 && label[from - 1] == ' ') --from;
        while (to < label.size() && label[to] == ' ') ++to;
        label.replace(from, to - from, " ");
    }
    return Trimmed(label);
}

std::string NameKey(const std::string& name) {
    std::string key;
    key.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) {
        const Character c = CharacterAt(name, i);
        if (c.code == '/') key += '\\';
        else if (c.code < 0x800 && c.length <= 2) AppendUtf8(key, WindowsLower(c.code));
        else key.append(name, i, c.length);
        i += c.length;
    }
    return key;
}

std::optional<std::string> RelativeToProgram(const std::string& appPath, const std::string& path) {
    const auto app = FullPath(appPath), full = FullPath(path);
    if (!app || !full) return std::nullopt;
    // NameKey keeps every character's length, so the keys' positions are the paths'.
    const std::string appKey = NameKey(*app), key = NameKey(*full);
    if (key == appKey) return ".";
    if (key.size() <= appKey.size() + 1 || key.compare(0, appKey.size(), appKey) != 0 || key[appKey.size()] != '\\')
        return std::nullopt;
    return full->substr(appKey.size() + 1);
}

bool IsInternetShortcut(const std::string& name) {
    return name.size() > 4 && SameLetters(name.substr(name.size() - 4), ".url");
}

std::optional<std::string> InternetShortcutTarget(const std::vector<std::string>& lines) {
    bool inSection = false;
    for (const auto& raw : lines) {
        const std::string line = Trimmed(raw);
        if (!line.empty() && line[0] == '[') {
            const auto close = line.find(']');
            inSection = close != std::string::npos && SameLetters(Trimmed(line.substr(1, close - 1)), "InternetShortcut");
            continue;
        }
        const auto equals = line.find('=');
        if (!inSection || equals == std::string::npos || !SameLetters(Trimmed(line.substr(0, equals)), "URL")) continue;
        std::string address = Trimmed(line.substr(equals + 1));
        if (!IsWebTarget(address)) return std::nullopt;
        const std::string scheme = AsciiUpper(address.substr(0, address.find(':')));
        if (scheme == "FILE" || scheme == "JAVASCRIPT" || scheme == "VBSCRIPT" || scheme == "DATA") return std::nullopt;
        for (std::size_t comma; (comma = address.find(',')) != std::string::npos;) address.replace(comma, 1, "%2C");
        return address;
    }
    return std::nullopt;
}
