// Painting: the window's ground, owner-drawn command buttons, picture boxes, label colours and
// the focus frames, which wait for the keyboard.
#include "platform/win32/DesignedWindow.h"

#include "common/Contrast.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Pictures.h"

COLORREF ColorRef(std::int32_t color) {
    return PaintedColor(color, [](int index) { return static_cast<std::uint32_t>(GetSysColor(index)); });
}

HBRUSH DesignedWindow::BrushFor(ControlState& c) {
    if (!c.brush) c.brush.reset(CreateSolidBrush(ColorRef(c.backColor)));
    return c.brush.get();
}

void DesignedWindow::SetBackColor(std::int32_t color) {
    backColor_ = color;
    backBrush_.reset();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void DesignedWindow::SetBackColor(ControlId id, std::int32_t color) {
    ControlState& c = controls_[static_cast<size_t>(id)];
    c.backColor = color;
    c.brush.reset();
    InvalidateRect(c.hwnd, nullptr, TRUE);
}

LRESULT DesignedWindow::OnCtlColorStatic(HDC dc, HWND control) {
    const ControlId id = IdOf(control);
    if (id < 0) return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    ControlState& c = controls_[static_cast<size_t>(id)];
    SetTextColor(dc, ReadableTextColor(ColorRef(c.foreColor), ColorRef(c.backColor)));
    SetBkColor(dc, ColorRef(c.backColor));
    return reinterpret_cast<LRESULT>(BrushFor(c));
}

void DesignedWindow::EraseBackground(HDC dc) {
    if (!backBrush_) backBrush_.reset(CreateSolidBrush(ColorRef(backColor_)));
    RECT r;
    GetClientRect(hwnd_, &r);
    FillRect(dc, &r, backBrush_.get());
}

// ---- keyboard cues ---------------------------------------------------------------------------

void DesignedWindow::InitKeyboardCues() {
    // As a dialog starts: focus frames stay hidden until the keyboard is used, unless it was the
    // keyboard that opened the window or the user wants them always.
    BOOL always = FALSE;
    SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &always, 0);
    if (always) return;
    SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    // Windows keeps the state per window and decides "initialise" by the last input. Where the
    // system keeps none (Wine), the window keeps its own: hidden until Tab, an arrow key or Alt.
    systemKeepsCues_ = (SendMessageW(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
    if (systemKeepsCues_) SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
    else hiddenCues_ = UISF_HIDEFOCUS | UISF_HIDEACCEL;
}

WORD DesignedWindow::HiddenCues(HWND control) const {
    if (systemKeepsCues_) return static_cast<WORD>(SendMessageW(control, WM_QUERYUISTATE, 0, 0));
    return hiddenCues_;
}

LRESULT DesignedWindow::OnKeyboardCues(UINT msg, WPARAM wp, LPARAM lp) {
    const WORD before = HiddenCues(hwnd_);
    if (!systemKeepsCues_) {
        const WORD flags = HIWORD(wp) & (UISF_HIDEFOCUS | UISF_HIDEACCEL);
        if (LOWORD(wp) == UIS_SET) hiddenCues_ |= flags;
        else if (LOWORD(wp) == UIS_CLEAR) hiddenCues_ &= static_cast<WORD>(~flags);
    }
    const LRESULT result = DefWindowProcW(hwnd_, msg, wp, lp);
    if (HiddenCues(hwnd_) != before) {
        for (size_t i = 0; i < controls_.size(); ++i) {
            const ControlKind kind = design_.controls[i].kind;
            if (kind == ControlKind::PictureBox || kind == ControlKind::CommandButton)
                InvalidateRect(controls_[i].hwnd, nullptr, FALSE);
        }
    }
    return result;
}

// ---- drawing ---------------------------------------------------------------------------------

void DesignedWindow::DrawButton(const DRAWITEMSTRUCT& d) {
    const ControlId id = IdOf(d.hwndItem);
    if (id < 0) return;
    ControlState& c = controls_[static_cast<size_t>(id)];
    RECT r = d.rcItem;
    FillRect(d.hDC, &r, BrushFor(c));
    const bool pressed = (d.itemState & ODS_SELECTED) != 0;
    const int shift = pressed ? 1 : 0;
    if (auto* picture = dynamic_cast<const Win32Picture*>(c.picture.get())) {
        // A picture sits in the middle of the button, as on a graphical button.
        picture->Draw(d.hDC, (r.right - picture->ScaledWidth(dpi_)) / 2 + shift,
                      (r.bottom - picture->ScaledHeight(dpi_)) / 2 + shift, dpi_);
    }
    const std::wstring text = Wide(c.caption);
    if (!text.empty()) {
        SetBkMode(d.hDC, TRANSPARENT);
        // The scheme's button text, unless it is lost on the button's own colour.
        const COLORREF scheme = GetSysColor((d.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
        SetTextColor(d.hDC, ReadableTextColor(scheme, ColorRef(c.backColor)));
        RECT t = r;
        OffsetRect(&t, shift, shift);
        DrawTextW(d.hDC, text.c_str(), static_cast<int>(text.size()), &t,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    DrawEdge(d.hDC, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    if ((d.itemState & ODS_FOCUS) && !(d.itemState & ODS_NOFOCUSRECT) && !(HiddenCues(d.hwndItem) & UISF_HIDEFOCUS)) {
        RECT f = r;
        InflateRect(&f, -3, -3);
        DrawFocusRect(d.hDC, &f);
    }
}

void DesignedWindow::PaintPictureBox(HWND box) {
    PaintDC paint(box);
    HDC dc = paint.get();
    const ControlId id = IdOf(box);
    if (id < 0) return;
    ControlState& c = controls_[static_cast<size_t>(id)];
    RECT r;
    GetClientRect(box, &r);
    FillRect(dc, &r, BrushFor(c));
    if (auto* picture = dynamic_cast<const Win32Picture*>(c.picture.get())) picture->Draw(dc, 0, 0, dpi_);
    // The focus frame only once the keyboard is in use, as the system's own controls do it.
    if (GetFocus() == box && !(HiddenCues(box) & UISF_HIDEFOCUS)) {
        RECT f = r;
        InflateRect(&f, -1, -1);
        DrawFocusRect(dc, &f);
    }
}
