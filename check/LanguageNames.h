#pragma once
// Languages by name, for the menus of single languages: the name a language's readers know it by,
// for the links between the pages, and the tag for a language written out in a file name
// ("config.english.ini"). A small table of the languages media are most often made in; any other
// language is shown by its tag.
#include <optional>
#include <string>

#include "menu/MenuLanguage.h"

// The language in its own name, with what the tag adds that the name does not say: "Deutsch",
// "Português (BR)", "繁體中文 (TW)", "Srpski"; the tag itself for a language not in the table.
std::string OwnName(const menulanguage::LanguageTag& tag);

// The tag of a language written out in English or in its own name, in any case and with or
// without its accents: "english" -> "en", "Deutsch" -> "de", "francais" -> "fr". nullopt when unknown.
std::optional<std::string> TagOfLanguageName(const std::string& name);
