#pragma once
// The checker's parts, shared by the files that check one area of the medium each; only the
// checker's own files include this.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "check/Checker.h"
#include "check/CodePageGuess.h"
#include "check/LineStream.h"
#include "check/MediumIndex.h"
#include "picture/PictureHeader.h"

namespace checker {

constexpr const char* kMenuFile = "content\\config.ini";

// At most about `maxBytes` of a text, cut at a character, with "…" where it was cut.
std::string Excerpt(const std::string& s, std::size_t maxBytes);
// A text in quotes for a finding: a long one as its start (a menu line can be any length).
std::string Quoted(const std::string& s);
std::string LastName(const std::string& path);
std::string AsciiLower(std::string s);
bool StartsWith(const std::string& s, const char* prefix);
// A name with something in front of the extension, e.g. "a.jpg" but not ".jpg"; the case counts.
bool HasExtension(const std::string& name, const char* extension);
// "1.5 MiB", or KiB below one MiB.
std::string Megabytes(std::uint64_t bytes);
std::string Count(std::size_t n, const char* one, const char* many);

// The window or button that shows a picture, and how a picture of another size looks in it.
struct PictureFrame {
    int width, height;
    const char* picture;    // "main picture"
    const char* shownBy;    // "the window"
    const char* uncovered;  // what shows where a smaller picture leaves the frame
};

// What the checker keeps of a long menu: the window scrolls at most 32,767 entries down and reads
// eleven lines at a time, so no line past these is ever shown or read by it.
constexpr std::size_t kWindowLines = 32767 + 11;
constexpr std::size_t kClassicEntryLimit = 32766;  // the Menu Editor has always counted in 16 bits

// Walks the medium once and collects what each area finds; each area's checks live in a file of its own.
class Checker {
public:
    Checker(Medium& medium, const CheckOptions& options);
    CheckResult Run();

private:
    // Every finding goes through here. Of one code in one file only the first few are listed; the
    // rest are counted, and one finding at the end says how many there were and where.
    // Texts come as views, so that a finding of fixed words builds no string where it is found:
    // the checker has a few hundred of them, and each would cost code in every build.
    void Add(Severity s, std::string_view code, std::string_view file, std::size_t line, std::string_view entry,
             std::string_view what, std::string_view fix);
    void Error(std::string_view code, std::string_view file, std::size_t line, std::string_view entry,
               std::string_view what, std::string_view fix) {
        Add(Severity::Error, code, file, line, entry, what, fix);
    }
    void Warning(std::string_view code, std::string_view file, std::size_t line, std::string_view entry,
                 std::string_view what, std::string_view fix) {
        Add(Severity::Warning, code, file, line, entry, what, fix);
    }
    void Note(std::string_view code, std::string_view file, std::size_t line, std::string_view entry,
              std::string_view what, std::string_view fix) {
        Add(Severity::Note, code, file, line, entry, what, fix);
    }
    // The findings added from `from` on move to `to`, before those added in between: the menu
    // file's own findings are known only once it has been read through, but come first.
    void MoveFindings(std::size_t from, std::size_t to);
    void CountTheRest();

    // The last finding is an error in what the entry opens: its button does nothing for the reader.
    void Broken(CheckedEntry& e) {
        e.error = true;
        if (e.problem.empty()) e.problem = "Does not open: " + lastWhat_;
    }

    // The file at a medium path: nullptr when it is absent or a folder.
    const MediumItem* FindFile(const std::string& path) const {
        const MediumItem* item = index_.Find(path);
        return item && !item->folder ? item : nullptr;
    }
    // At most `limit` bytes of an item; nothing when it cannot be read.
    std::optional<std::string> Read(const MediumItem& item, std::size_t limit) {
        return item.readable ? medium_.Read(item.path, limit) : std::nullopt;
    }

    void CheckMenuFile(const MediumItem* item);
    // The code page a file's code-page text is read in, from what it names on the medium.
    CodePageChoice ChooseFor(const CodePageEvidence& evidence) const;
    CodePageChoice MenuCodePage(const MediumItem& item);
    // The warning for a file in a code page with letters outside ASCII: garbled on other PCs.
    void WarnCodePage(const std::string& file, const CodePageChoice& choice, const std::string& readers,
                      const std::string& fix);
    void CheckMenu(CheckedMenu& menu, const MediumItem* item);
    void FindLanguageFiles();
    void CheckLanguageTags();
    void CompareWithBase();
    void CheckStalePages();
    void OnMenuLine(StreamedLine& line);
    void FollowTarget(const CheckedEntry& e);
    void CheckSettings();
    void CheckEntry(CheckedEntry& e);
    void KeepEntry(CheckedEntry&& e, const MediumItem* picture);
    void CheckPaging();
    void CheckTarget(CheckedEntry& e);
    void CheckPictures();
    std::optional<PictureInfo> ReadPicture(const MediumItem& item);
    void CheckPictureSize(const MediumItem& item, std::size_t line, const std::string& entry, const PictureInfo& info,
                          const PictureFrame& frame, const std::string& shownAt = "");
    void CheckAutoRun();
    void CheckNames();
    void CheckProgram();

