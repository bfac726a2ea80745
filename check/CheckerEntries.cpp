// The menu's entries: their fields and actions, and which of them the window ever shows.

#include <algorithm>
#include <map>

#include "check/CheckerParts.h"
#include "check/MenuWalk.h"

namespace checker {

namespace {

constexpr std::size_t kClassicEntryLimit = 32766;  // the Menu Editor has always counted in 16 bits

// The actions the Menu Editor offers, which every PC's shell knows for the files they suit.
bool IsShellVerb(const std::string& verb) {
    return verb == "open" || verb == "edit" || verb == "print" || verb == "explore";
}

}  // namespace

void Checker::CheckEntries() {
    CheckedMenu& menu = result_.menu;
    for (std::size_t n = menufile::kLineFirstEntry; n < lines_.size(); ++n) {
        if (lines_[n].empty()) continue;
        CheckedEntry e;
        e.line = n + 1;
        e.entry = menufile::EntryFromLine(lines_[n]);
        e.fields = menufile::SplitFields(lines_[n]).size();
        menu.entries.push_back(std::move(e));
    }
    result_.report.entries = menu.entries.size();

    if (menu.entries.empty() || Line(menufile::kLineFirstEntry).empty()) {
        Error("E-MENU-NO-ENTRIES", kMenuFile, menufile::kLineFirstEntry + 1, "",
              menu.entries.empty() ? "The menu has no entries: the window shows ten buttons that read \"Button\" "
                                     "and open nothing."
                                   : "Line 9, the first entry, is empty: the window shows ten buttons that read "
                                     "\"Button\" and open nothing.",
              menu.entries.empty() ? "Add entries in the Menu Editor." : "Delete the empty line before the entries.");
    }
    if (menu.entries.size() > kClassicEntryLimit)
        Warning("W-MENU-TOO-MANY", kMenuFile, 0, "", "The menu has " + std::to_string(menu.entries.size()) +
                " entries. The Menu Editor and the menu window count entries in 16-bit numbers: menus of more than "
                "32,766 entries are beyond what they were made for.",
                "Split the menu: put some entries into a folder that an \"explore\" entry opens.");

    for (CheckedEntry& e : menu.entries) {
        const std::string name = e.entry.Button;
        if (e.fields < 4) {
            Error("E-ENTRY-SHORT", kMenuFile, e.line, name, "The entry has " + Count(e.fields, "field", "fields") +
                  " instead of four (Button,Label,File/Folder,Action): a click on its button does nothing" +
                  (e.fields < 2 ? ", and the label beside it keeps the text of an earlier entry." : "."),
                  "Fill in every field of the entry in the Menu Editor.");
            Broken(e);
        } else if (e.fields > 4) {
            Warning("W-ENTRY-EXTRA-FIELDS", kMenuFile, e.line, name, "The line has " +
                    std::to_string(e.fields) + " comma-separated fields; only the first four count. A comma typed "
                    "into a label or path splits it, and the rest moves into the next field.",
                    "Remove the commas from the entry's fields.");
        }
        if (name.empty())
            Warning("W-ENTRY-NO-NAME", kMenuFile, e.line, name, "The entry's button has no name: it shows an empty "
                    "button unless content\\.jpg exists.", "Give the entry a button name in the Menu Editor.");
        else if (StartsWith(name, "##"))
            Warning("W-ENTRY-COMMENT", kMenuFile, e.line, name, "From line 9 on, every line is an entry, also one "
                    "that begins with \"##\": the menu shows a button named " + Quoted(name) + ".",
                    "Delete the line if it was meant as a comment.");
        if (e.fields < 4) continue;

        const std::string& action = e.entry.Action;
        if (action.empty()) {
            Warning("W-ACTION-EMPTY", kMenuFile, e.line, name, "The entry has no action: the shell then uses the "
                    "file's default action, which may not be what you meant.",
                    "Choose open, edit, print or explore in the Menu Editor.");
        } else if (!IsShellVerb(AsciiLower(action))) {
            std::string trimmed = action;
            trimmed.erase(0, trimmed.find_first_not_of(' '));
            trimmed.erase(trimmed.find_last_not_of(' ') + 1);
            if (IsShellVerb(AsciiLower(trimmed))) {
                Error("E-ACTION-BLANK", kMenuFile, e.line, name, "The action " + Quoted(action) + " has blanks "
                      "around it, which the program passes on to the shell: no program offers that action, so the "
                      "button opens nothing.", "Remove the blanks around the commas in the entry.");
                Broken(e);
            } else {
                Warning("W-ACTION-UNKNOWN", kMenuFile, e.line, name, "The action " + Quoted(action) + " is none of "
                        "open, edit, print or explore: it works only where the program that handles the file "
                        "offers it.", "Use open, edit, print or explore.");
            }
        }
        CheckTarget(e);
    }
}

void Checker::CheckPaging() {
    const MenuWalk walk = WalkMenu(lines_);
    const std::size_t first = menufile::kLineFirstEntry;
    std::map<std::size_t, CheckedEntry*> byLine;
    for (auto& e : result_.menu.entries) byLine[e.line] = &e;
    for (std::size_t i = 0; i < walk.shown.size(); ++i) {
        if (!walk.shown[i]) continue;
        const auto it = byLine.find(first + i + 1);
        if (it != byLine.end()) it->second->shown = true;
    }

    // Runs of entries that no view shows, one finding each; what stops the reader before them.
    const std::size_t scrollLimit = 32767;
    for (std::size_t i = 0; i < walk.shown.size();) {
        if (walk.shown[i] || lines_[first + i].empty()) {
            ++i;
            continue;
        }
        std::size_t j = i, count = 0;
        while (j < walk.shown.size() && !walk.shown[j]) count += !lines_[first + j++].empty();
        std::size_t last = j;
        while (last > i && lines_[first + last - 1].empty()) --last;
        std::size_t gap = i;
        while (gap > 0 && !lines_[first + gap - 1].empty()) --gap;
        const bool beyondScroll = i >= static_cast<std::size_t>(walk.deepestOffset) + 10 &&
                                  walk.deepestOffset >= static_cast<int>(scrollLimit);
        const std::string range = last - i == 1 ? "The entry on line " + std::to_string(first + i + 1) + " is"
                                                : "The " + std::to_string(count) + " entries on lines " +
                                                      std::to_string(first + i + 1) + " to " +
                                                      std::to_string(first + last) + " are";
        std::string why = beyondScroll ? " never shown: the menu window scrolls at most 32,767 entries down."
                                       : " never shown: the window ends its view at the empty line " +
                                             std::to_string(first + gap) +
                                             ", and Next is not offered far enough to bring " +
                                             (last - i == 1 ? "it" : "them") + " into view.";
        for (std::size_t k = i; k < j; ++k)
            if (auto it = byLine.find(first + k + 1); it != byLine.end()) it->second->error = true;
        const auto at = byLine.find(first + i + 1);
        Error("E-ENTRY-NEVER-SHOWN", kMenuFile, first + i + 1, at != byLine.end() ? at->second->entry.Button : "",
              range + why,
              beyondScroll ? "Split the menu: put some entries into a folder that an \"explore\" entry opens."
                           : "Delete the empty line (saving in the Menu Editor removes every empty line).");
        i = j;
    }

    // Empty lines that the reader has to page past to reach the entries after them.
    for (std::size_t i = 0; i < walk.shown.size(); ++i) {
        if (!lines_[first + i].empty()) continue;
        std::size_t next = i;
        while (next < walk.shown.size() && lines_[first + next].empty()) ++next;
        if (next == walk.shown.size()) break;
        if (walk.shown[next] && i > 0) {
            const bool stale = std::any_of(walk.staleViews.begin(), walk.staleViews.end(), [&](int offset) {
                return static_cast<std::size_t>(offset) >= i && static_cast<std::size_t>(offset) < next;
            });
            Warning("W-MENU-GAP", kMenuFile, first + i + 1, "", "Line " + std::to_string(first + i + 1) +
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
