#pragma once
// Checks a medium before it is burned or copied: the menu file, what each entry opens, the
// pictures, autorun.inf, the names and sizes the medium must hold, and the program itself.
// Reads only; every finding says what the reader will meet and how to fix it.
#include <cstdint>
#include <string>
#include <vector>

#include "check/Medium.h"
#include "check/Report.h"
#include "menu/MenuFile.h"

// One entry line of the menu file as the checker understood it; the web page is built from these.
struct CheckedEntry {
    enum class Target { None, Web, File, Folder };  // None: nothing a reader could open
    std::size_t line = 0;      // 1-based line in its menu file
    MenuEntry entry;
    std::size_t fields = 0;    // how many comma-separated fields the line has
    bool shown = false;        // some view of the menu window shows it
    Target target = Target::None;
    std::string link;          // Web: the address; File and Folder: the medium path as stored
    std::string picture;       // content\<Button>.jpg as stored on the medium, when it reads as a picture
    bool error = false;        // an error finding concerns this entry
    // The note the web page shows instead of a link: why its button opens nothing on the reader's
    // PC, or why the page cannot link it. Empty when it works.
    std::string problem;
};

// A menu as the window shows it: config.ini's, or one language's.
struct CheckedMenu {
    std::string file;               // "content\config.ini", "content\config.pt-BR.ini" as the medium spells it
    std::string tag;                // the language, as the program compares it ("pt-BR"); empty for config.ini
    bool read = false;              // the menu file exists and could be read
    std::string caption;            // the window's caption
    std::int32_t buttonColor = 0;   // colours as Windows colour values (0x00BBGGRR or a system colour)
    std::int32_t backColor = 0;
    std::int32_t labelBackColor = 0;
    std::int32_t labelTextColor = 0;
    std::string mainPicture;        // content\app.jpg as stored, when it reads as a picture
    std::vector<CheckedEntry> entries;
};

struct CheckResult {
    Report report;
    CheckedMenu menu;                    // content\config.ini, the menu for every reader
    std::vector<CheckedMenu> languages;  // the menus of single languages beside it, in the order of their tags
};

// How the check reads what the medium does not say itself.
struct CheckOptions {
    // The code page of the menu files and autorun.inf where they are text without a byte-order mark:
    // 0 finds it from the medium, falling back on `fallbackCodePage` when nothing decides.
    unsigned codePage = 0;
    unsigned fallbackCodePage = 0;  // 0: the system's ANSI code page (Windows-1252 on Linux)
    // How the user gives the code page, the end of a sentence in a finding.
    std::string setCodePage = "give it with --code-page N (--code-page 1251 for Cyrillic, say).";
};

CheckResult CheckMedium(Medium& medium, const CheckOptions& options = {});

// The medium sizes the total is measured against, in bytes.
constexpr std::uint64_t kCdBytes = 700ull * 1024 * 1024;
constexpr std::uint64_t kDvdBytes = 4700372992ull;
constexpr std::uint64_t kDualLayerDvdBytes = 8547991552ull;
