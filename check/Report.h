#pragma once
// What the checker found, and the two ways it is written out: text for people, JSON for scripts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class Severity { Error, Warning, Note };

struct Finding {
    Severity severity = Severity::Note;
    std::string code;      // stable, e.g. "E-TARGET-MISSING"; the letter is the severity's
    std::string file;      // the file or folder it concerns, relative to the medium's root
    std::size_t line = 0;  // 1-based line in `file` (config.ini for an entry), 0 when none
    std::string entry;     // the entry's button name when the finding is about an entry
    std::string what;      // what goes wrong for the reader
    std::string fix;       // how to put it right
    std::size_t more = 0;  // not 0: the finding stands for this many more of its code, not listed one by one
};

struct Report {
    std::vector<Finding> findings;  // in the order found: by area, then by line or path
    std::size_t entries = 0;        // entry lines that are not empty, as the Menu Editor counts them, in every menu
    std::size_t menus = 0;          // menu files read: config.ini and the menus of single languages
    std::size_t files = 0;          // files on the medium
    std::uint64_t bytes = 0;        // their total size
    std::uint64_t discBytes = 0;    // what they take on a CD or DVD, in whole 2 KiB sectors

    // Findings of a severity, counting those that were only counted.
    std::size_t Count(Severity s) const;
    // 0 without errors, 1 with errors.
    int ExitStatus() const { return Count(Severity::Error) ? 1 : 0; }
};

// Grouped by severity (errors, warnings, notes), the summary line last.
std::string FormatText(const Report& report);
// `more`: further members of the object, e.g. "\"image\": {...}".
std::string FormatJson(const Report& report, const std::string& more = "");
// One finding as the text report lists it (its lines and the blank line after them), and as JSON.
std::string FormatFinding(const Finding& finding);
std::string FindingJson(const Finding& finding);
std::string SummaryLine(const Report& report);

// A count with a comma between each three digits, as findings write numbers: "32,766".
std::string Thousands(std::uint64_t n);

// Text as a JSON string literal, quotes included.
std::string JsonString(const std::string& text);
