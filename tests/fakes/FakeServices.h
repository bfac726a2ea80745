#pragma once
// Fakes of the desktop services: a recording shell, scripted message boxes, pictures that remember
// where they came from, and a record of the windows opened.
#include <deque>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/ColorDialog.h"
#include "platform/Dialogs.h"
#include "platform/FileCopier.h"
#include "platform/FileDialogs.h"
#include "platform/Picture.h"
#include "platform/ProgramWindows.h"
#include "platform/Progress.h"
#include "platform/Shell.h"
#include "tests/fakes/FakeFileSystem.h"

struct ShellCall {
    std::intptr_t owner;
    std::string verb, file;
    std::string parameters = "";  // what a program started with Start was given
    bool operator==(const ShellCall& o) const {
        return owner == o.owner && verb == o.verb && file == o.file && parameters == o.parameters;
    }
};
inline std::ostream& operator<<(std::ostream& os, const ShellCall& c) {
    os << "{" << (c.owner ? "owner" : "no owner") << ", '" << c.verb << "', '" << c.file << "'";
    if (!c.parameters.empty()) os << ", '" << c.parameters << "'";
    return os << "}";
}

class FakeShell : public Shell {
public:
    std::vector<ShellCall> calls;
    bool fails = false;  // the shell cannot start anything
    bool Execute(std::intptr_t owner, const std::string& verb, const std::string& file) override {
        calls.push_back({owner, verb, file});
        return !fails;
    }
    bool Start(std::intptr_t owner, const std::string& program, const std::string& parameters) override {
        calls.push_back({owner, "open", program, parameters});
        return !fails;
    }
};

struct MessageBoxCall {
    std::string prompt;
    int buttons;
    std::string title;
};

class FakeDialogs : public Dialogs {
public:
    std::deque<int> answers;  // scripted answers; with none left, the box answers OK
    std::vector<MessageBoxCall> shown;
    int MsgBox(const std::string& prompt, int buttons, const std::string& title) override;
};

// A fake picture knows what it is: a built-in picture or the file it was loaded from.
class FakePicture : public Picture {
public:
    FakePicture(std::string source, bool icon, ShownArea shown = {})
        : source(std::move(source)), icon(icon), shown(shown) {}
    bool IsIcon() const override { return icon; }
    std::string source;
    bool icon;
    ShownArea shown;  // the part the caller asked to keep
};
std::string SourceOf(const PicturePtr& picture);  // "" for no picture

// Loads any file of the fake file system whose text does not start with "broken"; an icon is a
// file that starts with "ICON". Saving writes "ICON:<source>" or "BMP:<source>".
class FakePictures : public PictureService {
public:
    explicit FakePictures(FakeFileSystem& fs) : fs_(fs) {}
    PicturePtr LoadPicture(const std::string& path, const ShownArea& shown) override;
    PicturePtr BuiltIn(BuiltInPicture which) override;
    bool SavePicture(const PicturePtr& picture, const std::string& path) override;
    // A picture of the file, its `shown` the size it was to fit.
    PicturePtr LoadPictureToFit(const std::string& path, int width, int height, std::int32_t ground) override;

private:
    FakeFileSystem& fs_;
};

class FakeWindows : public ProgramWindows {
public:
    int setupWizardShown = 0, chooseFolderShown = 0, menuItemShown = 0, mediumCheckShown = 0;
    void ShowSetupWizard() override { ++setupWizardShown; }
    void ShowChooseFolder() override { ++chooseFolderShown; }
    void ShowMenuItem() override { ++menuItemShown; }
    void ShowMediumCheck() override { ++mediumCheckShown; }
};

