#include "menu/MenuLanguage.h"

#include <algorithm>

namespace menulanguage {

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool AllOf(const std::string& s, bool (*test)(char)) { return std::all_of(s.begin(), s.end(), test); }

std::string LowerText(std::string s) {
    for (char& c : s) c = Lower(c);
    return s;
}

std::vector<std::string> Parts(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto dash = text.find('-', start);
        parts.push_back(text.substr(start, dash == std::string::npos ? std::string::npos : dash - start));
        if (dash == std::string::npos) return parts;
        start = dash + 1;
    }
}

bool IsLanguagePart(const std::string& s) { return (s.size() == 2 || s.size() == 3) && AllOf(s, IsLetter); }
bool IsScriptPart(const std::string& s) { return s.size() == 4 && AllOf(s, IsLetter); }
bool IsRegionPart(const std::string& s) {
    return (s.size() == 2 && AllOf(s, IsLetter)) || (s.size() == 3 && AllOf(s, IsDigit));
}

// Reads language[-script][-region] from the front of `parts`; how many parts it took in `used`.
std::optional<LanguageTag> LeadingTag(const std::vector<std::string>& parts, std::size_t& used) {
    used = 0;
    if (parts.empty() || !IsLanguagePart(parts[0])) return std::nullopt;
    LanguageTag tag;
    tag.language = LowerText(parts[0]);
    used = 1;
    if (used < parts.size() && IsScriptPart(parts[used])) {
        tag.script = LowerText(parts[used++]);
        tag.script[0] = Upper(tag.script[0]);
    }
    if (used < parts.size() && IsRegionPart(parts[used])) {
        for (const char c : parts[used++]) tag.region += Upper(c);
    }
    return tag;
}

}  // namespace

std::string LanguageTag::Text() const {
    std::string text = language;
    if (!script.empty()) text += "-" + script;
    if (!region.empty()) text += "-" + region;
    return text;
}

std::optional<LanguageTag> ParseLanguageTag(const std::string& text) {
    const auto parts = Parts(text);
    std::size_t used = 0;
    auto tag = LeadingTag(parts, used);
    if (!tag || used != parts.size()) return std::nullopt;
    return tag;
}

std::optional<LanguageTag> LanguageOfLocaleName(const std::string& name) {
    std::size_t used = 0;
    return LeadingTag(Parts(name.substr(0, name.find('_'))), used);
}

std::string UsualScript(const std::string& language, const std::string& region) {
    // The languages Windows offers in more than one script, with the usual script of each.
    struct Rule {
        const char* language;
        const char* regions;  // where the script below is the usual one ("" for anywhere else)
        const char* script;
    };
    static const Rule rules[] = {
        {"zh", "TW HK MO", "Hant"}, {"zh", "", "Hans"},  //
        {"sr", "ME", "Latn"},       {"sr", "", "Cyrl"},  //
        {"bs", "", "Latn"},                              //
        {"az", "IR IQ", "Arab"},    {"az", "", "Latn"},  //
        {"uz", "AF", "Arab"},       {"uz", "", "Latn"},  //
        {"mn", "CN", "Mong"},       {"mn", "", "Cyrl"},  //
        {"pa", "PK", "Arab"},       {"pa", "", "Guru"},  //
        {"iu", "", "Cans"},
    };
    for (const Rule& rule : rules) {
        if (language != rule.language) continue;
        const std::string regions = rule.regions;
        if (regions.empty()) return rule.script;
        if (region.size() == 2 && (" " + regions + " ").find(" " + region + " ") != std::string::npos)
            return rule.script;
    }
    return "";
}

std::vector<LanguageTag> TagsTried(const LanguageTag& reader) {
    const std::string& L = reader.language;
    const std::string& R = reader.region;
    const std::string S = reader.script.empty() ? UsualScript(L, R) : reader.script;
    std::vector<LanguageTag> tried;
    auto add = [&](const LanguageTag& tag) {
        if (std::find(tried.begin(), tried.end(), tag) == tried.end()) tried.push_back(tag);
    };
    if (!S.empty() && !R.empty()) add({L, S, R});
    if (!R.empty()) {
        const std::string usual = UsualScript(L, R);
        if (usual.empty() || usual == S) add({L, "", R});
    }
    if (!S.empty()) add({L, S, ""});
    add({L, "", ""});
    return tried;
}

std::optional<std::string> TagPartOf(const std::string& fileName) {
    const std::string lower = LowerText(fileName);
    const std::string head = "config.", tail = ".ini";
    if (lower.size() <= head.size() + tail.size() || lower.compare(0, head.size(), head) != 0 ||
        lower.compare(lower.size() - tail.size(), tail.size(), tail) != 0)
        return std::nullopt;
    return fileName.substr(head.size(), fileName.size() - head.size() - tail.size());
}

std::vector<LanguageFile> LanguageFiles(const std::vector<std::string>& fileNames) {
    std::vector<LanguageFile> files;
    for (const auto& name : fileNames) {
        const auto part = TagPartOf(name);
        if (!part) continue;
        if (auto tag = ParseLanguageTag(*part)) files.push_back({name, *tag});
    }
    return files;
}

std::string MenuFileFor(const std::vector<std::string>& contentFileNames, const std::string& uiLanguage,
                        const std::string& langOption) {
    auto reader = ParseLanguageTag(langOption);
    if (!reader) reader = LanguageOfLocaleName(uiLanguage);
    if (!reader) return kMenuFile;
    const auto files = LanguageFiles(contentFileNames);
    for (const LanguageTag& tag : TagsTried(*reader)) {
        // Two spellings of one tag can only meet on a folder that tells case apart (a medium made
        // on Linux); the first in the order of names is taken, whatever order the folder lists them in.
        const LanguageFile* best = nullptr;
        for (const LanguageFile& file : files)
            if (file.tag == tag && (!best || file.name < best->name)) best = &file;
        if (best) return best->name;
    }
    return kMenuFile;
}

}  // namespace menulanguage
