#pragma once
// The progress window, and the Progress service that shows it while a long task runs on the
// program's one thread: made only once the task has run half a second, it takes the messages of
// every window of the program while it shows, and the other windows wait, disabled, as under a
// modal dialog. Any long task can use it: a copy onto the medium now, a check or a disc image later.
#include <memory>
#include <vector>

#include "platform/Progress.h"
#include "platform/win32/DesignedWindow.h"

class ProgressWindow : public DesignedWindow {
public:
    ProgressWindow();
    bool cancelled = false;  // Cancel, Escape or the title bar's close button

protected:
    void OnCommand(ControlId id, int code) override;
    void OnEscape() override { cancelled = true; }
    void OnCloseRequest() override { cancelled = true; }
};

class Win32Progress : public Progress {
public:
    explicit Win32Progress(PictureService& pictures) : pictures_(pictures) {}
    void Begin(const std::string& caption, const std::string& text) override;
    void SetText(const std::string& text) override;
    bool Report(std::uint64_t done, std::uint64_t total) override;
    void End() override;

private:
    void ShowWindowNow();
    void HandleMessages();
    static BOOL CALLBACK MakeWait(HWND window, LPARAM self);  // disables one of the program's other windows

    PictureService& pictures_;
    std::unique_ptr<ProgressWindow> window_;
    std::string caption_, text_;
    DWORD started_ = 0;
    bool cancelled_ = false;
    bool windowFailed_ = false;  // no window for this task: it runs on without one
    std::vector<HWND> disabled_;  // the program's windows that wait while the window shows
    HWND active_ = nullptr;       // the one that had been active, active again at the end
};
