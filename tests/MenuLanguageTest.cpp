// One menu per reader language: which file a reader gets, and the program reading, editing, saving
// and restarting with that file while config.ini stays everyone else's menu.
#include <gtest/gtest.h>

#include "menu/MenuLanguage.h"

namespace {

using namespace menulanguage;
using Names = std::vector<std::string>;

TEST(LanguageTag, LanguageScriptAndRegionInAnyCaseAndNothingElse) {
    struct Case {
        const char* text;
        const char* tag;  // nullptr: no language tag
    } cases[] = {
        {"de", "de"},
        {"DE", "de"},
        {"pt-br", "pt-BR"},
        {"zh-hant-tw", "zh-Hant-TW"},
        {"ZH-HANS", "zh-Hans"},
        {"fil-PH", "fil-PH"},
        {"es-419", "es-419"},
        {"", nullptr},
        {"d", nullptr},
        {"deut", nullptr},       // four letters make a script, not a language
        {"de_DE", nullptr},      // Linux's spelling
        {"de-", nullptr},
        {"-de", nullptr},
        {"de--DE", nullptr},
        {"de-DE-DE", nullptr},
        {"de-DE-1996", nullptr}, // variants are not part of a menu's name
        {"de-D1", nullptr},
        {"de-41", nullptr},
        {"de ", nullptr},
        {" de", nullptr},
        {"..", nullptr},
        {"..\\..\\x", nullptr},
        {"de\\..\\..\\x", nullptr},
        {"de/x", nullptr},
        {"de.ini", nullptr},
        {"d\xc3\xa9", nullptr},  // letters outside ASCII
    };
    for (const auto& c : cases) {
        const auto tag = ParseLanguageTag(c.text);
        if (c.tag) {
            ASSERT_TRUE(tag) << c.text;
            EXPECT_EQ(tag->Text(), c.tag) << c.text;
        } else {
            EXPECT_FALSE(tag) << c.text << " read as " << tag->Text();
        }
    }
}

TEST(LanguageTag, WindowsLocaleNamesLoseTheirSortOrderAndVariant) {
    EXPECT_EQ(LanguageOfLocaleName("de-DE")->Text(), "de-DE");
    EXPECT_EQ(LanguageOfLocaleName("sr-Latn-RS")->Text(), "sr-Latn-RS");
    EXPECT_EQ(LanguageOfLocaleName("de-DE_phoneb")->Text(), "de-DE");
    EXPECT_EQ(LanguageOfLocaleName("zh-TW_pronun")->Text(), "zh-TW");
    EXPECT_EQ(LanguageOfLocaleName("ca-ES-valencia")->Text(), "ca-ES");
    EXPECT_EQ(LanguageOfLocaleName("zh-Hant")->Text(), "zh-Hant");
    EXPECT_FALSE(LanguageOfLocaleName(""));
    EXPECT_FALSE(LanguageOfLocaleName("x-IV"));
}

// The order in which a reader's menus are looked for, as the README gives it.
TEST(LanguageMatch, TagsTriedForAReader) {
    struct Case {
        const char* reader;
        Names tried;
    } cases[] = {
        {"de", {"de"}},
        {"de-DE", {"de-DE", "de"}},
        {"pt-BR", {"pt-BR", "pt"}},
        {"zh-TW", {"zh-Hant-TW", "zh-TW", "zh-Hant", "zh"}},
        {"zh-HK", {"zh-Hant-HK", "zh-HK", "zh-Hant", "zh"}},
        {"zh-MO", {"zh-Hant-MO", "zh-MO", "zh-Hant", "zh"}},
        {"zh-CN", {"zh-Hans-CN", "zh-CN", "zh-Hans", "zh"}},
        {"zh-SG", {"zh-Hans-SG", "zh-SG", "zh-Hans", "zh"}},
        {"zh", {"zh-Hans", "zh"}},
        {"zh-Hant", {"zh-Hant", "zh"}},
        {"zh-Hans-TW", {"zh-Hans-TW", "zh-Hans", "zh"}},  // zh-TW is Traditional: not for this reader
        {"sr-Latn-RS", {"sr-Latn-RS", "sr-Latn", "sr"}},  // sr-RS is Cyrillic
        {"sr-Cyrl-RS", {"sr-Cyrl-RS", "sr-RS", "sr-Cyrl", "sr"}},
        {"sr-RS", {"sr-Cyrl-RS", "sr-RS", "sr-Cyrl", "sr"}},
        {"sr-Latn-ME", {"sr-Latn-ME", "sr-ME", "sr-Latn", "sr"}},
        {"uz-Cyrl-UZ", {"uz-Cyrl-UZ", "uz-Cyrl", "uz"}},
        {"es-419", {"es-419", "es"}},
        {"ks-Deva-IN", {"ks-Deva-IN", "ks-IN", "ks-Deva", "ks"}},  // no usual script known: the region counts
    };
    for (const auto& c : cases) {
        Names tried;
        for (const auto& tag : TagsTried(*ParseLanguageTag(c.reader))) tried.push_back(tag.Text());
        EXPECT_EQ(tried, c.tried) << c.reader;
    }
}

TEST(LanguageMatch, FileNamesAreLanguageMenusWhateverTheirCase) {
    EXPECT_EQ(TagPartOf("config.pt-BR.ini"), "pt-BR");
    EXPECT_EQ(TagPartOf("CONFIG.de.INI"), "de");
    EXPECT_EQ(TagPartOf("config.english.ini"), "english");
    EXPECT_FALSE(TagPartOf("config.ini"));
    EXPECT_FALSE(TagPartOf("config..ini"));
    EXPECT_FALSE(TagPartOf("config.de.ini.~123.tmp"));  // a save that was cut short
    EXPECT_FALSE(TagPartOf("myconfig.de.ini"));

    const auto files = LanguageFiles({"app.jpg", "config.ini", "Config.PT-br.Ini", "config.english.ini",
                                      "config.de_DE.ini", "config.zh-hant.ini"});
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].name, "Config.PT-br.Ini");
    EXPECT_EQ(files[0].tag.Text(), "pt-BR");
    EXPECT_EQ(files[1].tag.Text(), "zh-Hant");
}

