#pragma once
// Which Windows code page a text file without a byte-order mark was written in. The file itself
// does not say; the medium does: a menu's entries name files and folders on it, and the medium
// keeps their names in Unicode, so the code page in which those names read as names on the medium
// is the author's. A code page in which the file's bytes are no text at all is ruled out.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// What a file offers to decide by, gathered as it is read (in bounded memory).
class CodePageEvidence {
public:
    // A line that is code-page text (neither ASCII nor UTF-8), as its bytes.
    void AddLine(const std::string& bytes);
    // A name on the medium that the file points at, as its bytes; `picture`: a button whose picture
    // is content\<name>.jpg, else a menu entry's file or folder (or autorun.inf's icon or program).
    void AddName(const std::string& bytes, bool picture);
    bool Full() const { return lines_.size() >= kMaxLines || bytes_ >= kMaxBytes; }
    bool Empty() const { return lines_.empty(); }

    const std::vector<std::string>& Lines() const { return lines_; }
    struct Name {
        std::string bytes;
        bool picture;
    };
    const std::vector<Name>& Names() const { return names_; }

private:
    static constexpr std::size_t kMaxLines = 2048, kMaxNames = 512, kMaxBytes = 1u << 20;
    std::vector<std::string> lines_;
    std::vector<Name> names_;
    std::size_t bytes_ = 0;
};

struct CodePageChoice {
    enum class Basis {
        Given,    // the user said so (--code-page)
        Names,    // the only code page in which the file's names are names on the medium
        Valid,    // the only code page in which the file's bytes are text
        Menu,     // autorun.inf: the code page the menu file was found in
        Assumed,  // nothing decides: the system's code page, or Windows-1252 elsewhere
    };
    unsigned number = 1252;
    Basis basis = Basis::Assumed;
    std::vector<unsigned> alike;  // Assumed: the code pages in which the names fit as well as in `number`

    // Why the file is read in this code page, as a sentence for a finding; `setIt` ends the
    // sentence for an assumed one: how to give the right code page.
    std::string Reason(const std::string& setIt) const;
};

// `onMedium` says whether a decoded name is on the medium. `fallback` is the code page taken when
// nothing decides.
using NameTest = std::function<bool(const std::string& utf8, bool picture)>;
CodePageChoice ChooseCodePage(const CodePageEvidence& evidence, unsigned fallback, const NameTest& onMedium);
