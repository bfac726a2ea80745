// DPI, fitting and placement: the window's layout DPI is the monitor's, or less where the
// window would not fit on the screen at the monitor's; every size is mapped from twips again.
#include "platform/win32/DesignedWindow.h"

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Text.h"

namespace {

// The DPI of the monitor the window is on (Windows 10 and later), else the system DPI.
int WindowDpi(HWND hwnd, int fallback) {
    static const auto getDpi = SystemFunction<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
    const UINT dpi = getDpi ? getDpi(hwnd) : 0;
    return dpi ? static_cast<int>(dpi) : fallback;
}

// The monitor holding the rectangle, or else the window.
MONITORINFO MonitorOf(HWND hwnd, const RECT* r) {
    HMONITOR monitor = r ? MonitorFromRect(r, MONITOR_DEFAULTTONEAREST) : MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{sizeof(info)};
    if (!GetMonitorInfoW(monitor, &info)) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
        info.rcMonitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return info;
}

// What the window's frame adds around its client area, measured at `dpi` where the system can
// (Windows 10 and later): negative left and top, positive right and bottom.
RECT FrameAt(HWND hwnd, int dpi) {
    static const auto adjust = SystemFunction<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>(
        L"user32.dll", "AdjustWindowRectExForDpi");
    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
    RECT frame{0, 0, 0, 0};
    if (!adjust || !adjust(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return frame;
}

}  // namespace

// The system DPI: what the system's metrics are given at, and every window's DPI on Windows
// before 8.1.
int DesignedWindow::SystemDpi() {
    WindowDC screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : 96;
}

void DesignedWindow::PlaceAtStart() {
    // A window opened from another of the program's windows opens on that one's monitor.
    if (HWND from = GetActiveWindow()) {
        RECT r;
        GetWindowRect(from, &r);
        SetWindowPos(hwnd_, nullptr, r.left, r.top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Placed at the system DPI first; the monitor it lands on may have another.
    for (int pass = 0; pass < 2; ++pass) {
        const int sizedAt = monitorDpi_;
        const PixelRect work = WorkArea();
        SizeToFit(work, nullptr);
        Place(work);
        monitorDpi_ = WindowDpi(hwnd_, monitorDpi_);
        if (monitorDpi_ == sizedAt) break;
    }
}

SIZE DesignedWindow::OuterSize() const {
    const RECT frame = FrameAt(hwnd_, monitorDpi_);
    return {Px(design_.clientWidth) + frame.right - frame.left, Px(clientHeightTwips_) + frame.bottom - frame.top};
}

RECT DesignedWindow::ControlRect(const ControlDesign& c) const {
    // A control inside a frame is a child of the window, placed by the frame's corner, so that
    // its messages reach the window like every other control's.
    const ControlDesign* frame = c.parent >= 0 ? &design_.controls[static_cast<size_t>(c.parent)] : nullptr;
    const int left = c.left + (frame ? frame->left : 0), top = c.top + (frame ? frame->top : 0);
    return {Px(left), Px(top), Px(left) + Px(c.width), Px(top) + Px(c.height)};
}

void DesignedWindow::FitToClientArea(const POINT* at) {
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (at ? 0 : SWP_NOMOVE);
    const SIZE size = OuterSize();
    SetWindowPos(hwnd_, nullptr, at ? at->x : 0, at ? at->y : 0, size.cx, size.cy, flags);
    // Where the frame drawn differs from the one computed for the DPI (a system that scales only
    // the client area), the difference is made up so that the client area is exact.
    RECT client;
    GetClientRect(hwnd_, &client);
    const int dx = Px(design_.clientWidth) - client.right, dy = Px(clientHeightTwips_) - client.bottom;
    if (dx || dy)
        SetWindowPos(hwnd_, nullptr, 0, 0, size.cx + dx, size.cy + dy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void DesignedWindow::ChangeDpi(int dpi, const RECT* suggested) {
    if (dpi <= 0) return;
    monitorDpi_ = dpi;
    if (controls_.empty()) return;  // moved while Create places it: Create sizes it for this DPI
    // The suggested rectangle tells the monitor the window is moving to.
    const PixelRect work = WorkArea(suggested);
    const POINT at = suggested ? POINT{suggested->left, suggested->top} : POINT{};
    SizeToFit(work, suggested ? &at : nullptr);
    KeepInside(work);
}

PixelRect DesignedWindow::WorkArea(const RECT* r) const {
    const RECT w = MonitorOf(hwnd_, r).rcWork;
    return {w.left, w.top, w.right, w.bottom};
}

void DesignedWindow::SizeToFit(const PixelRect& work, const POINT* at) {
    const RECT frame = FrameAt(hwnd_, monitorDpi_);
    const int layoutDpi = FittingDpi(monitorDpi_, design_.clientWidth, clientHeightTwips_,
                                     {frame.right - frame.left, frame.bottom - frame.top}, work);
    if (layoutDpi != dpi_) LayOut(layoutDpi);
    FitToClientArea(at);
    // A system that scales only the client area draws another frame than the one computed for
    // the DPI; measured, it may call for a smaller layout still.
    RECT outer, client;
    GetWindowRect(hwnd_, &outer);
    GetClientRect(hwnd_, &client);
    const PixelPoint drawn{(outer.right - outer.left) - client.right, (outer.bottom - outer.top) - client.bottom};
    const int smaller = FittingDpi(monitorDpi_, design_.clientWidth, clientHeightTwips_, drawn, work);
    if (smaller < dpi_) {
        LayOut(smaller);
        FitToClientArea(at);
    }
}

void DesignedWindow::Place(const PixelRect& work) {
    RECT r;
    GetWindowRect(hwnd_, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    PixelPoint at = CentredIn(work, width, height);
    if (!design_.centred) {
        // The design's place is the client area's, from the corner of the screen.
        const RECT frame = FrameAt(hwnd_, monitorDpi_);
        const RECT screen = MonitorOf(hwnd_, nullptr).rcMonitor;
        at = KeptInside(work, {screen.left + Px(design_.left) + frame.left, screen.top + Px(design_.top) + frame.top},
                        width, height);
    }
    SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void DesignedWindow::KeepInside(const PixelRect& work) {
    RECT r;
    GetWindowRect(hwnd_, &r);
    const PixelPoint at = KeptInside(work, {r.left, r.top}, r.right - r.left, r.bottom - r.top);
    if (at.x != r.left || at.y != r.top)
        SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void DesignedWindow::Refit(bool keepInside) {
    const PixelRect work = WorkArea();
    const int before = dpi_;
    SizeToFit(work, nullptr);
    const bool changed = dpi_ != before;
    if (!shown_) Place(work);
    else if (changed || keepInside) KeepInside(work);
}

void DesignedWindow::LayOut(int layoutDpi) {
    dpi_ = layoutDpi;
    if (controls_.empty()) return;  // Create makes them at this DPI
    // The old fonts stay alive until every control has its new one.
    std::map<std::string, GdiFont> oldFonts;
    oldFonts.swap(fonts_);
    for (size_t i = 0; i < controls_.size(); ++i) {
        const ControlDesign& c = design_.controls[i];
        HWND h = controls_[i].hwnd;
        if (!h) continue;
        const RECT r = ControlRect(c);
        SetWindowPos(h, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontShowing(c.font, Wide(Text(static_cast<ControlId>(i))))),
                     FALSE);
    }
    SizeColumns();
    OnDpiChanged();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void DesignedWindow::SetHeight(int twips) {
    const int height = twips - design_.heightFrame.top - design_.heightFrame.edge;
    if (height == clientHeightTwips_) return;  // a page turn in a full view
    clientHeightTwips_ = height;
    const PixelRect work = WorkArea();
    SizeToFit(work, nullptr);
    // Until it is first shown, the window stands centred on the height the menu gives it.
    if (!shown_) Place(work);
    else KeepInside(work);
}
