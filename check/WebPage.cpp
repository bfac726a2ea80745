#include "check/WebPage.h"

#include "check/LanguageNames.h"
#include "check/Text.h"
#include "common/Contrast.h"
#include "platform/Version.h"

namespace {

std::string Hex2(unsigned v) {
    const char* digits = "0123456789ABCDEF";
    return {digits[(v >> 4) & 0xF], digits[v & 0xF]};
}

constexpr int kSchemeButtonText = 18;  // the scheme's colour index for the text on buttons

// What a colour value paints on the reader's side. The window draws a system colour in the colours
// of the PC's scheme; a page cannot know the scheme of a Windows it may not even run on, so it shows
// Windows' default one, where every pair below is then checked for contrast as plain colours are.
std::uint32_t Painted(std::int32_t color) { return PaintedColor(color, DefaultSchemeColor); }

std::string Hex(std::uint32_t v) { return "#" + Hex2(v & 0xFF) + Hex2((v >> 8) & 0xFF) + Hex2((v >> 16) & 0xFF); }

// Text on a ground: the program's own rule (common/Contrast), with the contrast any text needs.
std::string TextOn(std::uint32_t text, std::int32_t ground) {
    return Hex(ReadableTextColor(text, Painted(ground), kContrastForAnyText));
}

// The schemes a browser opens for itself, which the page links: web and mail addresses. Any other
// scheme (a program's own, such as "ms-settings:") opens only on a Windows PC with that program.
bool BrowserOpens(const std::string& target) {
    if (target.compare(0, 3, "www") == 0) return true;
    std::string scheme = target.substr(0, target.find(':'));
    for (char& c : scheme)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return scheme == "http" || scheme == "https" || scheme == "mailto";
}

std::string VersionText() {
    return std::to_string(ORVELUND_VERSION_MAJOR) + "." + std::to_string(ORVELUND_VERSION_MINOR) + "." +
           std::to_string(ORVELUND_VERSION_REVISION);
}

}  // namespace

std::string HtmlEscape(const std::string& raw) {
    const std::string text = ValidUtf8(raw);
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default:
            // Control characters are not allowed in HTML text; a menu line may hold them.
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t') out += "\xEF\xBF\xBD";
            else out += c;
        }
    }
    return out;
}

std::string RelativeUrl(const std::string& mediumPath) {
    std::string out;
    for (const char ch : mediumPath) {
        const auto c = static_cast<unsigned char>(ch);
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '.' || c == '_' || c == '~';
        if (c == '\\' || c == '/') out += '/';
        else if (unreserved) out += ch;
        else out += "%" + Hex2(c);
    }
    // ":" is encoded too, so no first segment can be read as a scheme.
    return out.empty() ? "./" : out;
}

std::string WebUrl(const std::string& target) {
    std::string url = target.compare(0, 3, "www") == 0 ? "http://" + target : target;
    std::string out;
    for (const char ch : url) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F || c == '"' || c == '<' || c == '>' || c == '\\' || c == '`' || c == '{' ||
            c == '}' || c == '|' || c == '^')
            out += "%" + Hex2(c);
        else
            out += ch;
    }
    return out;
}

std::string CssColor(std::int32_t windowsColor) { return Hex(Painted(windowsColor)); }

bool MayReplaceMenuPage(const std::optional<std::string>& existing) {
    return !existing || existing->find(kWebGenerator) != std::string::npos;
}

std::string PageName(const CheckedMenu& menu) { return menu.tag.empty() ? "menu.htm" : "menu." + menu.tag + ".htm"; }

std::string PageLanguage(const CheckedMenu& menu) { return menu.tag.empty() ? "und" : menu.tag; }

std::string MenuPage(const CheckResult& checked) { return MenuPage(checked, checked.menu); }

