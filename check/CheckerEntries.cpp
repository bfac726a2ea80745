// The menu's entries: their fields and actions, and which of them the window ever shows.

#include <algorithm>
#include <map>

#include "check/CheckerParts.h"
#include "check/MenuWalk.h"

namespace checker {

namespace {

// The actions the Menu Editor offers, which every PC's shell knows for the files they suit.
bool IsShellVerb(const std::string& verb) {
    return verb == "open" || verb == "edit" || verb == "print" || verb == "explore";
}

// How much of an entry the web page keeps: enough for any label a window shows, and for a long
// menu no more than a browser opens quickly.
constexpr std::size_t kKeptNameBytes = 256, kKeptLabelBytes = 512, kKeptPathBytes = 256, kKeptActionBytes = 64;
constexpr std::size_t kLinkBytes = 2048;
constexpr std::size_t kKeptTextBudget = 24u << 20;  // all entries of all menus together

}  // namespace

void Checker::CheckEntry(CheckedEntry& e) {
    const std::string name = e.entry.Button;
    if (e.fields < 4) {
        Error("E-ENTRY-SHORT", menuFile_, e.line, name, "The entry has " + Count(e.fields, "field", "fields") +
              " instead of four (Button,Label,File/Folder,Action): a click on its button does nothing" +
              (e.fields < 2 ? ", and the label beside it keeps the text of an earlier entry." : "."),
              "Fill in every field of the entry in the Menu Editor.");
        Broken(e);
    } else if (e.fields > 4) {
        Warning("W-ENTRY-EXTRA-FIELDS", menuFile_, e.line, name, "The line has " +
                std::to_string(e.fields) + " comma-separated fields; only the first four count. A comma typed "
                "into a label or path splits it, and the rest moves into the next field.",
                "Remove the commas from the entry's fields.");
    }
    if (name.empty())
        Warning("W-ENTRY-NO-NAME", menuFile_, e.line, name, "The entry's button has no name: it shows an empty "
                "button unless content\\.jpg exists.", "Give the entry a button name in the Menu Editor.");
    else if (StartsWith(name, "##"))
        Warning("W-ENTRY-COMMENT", menuFile_, e.line, name, "From line 9 on, every line is an entry, also one "
                "that begins with \"##\": the menu shows a button named " + Quoted(name) + ".",
                "Delete the line if it was meant as a comment.");
    if (e.fields < 4) return;

    const std::string& action = e.entry.Action;
    if (action.empty()) {
        Warning("W-ACTION-EMPTY", menuFile_, e.line, name, "The entry has no action: the shell then uses the "
                "file's default action, which may not be what you meant.",
                "Choose open, edit, print or explore in the Menu Editor.");
    } else if (!IsShellVerb(AsciiLower(action))) {
        std::string trimmed = action;
        trimmed.erase(0, trimmed.find_first_not_of(' '));
        trimmed.erase(trimmed.find_last_not_of(' ') + 1);
        if (IsShellVerb(AsciiLower(trimmed))) {
            Error("E-ACTION-BLANK", menuFile_, e.line, name, "The action " + Quoted(action) + " has blanks "
                  "around it, which the program passes on to the shell: no program offers that action, so the "
                  "button opens nothing.", "Remove the blanks around the commas in the entry.");
            Broken(e);
        } else {
            Warning("W-ACTION-UNKNOWN", menuFile_, e.line, name, "The action " + Quoted(action) + " is none of "
                    "open, edit, print or explore: it works only where the program that handles the file "
                    "offers it.", "Use open, edit, print or explore.");
        }
    }
    CheckTarget(e);
}

void Checker::KeepEntry(CheckedEntry&& e, const MediumItem* picture) {
    // Only what the page shows, each field cut to what a page can show; a menu whose lines are
    // all long keeps less of each once the budget is spent.
    const bool spent = storedBytes_ > kKeptTextBudget;
    const std::size_t small = 24;
    e.entry.Button = Excerpt(e.entry.Button, spent ? small : kKeptNameBytes);
    e.entry.Label = Excerpt(e.entry.Label, spent ? small : kKeptLabelBytes);
    e.entry.FileFolder = Excerpt(e.entry.FileFolder, spent ? small : kKeptPathBytes);
    e.entry.Action = Excerpt(e.entry.Action, kKeptActionBytes);
    if (e.problem.empty() && (spent || e.link.size() > kLinkBytes)) {
        e.problem = spent ? "Not linked here: the menu holds more text than this page shows."
                          : "Not linked here: its address is too long for a page.";
    }
    if (!e.problem.empty()) e.link.clear();
    storedBytes_ += e.entry.Button.size() + e.entry.Label.size() + e.entry.FileFolder.size() + e.link.size() +
                    e.problem.size() + sizeof e;
    menu_->entries.push_back(std::move(e));
    entryPictures_.back().push_back(picture);
}

void Checker::CheckPaging() {
    // The window pages through the lines it can ever read: every one of them as empty or not,
    // which is all its paging looks at.
    const std::size_t first = menufile::kLineFirstEntry;
    std::vector<std::string> lines(first);
    for (const bool empty : read_.entryEmpty) lines.emplace_back(empty ? "" : "x");
    const MenuWalk walk = WalkMenu(lines);
    const std::size_t known = read_.entryEmpty.size();
    std::map<std::size_t, CheckedEntry*> byLine;
    for (auto& e : menu_->entries) byLine[e.line] = &e;
    for (std::size_t i = 0; i < walk.shown.size(); ++i) {
        if (!walk.shown[i]) continue;
        const auto it = byLine.find(first + i + 1);
        if (it != byLine.end()) it->second->shown = true;
    }
    auto shown = [&](std::size_t i) { return i < walk.shown.size() && walk.shown[i]; };

    // Runs of entries that no view shows, one finding each; what stops the reader before them.
    // The lines past those the window can read form one run with the last one.
    const std::size_t scrollLimit = 32767;
    auto neverShown = [&](std::size_t i, std::size_t j, std::size_t count, std::size_t last, std::size_t gap) {
        const bool beyondScroll = i >= static_cast<std::size_t>(walk.deepestOffset) + 10 &&
                                  walk.deepestOffset >= static_cast<int>(scrollLimit);
        const std::string range = count == 1 ? "The entry on line " + std::to_string(first + i + 1) + " is"
                                             : "The " + std::to_string(count) + " entries on lines " +
                                                   std::to_string(first + i + 1) + " to " +
                                                   std::to_string(first + last) + " are";
        std::string why = beyondScroll ? " never shown: the menu window scrolls at most 32,767 entries down."
                                       : " never shown: the window ends its view at the empty line " +
                                             std::to_string(first + gap) +
                                             ", and Next is not offered far enough to bring " +
                                             (count == 1 ? "it" : "them") + " into view.";
        for (auto it = byLine.lower_bound(first + i + 1); it != byLine.end() && it->first <= first + j; ++it)
            it->second->error = true;
        const auto at = byLine.find(first + i + 1);
        Error("E-ENTRY-NEVER-SHOWN", menuFile_, first + i + 1, at != byLine.end() ? at->second->entry.Button : "",
              range + why,
              beyondScroll ? "Split the menu: put some entries into a folder that an \"explore\" entry opens."
                           : "Delete the empty line (saving in the Menu Editor removes every empty line).");
    };
    bool tailJoined = false;
    for (std::size_t i = 0; i < known;) {
        if (shown(i) || read_.entryEmpty[i]) {
            ++i;
            continue;
        }
        std::size_t j = i, count = 0;
        while (j < known && !shown(j)) count += !read_.entryEmpty[j++];
        std::size_t last = j;
        while (last > i && read_.entryEmpty[last - 1]) --last;
        if (j == known && read_.tail.entries) {
            count += read_.tail.entries;
            last = read_.tail.last + 1;
            j = read_.tail.last + 1;
            tailJoined = true;
        }
        std::size_t gap = i;
        while (gap > 0 && !read_.entryEmpty[gap - 1]) --gap;
        neverShown(i, j, count, last, gap);
        i = j;
    }
    if (read_.tail.entries && !tailJoined) {
        std::size_t gap = read_.tail.emptyBefore;
        if (!gap)  // the tail begins with an entry: the empty line is among the known ones, if any
            for (gap = known; gap > 0 && !read_.entryEmpty[gap - 1];) --gap;
        neverShown(read_.tail.first, read_.tail.last + 1, read_.tail.entries, read_.tail.last + 1, gap);
    }

    // Empty lines that the reader has to page past to reach the entries after them.
    for (std::size_t i = 0; i < known; ++i) {
        if (!read_.entryEmpty[i]) continue;
        std::size_t next = i;
        while (next < known && read_.entryEmpty[next]) ++next;
        if (next == known) break;
        if (shown(next) && i > 0) {
            const bool stale = std::any_of(walk.staleViews.begin(), walk.staleViews.end(), [&](int offset) {
                return static_cast<std::size_t>(offset) >= i && static_cast<std::size_t>(offset) < next;
            });
            Warning("W-MENU-GAP", menuFile_, first + i + 1, "", "Line " + std::to_string(first + i + 1) +
                    " is empty. The window ends its view at an empty line, so the entries after it (from line " +
                    std::to_string(first + next + 1) + ") appear only once the reader has pressed Next until the gap "
                    "has scrolled past" +
                    (stale ? "; while the empty line is at the top, the window keeps showing the buttons of the "
                             "view before, and they open other entries than they show."
                           : "."),
                    "Delete the empty line (saving in the Menu Editor removes every empty line).");
        }
        i = next;
    }
}

}  // namespace checker
