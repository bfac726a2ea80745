#include "check/Report.h"

#include <cstdio>

#include "check/Text.h"

namespace {

const char* SeverityName(Severity s) {
    switch (s) {
    case Severity::Error: return "error";
    case Severity::Warning: return "warning";
    case Severity::Note: return "note";
    }
    return "note";
}

std::string Plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Text for a terminal: characters that would act instead of showing (an escape sequence that
// recolours the terminal, a line end inside a file name, a change of writing direction) are
// written as "<U+001B>". The text is UTF-8 by then.
std::string Visible(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    const char* digits = "0123456789ABCDEF";
    auto escape = [&](unsigned code) {
        out += "<U+";
        for (int shift = 12; shift >= 0; shift -= 4) out += digits[(code >> shift) & 0xF];
        out += '>';
    };
    const auto* b = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = b[i];
        if (c < 0x20 || c == 0x7F) {
            escape(c);
        } else if (c == 0xC2 && i + 1 < text.size() && b[i + 1] >= 0x80 && b[i + 1] <= 0x9F) {
            escape(b[++i]);  // C1 controls, U+0080 to U+009F
        } else if (c == 0xE2 && i + 2 < text.size() &&
                   ((b[i + 1] == 0x80 && ((b[i + 2] >= 0x8E && b[i + 2] <= 0x8F) || (b[i + 2] >= 0xAA && b[i + 2] <= 0xAE))) ||
                    (b[i + 1] == 0x81 && b[i + 2] >= 0xA6 && b[i + 2] <= 0xA9))) {
            escape(0x2000u + ((b[i + 1] & 0x3Fu) << 6) + (b[i + 2] & 0x3Fu));  // marks and overrides of direction
            i += 2;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string Where(const Finding& f) {
    std::string where = f.file.empty() ? std::string("(medium)") : f.file;
    if (f.line) where += " line " + std::to_string(f.line);
    if (!f.entry.empty()) where += " (\"" + f.entry + "\")";
    return where;
}

}  // namespace

std::size_t Report::Count(Severity s) const {
    std::size_t n = 0;
    for (const auto& f : findings)
        if (f.severity == s) n += f.more ? f.more : 1;
    return n;
}

std::string SummaryLine(const Report& r) {
    return Plural(r.entries, "entry", "entries") + (r.menus > 1 ? " in " + std::to_string(r.menus) + " menus" : "") +
           ", " + Plural(r.files, "file", "files") + ", " +
           Plural(r.Count(Severity::Error), "error", "errors") + ", " +
           Plural(r.Count(Severity::Warning), "warning", "warnings") + ", " +
           Plural(r.Count(Severity::Note), "note", "notes");
}

std::string FormatFinding(const Finding& f) {
    std::string out = "  " + f.code + "  " + Visible(ValidUtf8(Where(f))) + "\n";
    out += "    " + Visible(ValidUtf8(f.what)) + "\n";
    if (!f.fix.empty()) out += "    Fix: " + Visible(ValidUtf8(f.fix)) + "\n";
    return out + "\n";
}

std::string FormatText(const Report& r) {
    std::string out;
    const struct {
        Severity severity;
        const char* heading;
    } groups[] = {{Severity::Error, "Errors: will not work on the reader's PC"},
                  {Severity::Warning, "Warnings: may not work, or look unintended"},
                  {Severity::Note, "Notes"}};
    for (const auto& g : groups) {
        if (!r.Count(g.severity)) continue;
        out += g.heading;
        out += "\n\n";
        for (const auto& f : r.findings) {
            if (f.severity != g.severity) continue;
            out += FormatFinding(f);
        }
    }
    out += SummaryLine(r) + "\n";
    return ValidUtf8(out);
}

std::string JsonString(const std::string& raw) {
    const std::string text = ValidUtf8(raw);
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out += ch;
            }
        }
    }
    return out + "\"";
}

std::string FindingJson(const Finding& f) {
    return "{\"severity\": " + JsonString(SeverityName(f.severity)) + ", \"code\": " + JsonString(f.code) +
           ", \"file\": " + JsonString(f.file) + ", \"line\": " + std::to_string(f.line) +
           ", \"entry\": " + JsonString(f.entry) + ", \"what\": " + JsonString(f.what) +
           ", \"fix\": " + JsonString(f.fix) + (f.more ? ", \"more\": " + std::to_string(f.more) : std::string()) + "}";
}

std::string FormatJson(const Report& r, const std::string& more) {
    std::string out = "{\n  \"findings\": [";
    bool first = true;
    for (const auto& f : r.findings) {
        out += first ? "\n" : ",\n";
        first = false;
        out += "    " + FindingJson(f);
    }
    out += first ? "],\n" : "\n  ],\n";
    out += "  \"summary\": {\"entries\": " + std::to_string(r.entries) + ", \"files\": " + std::to_string(r.files) +
           ", \"bytes\": " + std::to_string(r.bytes) + ", \"errors\": " + std::to_string(r.Count(Severity::Error)) +
           ", \"warnings\": " + std::to_string(r.Count(Severity::Warning)) +
           ", \"notes\": " + std::to_string(r.Count(Severity::Note)) + ", \"menus\": " + std::to_string(r.menus) +
           "}" + (more.empty() ? "" : ",\n  " + more) + "\n}\n";
    return out;
}

std::string Thousands(std::uint64_t n) {
    std::string digits = std::to_string(n), out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}