std::string MenuPage(const CheckResult& checked, const CheckedMenu& menu) {
    const std::string title = HtmlEscape(menu.caption);
    const std::string back = CssColor(menu.backColor);
    const std::string buttonBack = CssColor(menu.buttonColor);
    const std::string labelBack = CssColor(menu.labelBackColor);
    // The window draws its labels' text in their own colour and its buttons' in the scheme's button
    // text, each turned black or white where it would not read.
    const std::uint32_t labelText = Painted(menu.labelTextColor);
    const std::uint32_t buttonText = DefaultSchemeColor(kSchemeButtonText);

    std::string page;
    page.reserve(4096 + menu.entries.size() * 400);
    page += "<!DOCTYPE html>\n";
    page += std::string(kWebGenerator) + " " + VersionText() +
            " from " + HtmlEscape(menu.file.empty() ? "content\\config.ini" : menu.file) + ". It is written again by orvelund-check --web: change the menu in the "
            "Menu Editor, not here. -->\n";
    // The menu's own text is in the language of its file; what the page adds (the notes on entries
    // that do not open, the name of the list of languages) is English and says so.
    page += "<html lang=\"" + HtmlEscape(PageLanguage(menu)) + "\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
            "<meta name=\"generator\" content=\"orvelund-check " + VersionText() + "\">\n";
    page += "<title>" + title + "</title>\n<style>\n";
    page += "body { margin: 0; background: " + back + "; color: " + TextOn(labelText, menu.backColor) +
            "; font-family: Arial, Helvetica, sans-serif; }\n"
            "main { max-width: 40rem; margin: 0 auto; padding: 0.5rem; }\n"
            "h1 { font-size: 1.4rem; margin: 0.5rem 0; }\n"
            ".banner { display: block; width: 100%; max-width: 624px; height: auto; }\n"
            "ol { list-style: none; margin: 1rem 0; padding: 0; }\n"
            "li { margin: 0 0 0.75rem; }\n"
            ".entry { display: flex; flex-wrap: wrap; align-items: center; gap: 0.5rem 1rem; color: inherit; "
            "text-decoration: none; }\n"
            ".button { display: flex; align-items: center; justify-content: center; box-sizing: border-box; "
            "min-width: 137px; min-height: 33px; padding: 0 0.5rem; background: " + buttonBack + "; color: " +
            TextOn(buttonText, menu.buttonColor) + "; font-weight: bold; font-size: 0.75rem; border: 2px outset " +
            buttonBack + "; }\n"
            ".button.picture { padding: 0; border: 0; background: none; }\n"
            ".button img { display: block; width: 137px; height: 33px; }\n"
            ".label { background: " + labelBack + "; color: " + TextOn(labelText, menu.labelBackColor) +
            "; font-style: italic; font-size: 0.9rem; padding: 0.1rem 0.25rem; overflow-wrap: anywhere; }\n"
            "a.entry:hover .label, a.entry:focus .label { text-decoration: underline; }\n"
            "a.entry:focus { outline: 3px solid currentColor; outline-offset: 2px; }\n"
            ".problem { flex-basis: 100%; margin: 0; font-size: 0.85rem; }\n"
            ".languages { display: flex; flex-wrap: wrap; gap: 0.25rem 1rem; list-style: none; margin: 0 auto; "
            "padding: 0.5rem; max-width: 40rem; }\n"
            ".languages a { color: inherit; }\n"
            ".languages a[aria-current] { font-weight: bold; text-decoration: none; }\n"
            "</style>\n</head>\n<body>\n";
    if (!checked.languages.empty()) {
        // Each language named in its own words and marked as such; config.ini's page is the one for
        // every reader whose language has no menu of its own.
        auto link = [&](const CheckedMenu& to, const std::string& name, const std::string& language) {
            const std::string lang = language.empty() ? std::string(" lang=\"en\"")
                                                      : " lang=\"" + HtmlEscape(language) + "\" hreflang=\"" +
                                                            HtmlEscape(language) + "\"";
            return "<li><a href=\"" + HtmlEscape(RelativeUrl(PageName(to))) + "\"" + lang +
                   (to.tag == menu.tag ? " aria-current=\"page\"" : "") + ">" + HtmlEscape(name) + "</a></li>\n";
        };
        page += "<nav aria-label=\"Languages\" lang=\"en\">\n<ul class=\"languages\">\n";
        page += link(checked.menu, "Other languages", "");
        for (const CheckedMenu& language : checked.languages) {
            const auto tag = menulanguage::ParseLanguageTag(language.tag);
            page += link(language, tag ? OwnName(*tag) : language.tag, language.tag);
        }
        page += "</ul>\n</nav>\n";
    }
    page += "<main>\n";
    page += "<h1 dir=\"auto\">" + title + "</h1>\n";
    if (!menu.mainPicture.empty())
        page += "<img class=\"banner\" src=\"" + HtmlEscape(RelativeUrl(menu.mainPicture)) + "\" alt=\"" + title +
                "\" width=\"624\" height=\"213\">\n";
    page += "<ol>\n";
    for (const CheckedEntry& e : menu.entries) {
        if (!e.shown) continue;  // as in the window: what the reader can never reach is not there
        const std::string name = HtmlEscape(e.entry.Button);
        std::string button;
        if (!e.picture.empty())
            button = "<span class=\"button picture\" dir=\"auto\"><img src=\"" + HtmlEscape(RelativeUrl(e.picture)) +
                     "\" alt=\"" + name + "\" width=\"137\" height=\"33\" loading=\"lazy\"></span>";
        else
            button = "<span class=\"button\" dir=\"auto\">" + name + "</span>";
        // A line with one field sets no label in the window; the page shows none either.
        const std::string label =
            e.fields >= 2 ? " <span class=\"label\" dir=\"auto\">" + HtmlEscape(e.entry.Label) + "</span>" : std::string();

        std::string href, note = e.problem;
        if (note.empty() && e.error) note = "Does not open: it names nothing that can be opened.";
        if (note.empty() && e.target == CheckedEntry::Target::Web && !BrowserOpens(e.link))
            note = "Not linked here: a browser does not open " + e.link.substr(0, e.link.find(':') + 1) +
                   " addresses; on Windows the program made for them does.";
        if (note.empty()) {
            if (e.target == CheckedEntry::Target::Web) href = WebUrl(e.link);
            else if (e.target == CheckedEntry::Target::Folder) href = e.link.empty() ? "./" : RelativeUrl(e.link) + "/";
            else if (e.target == CheckedEntry::Target::File) href = RelativeUrl(e.link);
        }
        if (!href.empty()) {
            page += "<li><a class=\"entry\" href=\"" + HtmlEscape(href) + "\">" + button + label + "</a></li>\n";
        } else {
            page += "<li><div class=\"entry\">" + button + label + "<p class=\"problem\" lang=\"en\">" +
                    HtmlEscape(note.empty() ? "Does not open: it names nothing that can be opened." : note) +
                    "</p></div></li>\n";
        }
    }
    page += "</ol>\n</main>\n</body>\n</html>\n";
    return page;
}

PagesWritten WriteMenuPages(const CheckResult& checked, const PageFiles& files) {
    std::vector<const CheckedMenu*> menus{&checked.menu};
    for (const auto& language : checked.languages) menus.push_back(&language);
    std::vector<std::string> paths;
    for (const CheckedMenu* menu : menus) paths.push_back(files.pathOf(PageName(*menu)));
    PagesWritten written;
    for (const std::string& path : paths) {
        if (const std::string why = files.notAPlainFile(path); !why.empty()) {
            written.error = why;
            return written;
        }
        if (!MayReplaceMenuPage(files.readStart(path, 4096))) {
            written.error = path + " was not written by orvelund-check, so it is left as it is. Rename or move it, "
                            "then write the web page again.";
            return written;
        }
    }
    for (std::size_t i = 0; i < menus.size(); ++i) {
        const std::string html = MenuPage(checked, *menus[i]);
        if (!files.replace(paths[i], html)) {
            written.error = paths[i] + " could not be written (is the folder read-only, or the disk full?).";
            return written;
        }
        written.pages.push_back({paths[i], html.size()});
        written.tags.push_back(menus[i]->tag);
    }
    return written;
}
