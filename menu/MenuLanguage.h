#pragma once
// One menu per reader language. content\config.ini is the menu for everyone; beside it a medium
// may hold a menu per language, config.<tag>.ini ("config.de.ini", "config.pt-BR.ini",
// "config.zh-Hant.ini"), in the same format. A reader gets the menu of the language given with
// -lang:, else of Windows' UI language, found by these rules; config.ini when none fits.
#include <optional>
#include <string>
#include <vector>

namespace menulanguage {

// The menu for everyone, and the only one a first start writes.
constexpr const char* kMenuFile = "config.ini";

// A language, optionally with its script and region, spelled the usual way round: "pt", "Hant",
// "BR". Tags compare equal whatever case they were written in.
struct LanguageTag {
    std::string language;  // two or three letters, small
    std::string script;    // four letters, first capital; empty when not given
    std::string region;    // two capital letters or three digits; empty when not given

    std::string Text() const;  // "zh-Hant-TW", "pt-BR", "de"
    bool operator==(const LanguageTag& o) const {
        return language == o.language && script == o.script && region == o.region;
    }
    bool operator!=(const LanguageTag& o) const { return !(*this == o); }
};

// language[-script][-region], parts joined by '-' and nothing else: "de", "pt-br", "zh-Hant-TW",
// "es-419". nullopt for anything else ("", "de_DE", "de-", "deutsch", "..\x", "de-DE-1996").
std::optional<LanguageTag> ParseLanguageTag(const std::string& text);
inline bool IsLanguageTag(const std::string& text) { return ParseLanguageTag(text).has_value(); }

// The language of a Windows locale name as the system gives it: "de-DE", "sr-Latn-RS",
// "de-DE_phoneb" (a sort order after '_'), "ca-ES-valencia" (a variant after the region). The
// sort order and anything after the region are dropped; nullopt when no language leads it.
std::optional<LanguageTag> LanguageOfLocaleName(const std::string& name);

// The script a language is usually written in, in a region or anywhere (empty region), for the
// languages written in more than one: "zh" in "TW", "HK" and "MO" is "Hant", elsewhere "Hans";
// "sr" is "Cyrl" but in "ME" "Latn". Empty for languages written in one script.
std::string UsualScript(const std::string& language, const std::string& region);

// The tags whose menus a reader of `reader` gets, best first; config.ini follows them all.
// With the script given or usual for the region (S), for language L and region R:
//   L-S-R, L-R (unless R's usual script is another than S), L-S, L.
// "zh-TW": zh-Hant-TW, zh-TW, zh-Hant, zh. "sr-Latn-RS": sr-Latn-RS, sr-Latn, sr (sr-RS is
// Cyrillic). A menu named for the language alone is for all its readers, whatever their script.
std::vector<LanguageTag> TagsTried(const LanguageTag& reader);

// The tag part of a language menu's file name, as written: "config.pt-BR.ini" -> "pt-BR",
// "CONFIG.de.INI" -> "de", "config.english.ini" -> "english" (no language, see IsLanguageTag).
// nullopt for config.ini itself and for names of any other shape.
std::optional<std::string> TagPartOf(const std::string& fileName);

struct LanguageFile {
    std::string name;  // the file's name as the folder spells it
    LanguageTag tag;
};
// The language menus among a content folder's file names, in the order given. Names of that
// shape whose tag is no language are left out.
std::vector<LanguageFile> LanguageFiles(const std::vector<std::string>& fileNames);

// The menu file a reader gets, by name in the content folder: the language menu of the first
// tag tried that has one, else config.ini. The reader is `langOption` when it is a language tag,
// else the Windows locale name `uiLanguage`; with neither, config.ini.
std::string MenuFileFor(const std::vector<std::string>& contentFileNames, const std::string& uiLanguage,
                        const std::string& langOption = "");

}  // namespace menulanguage
