// The disc image's layout and bytes.
//
// Layout, sector by sector (2 KiB each):
//   0-15   the system area, zeros
//   16     the primary volume descriptor (ISO 9660 names)
//   17     the supplementary volume descriptor for Joliet (UCS-2 names, level 3)
//   18     the descriptor set terminator
//   19-    path tables: ISO 9660 little- then big-endian, Joliet little- then big-endian
//   then   the folders of the ISO 9660 tree, then those of the Joliet tree, in path-table order
//   then   the files' bytes, folder by folder in path-table order, each folder's in name order
// Both trees point at the same file bytes, so each file is in the image once. The order comes from
// the names alone, never from the order the file system lists them in, so the same medium gives the
// same image on Linux and on Windows.
//
// Windows, macOS and Linux read the Joliet tree: there the names are the medium's, up to 64 UCS-2
// characters, in folders of any depth. The ISO 9660 tree is for systems that read nothing else: 8.3
// names of capitals, digits and "_", made unique within their folder, and folders down to the
// eight levels it allows. Deeper folders are left out of that tree only, never moved.
#include "check/DiscImage.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <set>
#include <unordered_map>

#include "check/Checker.h"
#include "check/MediumIndex.h"
#include "check/Text.h"
#include "common/TextLines.h"

namespace {

constexpr std::uint32_t kSector = 2048;
constexpr std::size_t kJolietName = 64;       // UCS-2 characters in a name
constexpr std::size_t kJolietLabel = 16;      // and in the label (32 bytes)
constexpr int kIsoLevels = 8;                 // the root is the first
constexpr std::size_t kMostFolders = 65535;   // path tables number parents in 16 bits
constexpr std::uint64_t kLargestFile = (std::uint64_t(1) << 32) - 1;
constexpr std::uint32_t kFirstPathTable = 19;

struct Node {
    std::string path;        // on the medium; empty for the root
    std::u16string joliet;   // its name in the Joliet tree
    std::string isoName;     // in the ISO 9660 tree: "README.TXT;1", "DOCS"; empty when not in it
    bool folder = true;
    std::uint64_t size = 0;
    std::int64_t modified = 0;
    std::uint32_t parent = 0;
    int level = 1;
    std::vector<std::uint32_t> children;     // Joliet order
    std::vector<std::uint32_t> isoChildren;  // ISO 9660 order, those that tree holds
    std::uint32_t extent = 0;                // a file's first sector
    std::uint32_t isoExtent = 0, isoLength = 0, jolietExtent = 0, jolietLength = 0;  // a folder's records
    std::uint32_t isoNumber = 0, jolietNumber = 0;  // in the path tables, from 1
};

// ---- numbers and dates as the formats store them --------------------------------------------

void Le16(std::string& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void Be16(std::string& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<char>((v >> 8) & 0xFF);
    b[at + 1] = static_cast<char>(v & 0xFF);
}
void Le32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
void Be32(std::string& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
}
void Both16(std::string& b, std::size_t at, std::uint32_t v) { Le16(b, at, v), Be16(b, at + 2, v); }
void Both32(std::string& b, std::size_t at, std::uint32_t v) { Le32(b, at, v), Be32(b, at + 4, v); }

struct Civil {
    std::int64_t year;
    unsigned month, day, hour, minute, second;
};

// A time in seconds since 1970 UTC as a calendar date (proleptic Gregorian), without the C
// library, whose gmtime differs between systems before 1970 and after 2038.
Civil CivilOf(std::int64_t t) {
    std::int64_t days = t / 86400, rest = t % 86400;
    if (rest < 0) rest += 86400, --days;
    days += 719468;  // from 0000-03-01
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned m = (5 * dayOfYear + 2) / 153;
    const unsigned month = m < 10 ? m + 3 : m - 9;
    return {yearOfEra + era * 400 + (month <= 2), month, dayOfYear - (153 * m + 2) / 5 + 1,
            static_cast<unsigned>(rest / 3600), static_cast<unsigned>(rest % 3600 / 60),
            static_cast<unsigned>(rest % 60)};
}

Civil Clamped(std::int64_t t, std::int64_t first, std::int64_t last) {
    Civil c = CivilOf(t);
    if (c.year < first) c = {first, 1, 1, 0, 0, 0};
    if (c.year > last) c = {last, 12, 31, 23, 59, 59};
    return c;
}

// A folder record's 7 bytes: years since 1900, month, day, hour, minute, second, and the offset
// from UTC (none: the dates are UTC).
void RecordDate(std::string& b, std::size_t at, std::int64_t t) {
    const Civil c = Clamped(t, 1900, 2155);
    const unsigned values[] = {static_cast<unsigned>(c.year - 1900), c.month, c.day, c.hour, c.minute, c.second, 0};
    for (int i = 0; i < 7; ++i) b[at + i] = static_cast<char>(values[i]);
}

// A volume descriptor's 17 bytes: "YYYYMMDDHHMMSScc" in digits, then the offset from UTC.
void VolumeDate(std::string& b, std::size_t at, std::int64_t t) {
    const Civil c = Clamped(t, 1, 9999);
    char text[17];
    std::snprintf(text, sizeof text, "%04d%02u%02u%02u%02u%02u00", static_cast<int>(c.year), c.month, c.day, c.hour,
                  c.minute, c.second);
    b.replace(at, 16, text, 16);
    b[at + 16] = 0;
}

void NoVolumeDate(std::string& b, std::size_t at) { b.replace(at, 16, std::string(16, '0')); }

// ---- names ----------------------------------------------------------------------------------

std::u16string Ucs2Units(const std::string& utf8) {
    const std::string le = Utf16LEFromUtf8(utf8);
    std::u16string out(le.size() / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(le[2 * i]) | static_cast<unsigned char>(le[2 * i + 1]) << 8);
    return out;
}

std::string Ucs2Bytes(const std::u16string& s) {
    std::string out;
    for (const char16_t c : s) out += static_cast<char>(c >> 8), out += static_cast<char>(c & 0xFF);
    return out;
}

bool Surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Characters a Joliet name cannot hold: controls, "*", "/", ":", ";", "?" and "\".
bool NotJoliet(char16_t c) { return c < 0x20 || std::u16string(u"*/:;?\\").find(c) != std::u16string::npos; }

// A character for a finding: "😀" (U+1F600), or U+0009 alone for a control character.
std::string CodePoint(unsigned c) {
    char text[12];
    std::snprintf(text, sizeof text, "U+%04X", c);
    std::string shown;
    if (c >= 0x20) AppendUtf8(shown, c);
    return shown.empty() ? text : "\"" + shown + "\" (" + text + ")";
}

// Capitals, digits and "_": the characters an ISO 9660 name may hold; any other becomes "_".
std::string DCharacters(const std::u16string& s, std::size_t most) {
    std::string out;
    for (std::size_t i = 0; i < s.size() && out.size() < most; ++i) {
        char16_t c = s[i];
        if (Surrogate(c) && i + 1 < s.size()) ++i;  // one character, one "_"
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
        out += (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ? static_cast<char>(c) : '_';
    }
    return out;
}

struct IsoParts {
    std::string name, extension;  // "README", "TXT"
};

bool IsoBefore(const IsoParts& a, const IsoParts& b) {
    // Names first, then extensions, each as if filled up with blanks: every character of an ISO
    // 9660 name sorts after a blank, so the shorter of two that begin alike comes first.
    return a.name != b.name ? a.name < b.name : a.extension < b.extension;
}


// "1.5 MiB", or KiB below one MiB, as the check says sizes.
std::string Mebibytes(std::uint64_t bytes) {
    const bool small = bytes < (1u << 20);
    const std::uint64_t unit = small ? 1024 : 1u << 20, tenths = (bytes * 10 + unit / 2) / unit;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + (small ? " KiB" : " MiB");
}

std::string Listed(const std::vector<std::string>& names) {
    std::string out;
    for (std::size_t i = 0; i < names.size() && i < 10; ++i) out += (i ? ", " : "") + names[i];
    return names.size() > 10 ? out + " and " + Thousands(names.size() - 10) + " more" : out;
}

std::string OwnName(const MediumItem& item) {
    if (item.nameLength) return item.path.substr(item.path.size() - item.nameLength);
    const auto slash = item.path.rfind('\\');
    return slash == std::string::npos ? item.path : item.path.substr(slash + 1);
}

std::string ParentOf(const std::string& path) {
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::int64_t ImageTime() {
    // Whole seconds in decimal digits, as reproducible builds set it; anything else is not taken.
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
        std::int64_t seconds = 0;
        const char* c = epoch;
        for (; *c >= '0' && *c <= '9' && seconds < (std::int64_t(1) << 40); ++c) seconds = seconds * 10 + (*c - '0');
        if (*c == '\0') return seconds;
    }
    return static_cast<std::int64_t>(std::time(nullptr));
}

// ---- the plan: the trees, their numbers and where everything lies -----------------------------

struct DiscImage::Plan {
    std::vector<Node> nodes;  // nodes[0] is the root
    std::vector<std::uint32_t> isoFolders, jolietFolders;  // in path-table order
    std::vector<std::uint32_t> files;                      // in the order of their bytes
    std::vector<Finding> refusals, notes;
    std::string label, isoLabel;
    std::int64_t time = 0;
    std::uint32_t pathTableSectors[4] = {};
    std::uint32_t isoPathTableBytes = 0, jolietPathTableBytes = 0;
    std::uint64_t sectors = 0;

    void Refuse(const std::string& code, const MediumItem& item, const std::string& what, const std::string& fix) {
        refusals.push_back({Severity::Error, code, item.path, 0, "", what, fix, 0});
    }
    void Note(const std::string& code, const std::string& what, const std::string& fix = "") {
        notes.push_back({Severity::Note, code, "", 0, "", what, fix, 0});
    }
    void TakeLabel(const std::string& wanted);
    void CheckName(const MediumItem& item);
    void CheckCase(const std::vector<const MediumItem*>& kept);
    void Build(const std::vector<const MediumItem*>& kept);
    void NameIsoChildren(Node& folder);
    void Number(bool joliet);
    void LayOut();
    std::string Descriptor(bool joliet) const;
    std::string PathTable(bool joliet, bool bigEndian) const;
    std::string Records(const Node& folder, bool joliet) const;
    std::string Identifier(const Node& node, bool joliet) const {
        return joliet ? Ucs2Bytes(node.joliet) : node.isoName;
    }
};

void DiscImage::Plan::TakeLabel(const std::string& wanted) {
    // Joliet's label holds 16 UCS-2 characters; ISO 9660's 32 capitals, digits and "_", which only
    // systems without Joliet show.
    std::u16string units;
    for (const char16_t c : Ucs2Units(ValidUtf8(wanted)))
        if (!Surrogate(c) && c >= 0x20) units += c;
    if (units.size() > kJolietLabel) units.resize(kJolietLabel);
    while (!units.empty() && units.back() == u' ') units.pop_back();
    std::string utf8;
    for (const char16_t c : units) AppendUtf8(utf8, c);
    label = utf8;
    isoLabel = DCharacters(units, 32);
    if (label != wanted)
        Note("N-IMAGE-LABEL", "The label \"" + wanted + "\" is cut to \"" + label + "\": a disc's label holds " +
             std::to_string(kJolietLabel) + " characters, none of them beyond U+FFFF (emoji, for one).",
             "Choose a label that fits, or shorten the menu's title.");
}

void DiscImage::Plan::CheckName(const MediumItem& item) {
    const std::string name = OwnName(item);
    const std::string what = item.folder ? "folder" : "file";
    if (item.danglingLink || item.linkedFolder || !item.readable) {
        Refuse("E-IMAGE-UNREADABLE", item,
               item.danglingLink   ? "The " + what + " is a symbolic link to something that is not there."
               : item.linkedFolder ? "The folder is a symbolic link to a folder, which is never followed (a link "
                                     "back up would never end): its files would be missing from the image."
                                   : "The " + what + " cannot be read here, so its bytes cannot go into the image.",
               item.linkedFolder ? "Copy the folder in place of the link." : "Check its permissions, or delete it.");
    }
    if (!IsUtf8(name.data(), name.size())) {
        Refuse("E-IMAGE-NAME-CHARACTERS", item, "The name holds bytes that are not UTF-8: a disc's names are "
               "Unicode, so the " + what + " has no name there.", "Rename the " + what + ", typing its name anew.");
        return;
    }
    const std::u16string units = Ucs2Units(name);
    std::string bad;
    std::set<unsigned> seen;
    for (std::size_t i = 0; i < units.size(); ++i) {
        unsigned c = units[i];
        if (Surrogate(units[i]) && i + 1 < units.size()) c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00u);
        else if (!NotJoliet(units[i])) continue;
        if (seen.insert(c).second) bad += (bad.empty() ? "" : ", ") + CodePoint(c);
    }
    if (!bad.empty())
        Refuse("E-IMAGE-NAME-CHARACTERS", item, "The name holds characters a disc's Joliet names cannot hold (" +
               bad + "): Joliet names are UCS-2, without characters beyond U+FFFF (emoji, for one), without "
               "control characters and without * / : ; ? \\.", "Rename the " + what + ".");
    else if (units.size() > kJolietName)
        Refuse("E-IMAGE-NAME-LONG", item, "The name has " + std::to_string(units.size()) + " characters; a disc's "
               "Joliet names hold " + std::to_string(kJolietName) + ".", "Shorten the name to " +
               std::to_string(kJolietName) + " characters at most, and the entries that name it.");
    if (!item.folder && item.size > kLargestFile)
        Refuse("E-IMAGE-FILE-4GIB", item, "The file holds " + Thousands(item.size) + " bytes: an ISO 9660 disc holds "
               "files below 4 GiB, larger ones need a UDF disc, which is not made here.",
               "Split the file, or burn the medium with a program that writes UDF.");
}

void DiscImage::Plan::CheckCase(const std::vector<const MediumItem*>& kept) {
    // Two names of one folder that differ only in case: Windows reads one of them from the disc.
    std::unordered_map<std::string, std::vector<const MediumItem*>> byFolded;
    for (const MediumItem* item : kept) byFolded[MediumIndex::Fold(item->path)].push_back(item);
    for (const MediumItem* item : kept) {
        const auto& twins = byFolded[MediumIndex::Fold(item->path)];
        if (twins.size() < 2 || twins[0] != item) continue;
        // Inside a folder that is itself one of two: that folder's finding covers it.
        bool inTwin = false;
        for (std::string p = ParentOf(item->path); !p.empty() && !inTwin; p = ParentOf(p))
            inTwin = byFolded[MediumIndex::Fold(p)].size() > 1;
        if (inTwin) continue;
        std::string names;
        for (std::size_t i = 0; i < twins.size(); ++i)
            names += (i == 0 ? "" : i + 1 == twins.size() ? " and " : ", ") + ("\"" + OwnName(*twins[i]) + "\"");
        Refuse("E-IMAGE-NAME-CASE", *item, "The folder holds names that differ only in case: " + names + ". Windows "
               "reads one of them from the disc and the others are lost.", "Rename or delete all but one of them.");
    }
}

void DiscImage::Plan::Build(const std::vector<const MediumItem*>& kept) {
    nodes.emplace_back();
    nodes[0].modified = time;
    std::unordered_map<std::string, std::uint32_t> byPath{{std::string(), 0}};
    byPath.reserve(kept.size() + 1);
    std::size_t deep = 0;
    std::string firstDeep;
    for (const MediumItem* item : kept) {  // sorted: a folder comes before what it holds
        const auto parent = byPath.find(ParentOf(item->path));
        if (parent == byPath.end()) continue;  // only below a name with a "\" in it, which is refused
        Node n;
        n.joliet = Ucs2Units(OwnName(*item));
        n.folder = item->folder;
        n.size = item->size;
        n.modified = item->modified;
        n.parent = parent->second;
        n.level = nodes[parent->second].level + 1;
        if (!n.folder) n.path = item->path;
        if (n.folder && n.level == kIsoLevels + 1 && ++deep == 1) firstDeep = item->path;
        const auto index = static_cast<std::uint32_t>(nodes.size());
        nodes[parent->second].children.push_back(index);
        if (n.folder) byPath.emplace(item->path, index);
        nodes.push_back(std::move(n));
    }
    for (Node& node : nodes)
        std::sort(node.children.begin(), node.children.end(),
                  [&](std::uint32_t a, std::uint32_t b) { return nodes[a].joliet < nodes[b].joliet; });
    if (deep)
        Note("N-IMAGE-DEEP", firstDeep + (deep == 1 ? " lies" : " and " + std::to_string(deep - 1) + " more folders lie") +
             " deeper than the eight levels of folders that ISO 9660 names allow. Windows, macOS and Linux read the "
             "disc's Joliet names, where every folder is kept where it is; only a system that reads no Joliet names "
             "(MS-DOS, for one) does not see them.");
    if (byPath.size() > kMostFolders)
        refusals.push_back({Severity::Error, "E-IMAGE-FOLDERS", "", 0, "", "The medium has " +
                            Thousands(byPath.size()) + " folders with its root; a disc's path tables number " +
                            Thousands(kMostFolders) + ".", "Put the files into fewer folders.", 0});
}

void DiscImage::Plan::NameIsoChildren(Node& folder) {
    // 8.3 names made from the Joliet names, in Joliet order, each unique in its folder by a number
    // in place of its last letters: "DOCUMENT.PDF", "DOCUMEN1.PDF".
    std::set<std::string> taken;
    std::vector<std::pair<IsoParts, std::uint32_t>> named;
    for (const std::uint32_t c : folder.children) {
        Node& child = nodes[c];
        if (child.folder && child.level > kIsoLevels) continue;
        const auto dot = child.folder ? std::u16string::npos : child.joliet.rfind(u'.');
        IsoParts parts{DCharacters(child.joliet.substr(0, dot), 8),
                       dot == std::u16string::npos ? "" : DCharacters(child.joliet.substr(dot + 1), 3)};
        if (parts.name.empty() && parts.extension.empty()) parts.name = "_";
        const std::string stem = parts.name;
        for (unsigned n = 1; !taken.insert(parts.name + "." + parts.extension).second; ++n) {
            const std::string number = std::to_string(n);
            parts.name = stem.substr(0, std::min(stem.size(), 8 - number.size())) + number;
        }
        child.isoName = child.folder ? parts.name : parts.name + "." + parts.extension + ";1";
        named.emplace_back(parts, c);
    }
    std::sort(named.begin(), named.end(), [](const auto& a, const auto& b) { return IsoBefore(a.first, b.first); });
    for (const auto& [parts, c] : named) folder.isoChildren.push_back(c);
}

void DiscImage::Plan::Number(bool joliet) {
    // Breadth first, each folder's subfolders in name order: by level, then by parent, then by
    // name, the order path tables keep.
    auto& order = joliet ? jolietFolders : isoFolders;
    order.push_back(0);
    for (std::size_t i = 0; i < order.size(); ++i) {
        Node& folder = nodes[order[i]];
        (joliet ? folder.jolietNumber : folder.isoNumber) = static_cast<std::uint32_t>(i + 1);
        if (!joliet) NameIsoChildren(folder);
        for (const std::uint32_t c : joliet ? folder.children : folder.isoChildren)
            if (nodes[c].folder) order.push_back(c);
    }
}

namespace {

std::uint32_t RecordLength(std::size_t identifierBytes) {
    return static_cast<std::uint32_t>(33 + identifierBytes + (identifierBytes % 2 == 0));
}

// Where the next record goes: records never cross the end of a sector.
std::uint32_t Place(std::uint32_t at, std::uint32_t length) {
    return at % kSector + length > kSector ? (at / kSector + 1) * kSector : at;
}

std::uint32_t SectorsFor(std::uint64_t bytes) { return static_cast<std::uint32_t>((bytes + kSector - 1) / kSector); }

}  // namespace

void DiscImage::Plan::LayOut() {
    for (const bool joliet : {false, true}) {
        std::uint32_t bytes = 0;
        for (const std::uint32_t f : joliet ? jolietFolders : isoFolders) {
            const std::size_t id = f == 0 ? 1 : Identifier(nodes[f], joliet).size();
            bytes += 8 + static_cast<std::uint32_t>(id + id % 2);
        }
        (joliet ? jolietPathTableBytes : isoPathTableBytes) = bytes;
    }
    std::uint32_t next = kFirstPathTable;
    for (int i = 0; i < 4; ++i) {
        pathTableSectors[i] = next;
        next += SectorsFor(i < 2 ? isoPathTableBytes : jolietPathTableBytes);
    }
    for (const bool joliet : {false, true}) {
        for (const std::uint32_t f : joliet ? jolietFolders : isoFolders) {
            Node& folder = nodes[f];
            std::uint32_t at = 2 * RecordLength(1);  // "." and ".."
            for (const std::uint32_t c : joliet ? folder.children : folder.isoChildren) {
                const std::uint32_t length = RecordLength(Identifier(nodes[c], joliet).size());
                at = Place(at, length) + length;
            }
            (joliet ? folder.jolietExtent : folder.isoExtent) = next;
            (joliet ? folder.jolietLength : folder.isoLength) = SectorsFor(at) * kSector;
            next += SectorsFor(at);
        }
    }
    for (const std::uint32_t f : jolietFolders)
        for (const std::uint32_t c : nodes[f].children)
            if (!nodes[c].folder) files.push_back(c);
    // An empty file takes no sector; it points where the bytes of files begin.
    const std::uint32_t data = next;
    for (const std::uint32_t f : files) {
        nodes[f].extent = nodes[f].size ? next : data;
        next += SectorsFor(nodes[f].size);
    }
    sectors = next;
}

std::string DiscImage::Plan::Descriptor(bool joliet) const {
    std::string b(kSector, '\0');
    b[0] = joliet ? 2 : 1;
    b.replace(1, 5, "CD001");
    b[6] = 1;
    // Text fields are filled with blanks: one byte each in ISO 9660, UCS-2 in Joliet.
    auto text = [&](std::size_t at, std::size_t length, const std::string& value) {
        if (!joliet) {
            b.replace(at, length, (value + std::string(length, ' ')).substr(0, length));
            return;
        }
        std::string ucs2 = Ucs2Bytes(Ucs2Units(value));
        while (ucs2.size() < length) ucs2 += std::string("\0 ", 2);
        b.replace(at, length, ucs2.substr(0, length));
    };
    text(8, 32, "");  // the system
    text(40, 32, joliet ? label : isoLabel);
    Both32(b, 80, static_cast<std::uint32_t>(sectors));
    if (joliet) b.replace(88, 3, "%/E");  // UCS-2 level 3
    Both16(b, 120, 1);     // discs in the set
    Both16(b, 124, 1);     // this one's number
    Both16(b, 128, kSector);
    const std::uint32_t* tables = pathTableSectors + (joliet ? 2 : 0);
    Both32(b, 132, joliet ? jolietPathTableBytes : isoPathTableBytes);
    Le32(b, 140, tables[0]);
    Be32(b, 148, tables[1]);
    const Node& root = nodes[0];
    std::string record(34, '\0');
    record[0] = 34;
    Both32(record, 2, joliet ? root.jolietExtent : root.isoExtent);
    Both32(record, 10, joliet ? root.jolietLength : root.isoLength);
    RecordDate(record, 18, root.modified);
    record[25] = 2;
    Both16(record, 28, 1);
    record[32] = 1;
    b.replace(156, 34, record);
    text(190, 128, "");  // the volume set
    text(318, 128, "");  // the publisher
    text(446, 128, "");  // who prepared the data
    text(574, 128, joliet ? "Orvelund" : "ORVELUND");  // the application that wrote it
    text(702, 37, "");   // the copyright, abstract and bibliography files
    text(739, 37, "");
    text(776, 37, "");
    VolumeDate(b, 813, time);  // made
    VolumeDate(b, 830, time);  // changed
    NoVolumeDate(b, 847);      // expires: never
    NoVolumeDate(b, 864);      // valid from: at once
    b[881] = 1;
    return b;
}

std::string DiscImage::Plan::PathTable(bool joliet, bool bigEndian) const {
    std::string table;
    for (const std::uint32_t f : joliet ? jolietFolders : isoFolders) {
        const Node& folder = nodes[f];
        const std::string id = f == 0 ? std::string(1, '\0') : Identifier(folder, joliet);
        std::string entry(8 + id.size() + id.size() % 2, '\0');
        entry[0] = static_cast<char>(id.size());
        const Node& parent = nodes[folder.parent];
        const std::uint32_t extent = joliet ? folder.jolietExtent : folder.isoExtent;
        const std::uint32_t number = joliet ? parent.jolietNumber : parent.isoNumber;
        (bigEndian ? Be32 : Le32)(entry, 2, extent);
        (bigEndian ? Be16 : Le16)(entry, 6, number);
        entry.replace(8, id.size(), id);
        table += entry;
    }
    table.resize(SectorsFor(table.size()) * kSector, '\0');
    return table;
}

std::string DiscImage::Plan::Records(const Node& folder, bool joliet) const {
    std::string b(joliet ? folder.jolietLength : folder.isoLength, '\0');
    std::uint32_t at = 0;
    auto record = [&](const Node& node, const std::string& id) {
        const std::uint32_t length = RecordLength(id.size());
        at = Place(at, length);
        b[at] = static_cast<char>(length);
        Both32(b, at + 2, node.folder ? (joliet ? node.jolietExtent : node.isoExtent) : node.extent);
        Both32(b, at + 10, node.folder ? (joliet ? node.jolietLength : node.isoLength)
                                       : static_cast<std::uint32_t>(node.size));
        RecordDate(b, at + 18, node.modified);
        b[at + 25] = node.folder ? 2 : 0;
        Both16(b, at + 28, 1);
        b[at + 32] = static_cast<char>(id.size());
        b.replace(at + 33, id.size(), id);
        at += length;
    };
    record(folder, std::string(1, '\0'));
    record(nodes[folder.parent], std::string(1, '\1'));
    for (const std::uint32_t c : joliet ? folder.children : folder.isoChildren) record(nodes[c], Identifier(nodes[c], joliet));
    return b;
}

// ---- the image ----------------------------------------------------------------------------------

DiscImage::DiscImage(Medium& medium, const std::string& label, std::int64_t time,
                     const std::vector<std::string>& leaveOut)
    : plan_(std::make_unique<Plan>()), medium_(medium) {
    Plan& p = *plan_;
    p.time = time;
    p.TakeLabel(label);
    std::vector<MediumItem> items = medium.List();
    std::sort(items.begin(), items.end(), [](const MediumItem& a, const MediumItem& b) { return a.path < b.path; });
    std::vector<const MediumItem*> kept;
    std::vector<std::string> leftovers, self;
    for (const MediumItem& item : items) {
        if (std::find(leaveOut.begin(), leaveOut.end(), item.path) != leaveOut.end()) {
            self.push_back(item.path);
        } else if (!item.folder && LeftoverOf(OwnName(item))) {
            leftovers.push_back(item.path);
        } else {
            p.CheckName(item);
            kept.push_back(&item);
        }
    }
    p.CheckCase(kept);
    if (!leftovers.empty() || !self.empty())
        p.Note("N-IMAGE-LEFT-OUT", "Left out of the image: " +
               (leftovers.empty() ? "" : "what interrupted saves left behind (" + Listed(leftovers) + ")") +
               (leftovers.empty() || self.empty() ? "" : "; ") +
               (self.empty() ? "" : "the image itself, made inside the folder (" + Listed(self) + ")") + ".");
    p.Build(kept);
    p.Number(false);
    p.Number(true);
    p.LayOut();
    const std::uint64_t bytes = Bytes();
    const std::string size = "The image takes " + Thousands(p.sectors) + " sectors of 2 KiB (" + Mebibytes(bytes) + ")";
    p.Note("N-IMAGE-SIZE", size + (bytes <= kCdBytes             ? ": it fits on a CD (700 MB)."
                                   : bytes <= kDvdBytes          ? ": too much for a CD (700 MB); it fits on a DVD (4.7 GB)."
                                   : bytes <= kDualLayerDvdBytes ? ": too much for a DVD (4.7 GB); it fits on a "
                                                                   "dual-layer DVD (8.5 GB)."
                                                                 : ": more than a dual-layer DVD (8.5 GB) holds."));
}

DiscImage::~DiscImage() = default;

const std::vector<Finding>& DiscImage::Refusals() const { return plan_->refusals; }
const std::vector<Finding>& DiscImage::Notes() const { return plan_->notes; }
const std::string& DiscImage::Label() const { return plan_->label; }
std::uint64_t DiscImage::Sectors() const { return plan_->sectors; }

DiscImage::Result DiscImage::Write(ImageOutput& out, const ImageProgress& progress) {
    const Plan& p = *plan_;
    if (!p.refusals.empty()) return {Outcome::Refused, ""};
    const std::uint64_t total = Bytes();
    std::uint64_t done = 0;
    bool cancelled = false;
    auto put = [&](const char* data, std::size_t size) {
        if (!out.Write(data, size)) return false;
        done += size;
        if (progress && !progress(done, total)) cancelled = true;
        return !cancelled;
    };
    auto putText = [&](const std::string& bytes) { return put(bytes.data(), bytes.size()); };
    const std::string zeros(kSector, '\0');
    auto stopped = [&]() -> Result {
        if (cancelled) return {Outcome::Cancelled, ""};
        return {Outcome::Failed, out.Failure()};
    };

    for (int i = 0; i < 16; ++i)
        if (!putText(zeros)) return stopped();
    std::string terminator(kSector, '\0');
    terminator[0] = static_cast<char>(255);
    terminator.replace(1, 5, "CD001");
    terminator[6] = 1;
    if (!putText(p.Descriptor(false)) || !putText(p.Descriptor(true)) || !putText(terminator)) return stopped();
    for (const bool joliet : {false, true})
        for (const bool bigEndian : {false, true})
            if (!putText(p.PathTable(joliet, bigEndian))) return stopped();
    for (const bool joliet : {false, true})
        for (const std::uint32_t f : joliet ? p.jolietFolders : p.isoFolders)
            if (!putText(p.Records(p.nodes[f], joliet))) return stopped();

    for (const std::uint32_t f : p.files) {
        const Node& file = p.nodes[f];
        std::uint64_t got = 0;
        bool grew = false, stop = false;
        const bool read = file.size == 0 || medium_.Stream(file.path, [&](const char* data, std::size_t size) {
            grew = got + size > file.size;
            stop = grew || !put(data, size);
            got += size;
            return !stop;
        });
        if (stop && !grew) return stopped();
        if (!read) return {Outcome::Failed, file.path + " could not be read."};
        if (grew || got != file.size)
            return {Outcome::Failed, file.path + " changed while the image was written (" + Thousands(file.size) +
                                         " bytes before, " + (grew ? "more" : Thousands(got)) + " now)."};
        if (const std::uint64_t tail = file.size % kSector; tail && !put(zeros.data(), kSector - tail))
            return stopped();
    }
    if (done != total) return {Outcome::Failed, "the image came out at " + Thousands(done) + " bytes, not " +
                                                    Thousands(total) + "."};
    if (!out.Commit()) return {Outcome::Failed, out.Failure()};
    return {Outcome::Written, ""};
}
