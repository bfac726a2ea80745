#pragma once
// menu.htm: the menu as one static web page, for readers on a Mac, Linux or a Chromebook, where
// Orvelund.exe does not run but a browser does. Built from what the checker found, so it shows
// the entries the window shows and links only what works.
#include <cstdint>
#include <optional>
#include <string>

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
