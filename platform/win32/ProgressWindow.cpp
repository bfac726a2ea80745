#include "platform/win32/ProgressWindow.h"

#include <commctrl.h>

#include "platform/ProgressDesign.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Trace.h"

using namespace ProgressCtl;

namespace {

constexpr DWORD kShowAfterMs = 500;  // a quick task shows no window at all
constexpr int kBarSteps = 1000;

}  // namespace

ProgressWindow::ProgressWindow() : DesignedWindow(ProgressDesign()) {}

void ProgressWindow::OnCommand(ControlId id, int code) {
    if (id == CancelButton && code == BN_CLICKED) cancelled = true;
}

void Win32Progress::Begin(const std::string& caption, const std::string& text) {
    End();  // one task at a time
    caption_ = caption;
    text_ = text;
    started_ = GetTickCount();
    cancelled_ = windowFailed_ = false;
}

void Win32Progress::SetText(const std::string& text) {
    text_ = text;
    if (window_) window_->SetText(lText, text);
}

bool Win32Progress::Report(std::uint64_t done, std::uint64_t total) {
    if (!window_ && !windowFailed_ && GetTickCount() - started_ >= kShowAfterMs) ShowWindowNow();
    if (window_) {
        const auto step = static_cast<WPARAM>(total ? (done >= total ? kBarSteps : done * kBarSteps / total) : 0);
        SendMessageW(window_->Control(Bar), PBM_SETPOS, step, 0);
        HandleMessages();
        if (window_ && window_->cancelled) cancelled_ = true;
    }
    return !cancelled_;
}

void Win32Progress::ShowWindowNow() {
    // The progress bar's class, which the start-up does not register: nothing of this runs there.
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_PROGRESS_CLASS};
    if (const auto init = SystemFunction<decltype(&InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx"))
        init(&icc);
    auto window = std::make_unique<ProgressWindow>();
    if (!window->Create(pictures_)) {
        Trace("The progress window could not be made");  // the task runs on without it
        windowFailed_ = true;
        return;
    }
    window->SetCaption(caption_);
    window->SetText(lText, text_);
    SendMessageW(window->Control(Bar), PBM_SETRANGE32, 0, kBarSteps);
    active_ = GetActiveWindow();
    window_ = std::move(window);
    EnumThreadWindows(GetCurrentThreadId(), &Win32Progress::MakeWait, reinterpret_cast<LPARAM>(this));
    window_->Show();
}

BOOL CALLBACK Win32Progress::MakeWait(HWND window, LPARAM self) {
    auto* progress = reinterpret_cast<Win32Progress*>(self);
    if (window != progress->window_->hwnd() && IsWindowVisible(window) && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        progress->disabled_.push_back(window);
    }
    return TRUE;
}

void Win32Progress::HandleMessages() {
    MSG msg;
    while (window_ && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // for the program's own loop, once the task is over
            cancelled_ = true;
            return;
        }
        if (IsDialogMessageW(window_->hwnd(), &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Win32Progress::End() {
    if (!window_) return;
    // The waiting windows first, so that Windows gives the activation back to one of ours.
    for (HWND w : disabled_)
        if (IsWindow(w)) EnableWindow(w, TRUE);
    disabled_.clear();
    if (active_ && IsWindow(active_)) SetForegroundWindow(active_);
    active_ = nullptr;
    window_.reset();
}
