#include "check/Checker.h"

#include <algorithm>
#include <unordered_map>

#include "check/CheckerParts.h"
#include "common/CodePages.h"

namespace checker {

namespace {

constexpr std::size_t kListedPerCode = 5;   // findings of one code in one file listed one by one
constexpr std::size_t kQuotedBytes = 200;   // of a text quoted in a finding
constexpr std::size_t kEntryNameBytes = 100;
constexpr std::uint64_t kSector = 2048;     // a CD's or DVD's, ISO 9660 and UDF alike


}  // namespace

std::string Excerpt(const std::string& s, std::size_t maxBytes) {
    if (s.size() <= maxBytes) return s;
    std::size_t end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;  // not inside a character
    return s.substr(0, end) + "\xE2\x80\xA6";
}

std::string Quoted(const std::string& s) { return "\"" + Excerpt(s, kQuotedBytes) + "\""; }

std::string LastName(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string AsciiLower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

bool HasExtension(const std::string& name, const char* extension) {
    const std::string ext = extension;
    return name.size() > ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0;
}

std::string Megabytes(std::uint64_t bytes) {
    const bool small = bytes < (1u << 20);
    const std::uint64_t unit = small ? 1024 : 1u << 20;
    const std::uint64_t tenths = (bytes * 10 + unit / 2) / unit;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + (small ? " KiB" : " MiB");
}

std::string Count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

Checker::Checker(Medium& medium, const CheckOptions& options)
    : medium_(medium), options_(options), index_(medium.List()) {
    if (!options_.fallbackCodePage) options_.fallbackCodePage = SystemAnsiCodePage();
    if (!FindAnsiCodePage(options_.fallbackCodePage)) options_.fallbackCodePage = 1252;
    menuCodePage_.number = options_.codePage ? options_.codePage : options_.fallbackCodePage;
    // Names that differ in case only: the medium can hold one of each pair.
    std::unordered_map<std::string, std::size_t> seen;
    for (const auto& item : index_.Items()) {
        if (++seen[MediumIndex::Fold(item.path)] == 2) caseTwins_.insert(MediumIndex::Fold(item.path));
        // content\<name>.jpg: folding keeps a name's length, so only a button of such a length
        // can have a picture, and a menu of a million entries looks up none of the others.
        const std::string folded = MediumIndex::Fold(item.path);
        if (!item.folder && StartsWith(folded, "content\\") && HasExtension(folded, ".jpg"))
            pictureNameLengths_.insert(item.path.size() - 12);
    }
}

void Checker::Add(Severity s, std::string_view code, std::string_view file, std::size_t line, std::string_view entry,
                  std::string_view what, std::string_view fix) {
    lastWhat_ = what;
    // A menu of a million lines adds the same finding a million times in a row: its count is at hand.
    if (!(lastKey_ != listed_.end() && lastKey_->first.first == code && lastKey_->first.second == file))
        lastKey_ = listed_.try_emplace(std::make_pair(std::string(code), std::string(file)), 0).first;
    if (++lastKey_->second <= kListedPerCode) {
        result_.report.findings.push_back({s, std::string(code), std::string(file), line,
                                           Excerpt(std::string(entry), kEntryNameBytes), std::string(what),
                                           std::string(fix), 0});
        return;
    }
    Unlisted& u = unlisted_[lastKey_->first];
    u.severity = s;
    ++u.count;
    if (line && !u.firstLine) u.firstLine = line;
    u.lastLine = std::max(u.lastLine, line);
}

void Checker::MoveFindings(std::size_t from, std::size_t to) {
    auto& f = result_.report.findings;
    std::rotate(f.begin() + static_cast<std::ptrdiff_t>(to), f.begin() + static_cast<std::ptrdiff_t>(from), f.end());
}

void Checker::CountTheRest() {
    auto& findings = result_.report.findings;
    for (const auto& [key, u] : unlisted_) {
        std::size_t after = 0;
        for (std::size_t i = 0; i < findings.size(); ++i)
            if (findings[i].code == key.first && findings[i].file == key.second) after = i + 1;
        const std::string where = !u.firstLine ? std::string()
                                  : u.firstLine == u.lastLine ? ", on line " + Thousands(u.firstLine)
                                  : ", on lines " + Thousands(u.firstLine) + " to " + Thousands(u.lastLine);
        findings.insert(findings.begin() + static_cast<std::ptrdiff_t>(after),
                        {u.severity, key.first, key.second, 0, "",
                         "And " + Thousands(u.count) + " more like " + (u.count == 1 ? "this" : "these") + where +
                             ": the first " + std::to_string(kListedPerCode) + " of each kind in a file are "
                             "listed, the rest counted.",
                         "", u.count});
    }
}

void Checker::CheckMenu(CheckedMenu& menu, const MediumItem* item) {
    menu_ = &menu;
    menuFile_ = menu.file = item ? item->path : kMenuFile;
    read_ = MenuRead();
    entryPictures_.emplace_back();
    CheckMenuFile(item);
    if (menu.read) CheckPaging();
}

CheckResult Checker::Run() {
    for (const auto& item : index_.Items()) {
        // A disc gives every file whole 2 KiB sectors and every folder at least one for its list.
        result_.report.discBytes += item.folder ? kSector : (item.size + kSector - 1) / kSector * kSector;
        if (item.folder) continue;
        ++result_.report.files;
        result_.report.bytes += item.size;
    }
    FindLanguageFiles();
    CheckMenu(result_.menu, FindFile(kMenuFile));
    base_ = std::move(read_);
    CheckLanguageTags();
    for (std::size_t i = 0; i < result_.languages.size(); ++i) {
        CheckMenu(result_.languages[i], languageItems_[i]);
        if (result_.menu.read && result_.languages[i].read) CompareWithBase();
    }
    for (const CheckedMenu* menu : Menus()) result_.report.menus += menu->read;
    CheckPictures();
    CheckAutoRun();
    CheckNames();
    CheckStalePages();
    CheckProgram();
    CountTheRest();
    return std::move(result_);
}
}  // namespace checker

CheckResult CheckMedium(Medium& medium, const CheckOptions& options) { return checker::Checker(medium, options).Run(); }