// The colour chooser: answers with the next scripted colour, or as a cancel when there is none.
// Like a user, it may change the custom colours it was shown.
class FakeColorDialog : public ColorDialog {
public:
    std::deque<std::int32_t> answers;
    std::vector<std::array<std::int32_t, 16>> shownWith;
    bool Pick(std::array<std::int32_t, 16>& custom, std::int32_t& chosen) override {
        shownWith.push_back(custom);
        custom.fill(0x123456);
        if (answers.empty()) return false;
        chosen = answers.front();
        answers.pop_front();
        return true;
    }
};

// Windows' file and folder dialogs: each answers with the next scripted choice (nullopt: Cancel),
// or as a cancel when there is none, and remembers how it was opened.
class FakeFileDialogs : public FileDialogs {
public:
    struct Shown {
        bool folder;
        std::string title, start;
    };
    std::deque<std::optional<std::string>> answers;
    std::vector<Shown> shown;
    std::optional<std::string> ChooseFile(std::intptr_t, const std::string& title, const std::string& start) override {
        return Answer(false, title, start);
    }
    std::optional<std::string> ChooseFolder(std::intptr_t, const std::string& title, const std::string& start) override {
        return Answer(true, title, start);
    }
    std::optional<std::string> SaveFile(std::intptr_t, const std::string& title, const std::string& start,
                                        const std::string& name, const std::string&) override {
        return Answer(false, title, start + "|" + name);
    }

private:
    std::optional<std::string> Answer(bool folder, const std::string& title, const std::string& start) {
        shown.push_back({folder, title, start});
        std::optional<std::string> answer;
        if (!answers.empty()) answer = answers.front(), answers.pop_front();
        return answer;
    }
};

// Copies within the fake file system, reporting its progress in four steps; a source listed in
// `failing` fails with that result and writes nothing.
class FakeCopier : public FileCopier {
public:
    explicit FakeCopier(FakeFileSystem& fs) : fs_(fs) {}
    std::map<std::string, CopyResult> failing;  // by FakeFileSystem::Key of the source
    CopyResult Copy(const std::string& from, const std::string& to, const Progressed& progressed) override {
        if (!fs_.Has(from)) return CopyResult::SourceUnreadable;
        const auto fails = failing.find(FakeFileSystem::Key(from));
        if (fails != failing.end()) return fails->second;
        const std::uint64_t total = fs_.Content(from).size();
        for (std::uint64_t step = 1; step <= 4; ++step)
            if (!progressed(total * step / 4, total)) return CopyResult::Cancelled;
        return fs_.WriteBytes(to, fs_.Content(from)) ? CopyResult::Copied : CopyResult::ReadOnly;
    }
    // The whole tree in four steps, written only when no step was cancelled.
    CopyResult CopyFolder(const std::string& from, const std::string& to, const Progressed& progressed) override {
        if (!fs_.FolderExists(from)) return CopyResult::SourceUnreadable;
        const auto fails = failing.find(FakeFileSystem::Key(from));
        if (fails != failing.end()) return fails->second;
        for (std::uint64_t step = 1; step <= 4; ++step)
            if (!progressed(step, 4)) return CopyResult::Cancelled;
        fs_.AddFolder(to);
        for (const auto& item : fs_.Tree(from)) {
            if (item.folder) fs_.AddFolder(to + "\\" + item.path);
            else fs_.AddFile(to + "\\" + item.path, fs_.Content(from + "\\" + item.path));
        }
        return CopyResult::Copied;
    }

private:
    FakeFileSystem& fs_;
};

// The progress window: records what it showed; the user presses Cancel at report `cancelAt`.
class FakeProgress : public Progress {
public:
    std::vector<std::string> captions, texts;
    int reports = 0, open = 0;
    int cancelAt = -1;  // -1: never
    void Begin(const std::string& caption, const std::string& text) override {
        captions.push_back(caption);
        if (!text.empty()) texts.push_back(text);
        ++open;
    }
    void SetText(const std::string& text) override { texts.push_back(text); }
    bool Report(std::uint64_t, std::uint64_t) override { return cancelAt < 0 || reports++ < cancelAt; }
    void End() override { --open; }
};
