#pragma once
// The checker's parts, shared by the files that check one area of the medium each; only the
// checker's own files include this.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "check/Checker.h"
#include "check/MediumIndex.h"
#include "picture/PictureHeader.h"

namespace checker {

constexpr const char* kMenuFile = "content\\config.ini";

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

// Walks the medium once and collects what each area finds; each area's checks live in a file of its own.
class Checker {
public:
    explicit Checker(Medium& medium) : medium_(medium), index_(medium.List()) {}
    CheckResult Run();

private:
    void Add(Severity s, const std::string& code, const std::string& file, std::size_t line, const std::string& entry,
             const std::string& what, const std::string& fix) {
        result_.report.findings.push_back({s, code, file, line, entry, what, fix});
    }
    void Error(const std::string& code, const std::string& file, std::size_t line, const std::string& entry,
               const std::string& what, const std::string& fix) {
        Add(Severity::Error, code, file, line, entry, what, fix);
    }
    void Warning(const std::string& code, const std::string& file, std::size_t line, const std::string& entry,
                 const std::string& what, const std::string& fix) {
        Add(Severity::Warning, code, file, line, entry, what, fix);
    }
    void Note(const std::string& code, const std::string& file, std::size_t line, const std::string& entry,
              const std::string& what, const std::string& fix) {
        Add(Severity::Note, code, file, line, entry, what, fix);
    }

    // The last finding is an error in what the entry opens: its button does nothing for the reader.
    void Broken(CheckedEntry& e) {
        e.error = true;
        if (e.problem.empty()) e.problem = result_.report.findings.back().what;
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

    void CheckMenuFile();
    void CheckSettings();
    void CheckEntries();
    void CheckPaging();
    void CheckTarget(CheckedEntry& e);
    void CheckPictures();
    std::optional<PictureInfo> ReadPicture(const MediumItem& item);
    void CheckPictureSize(const MediumItem& item, std::size_t line, const std::string& entry, const PictureInfo& info,
                          const PictureFrame& frame);
    void CheckAutoRun();
    void CheckNames();
    void CheckProgram();

    std::string Line(std::size_t zeroBased) const {
        return zeroBased < lines_.size() ? lines_[zeroBased] : std::string();
    }

    Medium& medium_;
    MediumIndex index_;
    std::string autoRunProgram_;  // the root program autorun.inf starts, when it is there
    CheckResult result_;
    std::vector<std::string> lines_;  // the menu file as the program reads it
};

}  // namespace checker
