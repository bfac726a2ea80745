#pragma once
// A long task on the program's one thread (a copy onto the medium, a check, writing a disc image)
// and the small window that shows how far it is: a text, a bar and Cancel. The window appears
// only when the task is still running half a second after Begin, so a quick task shows nothing.
// While it shows, the program's other windows are disabled and every Report lets the windows
// handle their messages (repaint, and the Cancel button).
#include <cstdint>
#include <string>

class Progress {
public:
    virtual ~Progress() = default;
    // Starts a task; `caption` is the window's, `text` the line above the bar.
    virtual void Begin(const std::string& /*caption*/, const std::string& /*text*/) {}
    virtual void SetText(const std::string& /*text*/) {}
    // `done` of `total` (any unit). False once the user has cancelled: the task then stops.
    virtual bool Report(std::uint64_t /*done*/, std::uint64_t /*total*/) { return true; }
    // The task is over: the window goes and the other windows are enabled again.
    virtual void End() {}
};

inline Progress& NoProgress() {
    static Progress none;
    return none;
}

// Begin and End around a scope, so that End comes however the task ends.
class ProgressTask {
public:
    ProgressTask(Progress& progress, const std::string& caption, const std::string& text) : progress_(progress) {
        progress_.Begin(caption, text);
    }
    ~ProgressTask() { progress_.End(); }
    ProgressTask(const ProgressTask&) = delete;
    ProgressTask& operator=(const ProgressTask&) = delete;
    Progress* operator->() const { return &progress_; }

private:
    Progress& progress_;
};