    std::string Line(std::size_t zeroBased) const {
        return zeroBased < read_.header.size() ? read_.header[zeroBased] : std::string();
    }

    Medium& medium_;
    CheckOptions options_;
    MediumIndex index_;
    CodePageChoice menuCodePage_;  // config.ini's, once read: autorun.inf was most likely written on the same PC
    bool menuCodePageFound_ = false;
    std::string autoRunProgram_;  // the root program autorun.inf starts, when it is there
    CheckResult result_;
    std::string lastWhat_;        // what the last finding said, also when it was only counted

    // The menus in the order they are checked: config.ini's, then each language's.
    std::vector<CheckedMenu*> Menus() {
        std::vector<CheckedMenu*> menus{&result_.menu};
        for (auto& m : result_.languages) menus.push_back(&m);
        return menus;
    }

    // The menu being checked, and its file's path on the medium, which every finding about it names.
    CheckedMenu* menu_ = nullptr;
    std::string menuFile_;

    // The menu file as it streams by: the header lines, then what each entry line held. Begins
    // anew with each menu file.
    struct MenuRead {
        std::vector<std::string> header;  // lines 1 to 8
        std::uint64_t lines = 0;
        bool settingsChecked = false;
        std::size_t entriesAt = 0;        // where the entries' findings begin
        std::vector<bool> entryEmpty;     // the entry lines the window can ever read: empty or not
        struct Tail {                     // the entry lines after those
            std::size_t entries = 0;      // that are not empty
            std::size_t first = 0, last = 0;  // the first and last of them, 0-based from line 9
            std::size_t emptyBefore = 0;  // 1 + the last empty line before `first`, 0 when none
        } tail;
        std::size_t entries = 0;          // entry lines that are not empty
        // What the entries the window can read lead to, by position among the entries (a key of the
        // target as the program resolves it), with their lines: a language's menu is compared with
        // config.ini's by these.
        std::vector<std::uint64_t> targets;
        std::vector<std::size_t> targetLines;
        // The first entry whose target differs from config.ini's at its position, as it streamed by.
        std::size_t differ = 0, firstDiffer = 0, firstDifferLine = 0;
        std::string firstDifferButton, firstDifferTarget;
        std::size_t extraLine = 0;        // the first entry past as many as config.ini has
        std::string extraButton;
    };
    MenuRead read_;
    std::size_t storedBytes_ = 0;  // text kept for the web pages, of all menus together
    MenuRead base_;  // config.ini's, once read: its targets are what each language's menu is compared with
    std::vector<const MediumItem*> languageItems_;  // the files of result_.languages
    std::vector<const MediumItem*> noLanguage_;     // content\config.<x>.ini whose x is no language

    // Button pictures, each with the first entry that shows it, in the order of the menus.
    struct PictureUse {
        const MediumItem* item;
        std::size_t line;
        std::string button;
        std::string menuFile;
    };
    std::vector<PictureUse> pictureUses_;
    std::vector<std::vector<const MediumItem*>> entryPictures_;  // beside each menu's entries, as Menus() lists them
    std::set<std::string> usedPictures_;            // folded names of the pictures some entry names

    // Findings of one code in one file beyond the listed ones.
    struct Unlisted {
        Severity severity;
        std::size_t count = 0, firstLine = 0, lastLine = 0;
    };
    std::map<std::pair<std::string, std::string>, std::size_t> listed_;
    std::map<std::pair<std::string, std::string>, std::size_t>::iterator lastKey_ = listed_.end();
    std::map<std::pair<std::string, std::string>, Unlisted> unlisted_;

    std::set<std::string> caseTwins_;   // folded paths that two names on the medium share
    std::set<std::size_t> pictureNameLengths_;  // of the <name> in the medium's content\<name>.jpg
    // The path or a folder it lies in is one of two names that differ only in case.
    bool InCaseTwin(const std::string& path) const {
        const std::string folded = MediumIndex::Fold(path);
        for (std::size_t end = folded.find('\\'); end != std::string::npos; end = folded.find('\\', end + 1))
            if (caseTwins_.count(folded.substr(0, end))) return true;
        return caseTwins_.count(folded) != 0;
    }
};

}  // namespace checker
