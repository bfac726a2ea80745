// The menus of single languages beside config.ini: which files the program takes for a language,
// names of that form it never reads, how each language's menu compares with config.ini's, and
// pages written for languages whose menus are gone.

#include <algorithm>

#include "check/CheckerParts.h"
#include "check/LanguageNames.h"
#include "check/WebPage.h"
#include "menu/MenuLanguage.h"

namespace checker {

namespace {

// The name to give a file meant as a language's menu whose tag is no language: "de_DE" as
// "de-DE" (Windows writes its locale names with "_" in some places), "english" as "en".
std::string SuggestedName(const std::string& part) {
    std::string dashed = part;
    std::replace(dashed.begin(), dashed.end(), '_', '-');
    if (const auto tag = menulanguage::ParseLanguageTag(dashed)) return "config." + tag->Text() + ".ini";
    if (const auto tag = TagOfLanguageName(part)) return "config." + *tag + ".ini";
    return "";
}

}  // namespace

void Checker::FindLanguageFiles() {
    // The program lists the content folder's files and takes, for each tag, the first name of that
    // tag in the order of names: two spellings of one tag meet only on a folder that tells case
    // apart, and the name finding reports them.
    std::vector<const MediumItem*> files;
    for (const auto& item : index_.Items()) {
        if (item.folder || !MediumIndex::Reachable(item) || !StartsWith(MediumIndex::Fold(item.path), "content\\"))
            continue;
        const std::string name = item.path.substr(8);
        if (name.find('\\') != std::string::npos || !menulanguage::TagPartOf(name)) continue;
        files.push_back(&item);
    }
    std::sort(files.begin(), files.end(),
              [](const MediumItem* a, const MediumItem* b) { return LastName(a->path) < LastName(b->path); });
    for (const MediumItem* item : files) {
        const std::string name = LastName(item->path);
        const auto tag = menulanguage::ParseLanguageTag(*menulanguage::TagPartOf(name));
        if (!tag) {
            noLanguage_.push_back(item);
            continue;
        }
        const bool taken = std::any_of(result_.languages.begin(), result_.languages.end(),
                                       [&](const CheckedMenu& m) { return m.tag == tag->Text(); });
        if (taken) continue;
        CheckedMenu menu;
        menu.file = item->path;
        menu.tag = tag->Text();
        result_.languages.push_back(std::move(menu));
        languageItems_.push_back(item);
    }
}

void Checker::CheckLanguageTags() {
    for (const MediumItem* item : noLanguage_) {
        const std::string part = *menulanguage::TagPartOf(LastName(item->path));
        const std::string suggested = SuggestedName(part);
        Warning("W-LANGUAGE-TAG", item->path, 0, "", "The name has the form of a language's menu, config.<language>.ini, "
                "but " + Quoted(part) + " is no language tag: Orvelund never reads this file, and every reader sees "
                "content\\config.ini instead.",
                (suggested.empty() ? std::string("Rename it config.<language>.ini") : "Rename it " + suggested) +
                    ", with a language of two or three letters, optionally followed by a script and a region, "
                    "joined by \"-\": config.de.ini, config.pt-BR.ini, config.zh-Hant.ini.");
    }
}

void Checker::CompareWithBase() {
    const std::size_t n = base_.entries, m = read_.entries;
    const std::size_t total = read_.differ + (n > m ? n - m : m - n);
    if (!total || !m) return;  // a menu without entries has its own finding
    const std::string& base = result_.menu.file;
    std::string what = n != m ? "The menu has " + Count(m, "entry", "entries") + ", " + base + " has " +
                                    std::to_string(n) + ". "
                              : std::string();
    std::size_t line = 0;
    std::string button;
    if (read_.differ) {
        const std::size_t k = read_.firstDiffer;
        std::string baseTarget;
        const auto& kept = result_.menu.entries;
        const std::size_t baseLine = base_.targetLines[k];
        const auto it = std::lower_bound(kept.begin(), kept.end(), baseLine,
                                         [](const CheckedEntry& e, std::size_t l) { return e.line < l; });
        if (it != kept.end() && it->line == baseLine) baseTarget = it->entry.FileFolder;
        line = read_.firstDifferLine;
        button = read_.firstDifferButton;
        what += "Entry " + std::to_string(k + 1) + " (line " + std::to_string(line) + ") opens " +
                Quoted(read_.firstDifferTarget) + ", where entry " + std::to_string(k + 1) + " of " + base +
                " (line " + std::to_string(baseLine) + ") opens " + Quoted(baseTarget);
    } else if (m < n) {
        const std::size_t k = m;
        what += "Entry " + std::to_string(k + 1) + " of " + base +
                (k < base_.targetLines.size() ? " (line " + std::to_string(base_.targetLines[k]) + ")" : std::string()) +
                " has none here";
    } else {
        line = read_.extraLine;
        button = read_.extraButton;
        what += "Entry " + std::to_string(n + 1) + " (line " + std::to_string(line) + ") has none in " + base;
    }
    if (total > 1) what += "; " + std::to_string(total - 1) + (total == 2 ? " more entry differs" : " more entries differ");
    what += ". Labels aside, a language's menu usually opens what config.ini opens: the two may have drifted apart, "
            "as when config.ini changed after the translation.";
    Note("N-LANGUAGE-DIFFERS", menuFile_, line, button, what,
         "Compare the two menus and bring " + LastName(menuFile_) + " up to date in the Menu Editor (Orvelund.exe "
         "-setup/-lang:" + menu_->tag + "), or copy config.ini over it again and translate it.");
}

void Checker::CheckStalePages() {
    // menu.<tag>.htm at the root: a page orvelund-check --web wrote for a language's menu. It is
    // written again with its menu, but never deleted, also when the menu is gone.
    for (const auto& item : index_.Items()) {
        if (item.folder || item.path.find('\\') != std::string::npos) continue;
        const std::string lower = AsciiLower(item.path);
        if (lower.size() <= 9 || !StartsWith(lower, "menu.") || !HasExtension(lower, ".htm")) continue;
        const auto tag = menulanguage::ParseLanguageTag(item.path.substr(5, item.path.size() - 9));
        if (!tag) continue;
        const bool menuThere = std::any_of(result_.languages.begin(), result_.languages.end(),
                                           [&](const CheckedMenu& m) { return m.tag == tag->Text(); });
        const auto start = Read(item, 4096);
        if (menuThere || !start || !MayReplaceMenuPage(start)) continue;
        Note("N-WEB-PAGE-STALE", item.path, 0, "", "orvelund-check --web wrote this page for content\\config." +
             tag->Text() + ".ini, which the medium no longer holds: the other pages no longer link it, but a reader "
             "who opens it sees an old menu.", "Delete it, unless the language's menu is to come back.");
    }
}

}  // namespace checker
