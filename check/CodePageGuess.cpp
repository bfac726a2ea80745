#include "check/CodePageGuess.h"

#include <algorithm>

#include "common/CodePages.h"

void CodePageEvidence::AddLine(const std::string& bytes) {
    if (Full()) return;
    lines_.push_back(bytes);
    bytes_ += bytes.size();
}

void CodePageEvidence::AddName(const std::string& bytes, bool picture) {
    if (names_.size() >= kMaxNames || bytes.empty()) return;
    for (const Name& n : names_)
        if (n.bytes == bytes && n.picture == picture) return;
    names_.push_back({bytes, picture});
    bytes_ += bytes.size();
}

std::string CodePageChoice::Reason(const std::string& setIt) const {
    auto list = [](const std::vector<unsigned>& numbers) {
        std::string text;
        for (std::size_t i = 0; i < numbers.size(); ++i)
            text += (i == 0 ? "" : i + 1 == numbers.size() ? " and " : "; ") + CodePageLabel(numbers[i]);
        return text;
    };
    switch (basis) {
    case Basis::Given: return "The code page was given for it.";
    case Basis::Names: return "The code page was found from the names of the files and folders on the medium that it names.";
    case Basis::Valid: return "The code page is the only one in which its bytes are text.";
    case Basis::Menu: return "The code page is the one the menu file was found in.";
    case Basis::Assumed: break;
    }
    if (alike.size() > 1)
        return "The code page is assumed: the names on the medium that it names read alike in " + list(alike) +
               "; if it was written in another of them, " + setIt;
    return "The code page is assumed, as nothing on the medium tells which one it was written in; if it was "
           "another, " + setIt;
}

CodePageChoice ChooseCodePage(const CodePageEvidence& evidence, unsigned fallback, const NameTest& onMedium) {
    if (!FindAnsiCodePage(fallback)) fallback = 1252;  // a system set to UTF-8 writes no code-page text
    CodePageChoice choice;
    choice.number = fallback;
    if (evidence.Empty()) return choice;

    // Code pages in which every such line is text, and how many of the names each finds.
    std::vector<unsigned> valid;
    std::vector<std::size_t> found;
    for (const AnsiCodePage& cp : AnsiCodePages()) {
        const bool text = std::all_of(evidence.Lines().begin(), evidence.Lines().end(),
                                      [&](const std::string& line) { return DecodeCodePage(cp.number, line).has_value(); });
        if (!text) continue;
        std::size_t names = 0;
        for (const auto& name : evidence.Names())
            if (const auto utf8 = DecodeCodePage(cp.number, name.bytes); utf8 && onMedium(*utf8, name.picture)) ++names;
        valid.push_back(cp.number);
        found.push_back(names);
    }
    if (valid.empty()) return choice;  // no code page reads it: shown as best it can be

    const std::size_t best = *std::max_element(found.begin(), found.end());
    std::vector<unsigned> top;
    for (std::size_t i = 0; i < valid.size(); ++i)
        if (found[i] == best) top.push_back(valid[i]);
    if (top.size() == 1) {
        choice.number = top.front();
        choice.basis = best ? CodePageChoice::Basis::Names : CodePageChoice::Basis::Valid;
        return choice;
    }
    choice.number = std::find(top.begin(), top.end(), fallback) != top.end() ? fallback : top.front();
    if (best) choice.alike = top;
    return choice;
}