TEST(LanguageMatch, TheReaderGetsTheFirstMenuThatExists) {
    struct Case {
        Names files;
        const char* ui;
        const char* lang;
        const char* menu;
    } cases[] = {
        // Regions.
        {{"config.ini", "config.de.ini"}, "de-DE", "", "config.de.ini"},
        {{"config.ini", "config.de.ini", "config.de-DE.ini"}, "de-DE", "", "config.de-DE.ini"},
        {{"config.ini", "config.de.ini", "config.de-DE.ini"}, "de-AT", "", "config.de.ini"},
        {{"config.ini", "config.de-DE.ini"}, "de-CH", "", "config.ini"},  // another region's menu is not taken
        {{"config.ini", "config.pt.ini", "config.pt-BR.ini"}, "pt-BR", "", "config.pt-BR.ini"},
        {{"config.ini", "config.pt.ini", "config.pt-BR.ini"}, "pt-PT", "", "config.pt.ini"},
        {{"config.ini", "config.pt-BR.ini"}, "pt-PT", "", "config.ini"},
        {{"config.ini", "config.de.ini"}, "en-US", "", "config.ini"},
        // Case.
        {{"CONFIG.PT-br.INI"}, "pt-BR", "", "CONFIG.PT-br.INI"},
        {{"config.zh-hant.ini"}, "zh-TW", "", "config.zh-hant.ini"},
        {{"config.de.ini"}, "en-US", "DE", "config.de.ini"},
        // Scripts.
        {{"config.zh-Hant.ini", "config.zh-Hans.ini"}, "zh-TW", "", "config.zh-Hant.ini"},
        {{"config.zh-Hant.ini", "config.zh-Hans.ini"}, "zh-HK", "", "config.zh-Hant.ini"},
        {{"config.zh-Hant.ini", "config.zh-Hans.ini"}, "zh-MO", "", "config.zh-Hant.ini"},
        {{"config.zh-Hant.ini", "config.zh-Hans.ini"}, "zh-CN", "", "config.zh-Hans.ini"},
        {{"config.zh-Hant.ini", "config.zh-Hans.ini"}, "zh-SG", "", "config.zh-Hans.ini"},
        {{"config.zh-Hans.ini"}, "zh-TW", "", "config.ini"},  // a menu for one script is not for the other
        {{"config.zh-TW.ini", "config.zh-Hant.ini"}, "zh-TW", "", "config.zh-TW.ini"},
        {{"config.zh-TW.ini", "config.zh-Hant.ini"}, "zh-HK", "", "config.zh-Hant.ini"},
        {{"config.zh.ini", "config.zh-Hans.ini"}, "zh-TW", "", "config.zh.ini"},  // the language's menu serves all
        {{"config.zh.ini", "config.zh-Hans.ini"}, "zh-CN", "", "config.zh-Hans.ini"},
        {{"config.sr-RS.ini", "config.sr.ini"}, "sr-Latn-RS", "", "config.sr.ini"},
        {{"config.sr-RS.ini", "config.sr.ini"}, "sr-Cyrl-RS", "", "config.sr-RS.ini"},
        {{"config.sr-Latn.ini", "config.sr-Cyrl.ini"}, "sr-Latn-RS", "", "config.sr-Latn.ini"},
        {{"config.sr-Latn.ini", "config.sr-Cyrl.ini"}, "sr-Cyrl-BA", "", "config.sr-Cyrl.ini"},
        {{"config.zh-Hant-TW.ini", "config.zh-TW.ini"}, "zh-TW", "", "config.zh-Hant-TW.ini"},
        {{"config.zh-Hant.ini"}, "en-US", "zh-Hant", "config.zh-Hant.ini"},
        {{"config.zh-TW.ini"}, "en-US", "zh-Hant", "config.ini"},  // no region given, none taken
        // -lang: and its fallbacks.
        {{"config.ini", "config.de.ini", "config.pt-BR.ini"}, "de-DE", "pt-BR", "config.pt-BR.ini"},
        {{"config.ini", "config.de.ini"}, "de-DE", "fr", "config.ini"},  // known tag, no menu: everyone's
        {{"config.ini", "config.de.ini"}, "de-DE", "de-LI", "config.de.ini"},
        {{"config.ini", "config.de.ini"}, "de-DE", "..\\..\\x", "config.de.ini"},  // no tag: Windows decides
        {{"config.ini", "config.de.ini"}, "de-DE", "de_DE", "config.de.ini"},
        {{"config.ini", "config.english.ini"}, "en-US", "english", "config.ini"},
        {{"config.ini", "config.de.ini"}, "", "", "config.ini"},
        {{"config.ini", "config.de.ini"}, "", "de", "config.de.ini"},
        {{}, "de-DE", "de", "config.ini"},
        {{"config.ini", "config.de.ini.~42.tmp", "config.deutsch.ini"}, "de-DE", "", "config.ini"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MenuFileFor(c.files, c.ui, c.lang), c.menu)
            << "ui " << c.ui << ", -lang:" << c.lang << ", first file " << (c.files.empty() ? "" : c.files[0]);
    }
}

}  // namespace
