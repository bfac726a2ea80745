#include "check/LanguageNames.h"

namespace {

struct KnownLanguage {
    const char* tag;
    const char* english;  // small letters
    const char* own;
    const char* plain;    // the own name in small ASCII letters, as typed without accents
};

// Written as each language's readers write it (CLDR's names).
const KnownLanguage kLanguages[] = {
    {"ar", "arabic", "العربية", "arabiya"},
    {"bg", "bulgarian", "Български", "balgarski"},
    {"ca", "catalan", "Català", "catala"},
    {"cs", "czech", "Čeština", "cestina"},
    {"da", "danish", "Dansk", "dansk"},
    {"de", "german", "Deutsch", "deutsch"},
    {"el", "greek", "Ελληνικά", "ellinika"},
    {"en", "english", "English", "english"},
    {"es", "spanish", "Español", "espanol"},
    {"et", "estonian", "Eesti", "eesti"},
    {"fa", "persian", "فارسی", "farsi"},
    {"fi", "finnish", "Suomi", "suomi"},
    {"fr", "french", "Français", "francais"},
    {"he", "hebrew", "עברית", "ivrit"},
    {"hi", "hindi", "हिन्दी", "hindi"},
    {"hr", "croatian", "Hrvatski", "hrvatski"},
    {"hu", "hungarian", "Magyar", "magyar"},
    {"id", "indonesian", "Bahasa Indonesia", "indonesia"},
    {"is", "icelandic", "Íslenska", "islenska"},
    {"it", "italian", "Italiano", "italiano"},
    {"ja", "japanese", "日本語", "nihongo"},
    {"ko", "korean", "한국어", "hangugeo"},
    {"lt", "lithuanian", "Lietuvių", "lietuviu"},
    {"lv", "latvian", "Latviešu", "latviesu"},
    {"ms", "malay", "Bahasa Melayu", "melayu"},
    {"nb", "norwegian bokmal", "Norsk bokmål", "bokmal"},
    {"nl", "dutch", "Nederlands", "nederlands"},
    {"no", "norwegian", "Norsk", "norsk"},
    {"pl", "polish", "Polski", "polski"},
    {"pt", "portuguese", "Português", "portugues"},
    {"ro", "romanian", "Română", "romana"},
    {"ru", "russian", "Русский", "russkiy"},
    {"sk", "slovak", "Slovenčina", "slovencina"},
    {"sl", "slovenian", "Slovenščina", "slovenscina"},
    {"sr", "serbian", "Српски", "srpski"},
    {"sv", "swedish", "Svenska", "svenska"},
    {"th", "thai", "ไทย", "thai"},
    {"tr", "turkish", "Türkçe", "turkce"},
    {"uk", "ukrainian", "Українська", "ukrainska"},
    {"vi", "vietnamese", "Tiếng Việt", "tieng viet"},
    {"zh", "chinese", "中文", "zhongwen"},
};

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

std::string OwnName(const menulanguage::LanguageTag& tag) {
    const KnownLanguage* known = nullptr;
    for (const KnownLanguage& l : kLanguages)
        if (tag.language == l.tag) known = &l;
    if (!known) return tag.Text();
    // Chinese and Serbian are named by the script they are written in, which then goes without saying.
    const std::string script = tag.script.empty() ? menulanguage::UsualScript(tag.language, tag.region) : tag.script;
    std::string name = known->own;
    bool scriptSaid = false;
    if (tag.language == "zh" && (script == "Hans" || script == "Hant")) {
        name = script == "Hant" ? "繁體中文" : "简体中文";
        scriptSaid = true;
    } else if (tag.language == "sr" && (script == "Cyrl" || script == "Latn")) {
        name = script == "Latn" ? "Srpski" : "Српски";
        scriptSaid = true;
    }
    std::string rest = scriptSaid || tag.script.empty() ? "" : tag.script;
    if (!tag.region.empty()) rest += (rest.empty() ? "" : "-") + tag.region;
    return rest.empty() ? name : name + " (" + rest + ")";
}

std::optional<std::string> TagOfLanguageName(const std::string& name) {
    const std::string lower = Lower(name);
    for (const KnownLanguage& l : kLanguages)
        if (lower == l.english || lower == l.plain || name == l.own || lower == Lower(l.own)) return std::string(l.tag);
    return std::nullopt;
}
