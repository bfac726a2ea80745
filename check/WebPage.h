#pragma once
// menu.htm: the menu as one static web page, for readers on a Mac, Linux or a Chromebook, where
// Orvelund.exe does not run but a browser does. Built from what the checker found, so it shows
// the entries the window shows and links only what works.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "check/Checker.h"

// The comment that marks a page as written by orvelund-check; a menu.htm without it is the
// author's own and is never written over.
constexpr const char* kWebGenerator = "<!-- Written by orvelund-check";

// The whole page of one menu, UTF-8: `menu` is checked.menu (config.ini's, the default) or one of
// checked.languages. With menus of single languages, every page begins with links to all pages.
std::string MenuPage(const CheckResult& checked);
std::string MenuPage(const CheckResult& checked, const CheckedMenu& menu);
// The page's file name beside Orvelund.exe: "menu.htm" for config.ini, "menu.pt-BR.htm" for a language.
std::string PageName(const CheckedMenu& menu);
// The language of a page, for <html lang>: a language's tag; "und" (undetermined, BCP 47) for
// config.ini, whose language nothing on the medium states.
std::string PageLanguage(const CheckedMenu& menu);

// Text for HTML content and attribute values: & < > " ' as character references.
std::string HtmlEscape(const std::string& text);
// A medium path ("docs\Price list #2.pdf") as a relative URL ("docs/Price%20list%20%232.pdf"):
// backslashes become slashes, every segment is percent-encoded byte by byte (UTF-8).
std::string RelativeUrl(const std::string& mediumPath);
// A web target as a link: "www..." gets "http://" in front; characters a URL cannot hold are encoded.
std::string WebUrl(const std::string& target);
// A colour value of the menu file as a CSS colour ("#RRGGBB"): what the window paints for it, a
// system colour in Windows' default scheme (the page cannot know the reader's).
std::string CssColor(std::int32_t windowsColor);

// Whether FOLDER/menu.htm may be written: it does not exist, or it carries the generator comment.
// `existing` is the start of the file that is there, nullopt when there is none.
bool MayReplaceMenuPage(const std::optional<std::string>& existing);

// What writing the pages needs of the files beside the program, so that orvelund-check and the
// Menu Editor write them alike, each through its own file services.
struct PageFiles {
    std::function<std::string(const std::string& page)> pathOf;  // a page's file name as a full path
    // Why nothing may be written at `path` (a named pipe, a device, a folder stands there); empty when
    // nothing or a plain file is there. Such a thing is never opened: a pipe would wait for ever.
    std::function<std::string(const std::string& path)> notAPlainFile;
    std::function<std::optional<std::string>(const std::string& path, std::size_t maxBytes)> readStart;
    std::function<bool(const std::string& path, const std::string& bytes)> replace;  // whole, or not at all
};

struct PagesWritten {
    std::string error;  // empty when every page was written; else why none or not all were
    std::vector<std::pair<std::string, std::size_t>> pages;  // the paths written and their sizes
    std::vector<std::string> tags;  // beside each page: its language, empty for config.ini's
};

// The page of each menu: all are looked at before any is written, and when one of them is no page
// of orvelund-check's (or a pipe), none is written, so the pages never link a page that is not theirs.
PagesWritten WriteMenuPages(const CheckResult& checked, const PageFiles& files);
