#include "check/WebPage.h"

#include "check/Text.h"
#include "common/Contrast.h"
#include "platform/Version.h"

namespace {

std::string Hex2(unsigned v) {
    const char* digits = "0123456789ABCDEF";
    return {digits[(v >> 4) & 0xF], digits[v & 0xF]};
}

// The colour the page gives a plain Windows colour, or `fallback` (a CSS colour) for anything else.
std::string Css(std::int32_t color, const char* fallback) { return CssColor(color).value_or(fallback); }

// Plain colours only: system colours have no fixed value to compare.
bool Plain(std::int32_t color) { return static_cast<std::uint32_t>(color) <= 0xFFFFFF; }

// Text on a ground: the program's own rule keeps it readable (common/Contrast).
std::string TextOn(std::int32_t text, std::int32_t ground) {
    if (!Plain(ground)) return Css(text, "CanvasText");
    return *CssColor(static_cast<std::int32_t>(
        ReadableTextColor(static_cast<std::uint32_t>(text), static_cast<std::uint32_t>(ground))));
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

std::optional<std::string> CssColor(std::int32_t windowsColor) {
    const auto v = static_cast<std::uint32_t>(windowsColor);
    if (v <= 0xFFFFFF) return "#" + Hex2(v & 0xFF) + Hex2((v >> 8) & 0xFF) + Hex2((v >> 16) & 0xFF);
    if ((v & 0xFFFFFF00u) != 0x80000000u) return std::nullopt;
    // Windows' system colours by their index, as the CSS system colours that mean the same.
    switch (v & 0xFF) {
    case 5: return "Canvas";             // window background
    case 8: return "CanvasText";         // window text
    case 13: return "Highlight";
    case 14: return "HighlightText";
    case 15: return "ButtonFace";
    case 17: return "GrayText";
    case 18: return "ButtonText";
    default: return std::nullopt;
    }
}

bool MayReplaceMenuPage(const std::optional<std::string>& existing) {
    return !existing || existing->find(kWebGenerator) != std::string::npos;
}

std::string MenuPage(const CheckResult& checked) {
    const CheckedMenu& menu = checked.menu;
    const std::string title = HtmlEscape(menu.caption);
    const std::string back = Css(menu.backColor, "Canvas");
    const std::string buttonBack = Css(menu.buttonColor, "ButtonFace");
    const std::string labelBack = Css(menu.labelBackColor, "Canvas");

    std::string page;
    page.reserve(4096 + menu.entries.size() * 400);
    page += "<!DOCTYPE html>\n";
    page += std::string(kWebGenerator) + " " + VersionText() +
            " from content\\config.ini. It is written again by orvelund-check --web: change the menu in the "
            "Menu Editor, not here. -->\n";
    page += "<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
            "<meta name=\"generator\" content=\"orvelund-check " + VersionText() + "\">\n";
    page += "<title>" + title + "</title>\n<style>\n";
    page += "body { margin: 0; background: " + back + "; color: " + TextOn(menu.labelTextColor, menu.backColor) +
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
            TextOn(0, menu.buttonColor) + "; font-weight: bold; font-size: 0.75rem; border: 2px outset " +
            buttonBack + "; }\n"
            ".button.picture { padding: 0; border: 0; background: none; }\n"
            ".button img { display: block; width: 137px; height: 33px; }\n"
            ".label { background: " + labelBack + "; color: " + TextOn(menu.labelTextColor, menu.labelBackColor) +
            "; font-style: italic; font-size: 0.9rem; padding: 0.1rem 0.25rem; overflow-wrap: anywhere; }\n"
            "a.entry:hover .label, a.entry:focus .label { text-decoration: underline; }\n"
            "a.entry:focus { outline: 3px solid Highlight; outline-offset: 2px; }\n"
            ".problem { flex-basis: 100%; margin: 0; font-size: 0.85rem; }\n"
            "</style>\n</head>\n<body>\n<main>\n";
    page += "<h1>" + title + "</h1>\n";
    if (!menu.mainPicture.empty())
        page += "<img class=\"banner\" src=\"" + HtmlEscape(RelativeUrl(menu.mainPicture)) + "\" alt=\"" + title +
                "\" width=\"624\" height=\"213\">\n";
    page += "<ol>\n";
    for (const CheckedEntry& e : menu.entries) {
        if (!e.shown) continue;  // as in the window: what the reader can never reach is not there
        const std::string name = HtmlEscape(e.entry.Button);
        std::string button;
        if (!e.picture.empty())
            button = "<span class=\"button picture\"><img src=\"" + HtmlEscape(RelativeUrl(e.picture)) + "\" alt=\"" +
                     name + "\" width=\"137\" height=\"33\"></span>";
        else
            button = "<span class=\"button\">" + name + "</span>";
        // A line with one field sets no label in the window; the page shows none either.
        const std::string label =
            e.fields >= 2 ? " <span class=\"label\">" + HtmlEscape(e.entry.Label) + "</span>" : std::string();

        std::string href;
        if (e.problem.empty()) {
            if (e.target == CheckedEntry::Target::Web) href = WebUrl(e.link);
            else if (e.target == CheckedEntry::Target::Folder) href = e.link.empty() ? "./" : RelativeUrl(e.link) + "/";
            else if (e.target == CheckedEntry::Target::File) href = RelativeUrl(e.link);
        }
        if (!href.empty()) {
            page += "<li><a class=\"entry\" href=\"" + HtmlEscape(href) + "\">" + button + label + "</a></li>\n";
        } else {
            page += "<li><div class=\"entry\">" + button + label + "<p class=\"problem\">" +
                    HtmlEscape(e.problem.empty() ? "Does not open: it names nothing that can be opened." : e.problem) +
                    "</p></div></li>\n";
        }
    }
    page += "</ol>\n</main>\n</body>\n</html>\n";
    return page;
}
