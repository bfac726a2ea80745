#include "platform/win32/DesignedWindow.h"

#include <commctrl.h>
#include <windowsx.h>

#include "platform/Contrast.h"
#include "platform/MainWindowDesign.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Pictures.h"

namespace {

constexpr wchar_t kFormClass[] = L"OrvelundForm";
constexpr wchar_t kPictureBoxClass[] = L"OrvelundPictureBox";
constexpr int kFirstControlId = 1000;  // clear of IDOK and IDCANCEL

void RegisterClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASSEXW wc{sizeof(wc)};
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = kFormClass;
    wc.lpfnWndProc = DefWindowProcW;  // replaced per window, see Create
    RegisterClassExW(&wc);
    wc.lpszClassName = kPictureBoxClass;
    RegisterClassExW(&wc);
}

// The system DPI: what the system's metrics are given at, and every window's DPI on Windows
// before 8.1.
int ScreenDpi() {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

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

// The outer rectangle for a client rectangle, with the frame measured at the given DPI.
void AdjustForDpi(RECT& r, DWORD style, DWORD exStyle, int dpi) {
    static const auto adjust = SystemFunction<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>(
        L"user32.dll", "AdjustWindowRectExForDpi");
    if (!adjust || !adjust(&r, style, FALSE, exStyle, static_cast<UINT>(dpi))) AdjustWindowRectEx(&r, style, FALSE, exStyle);
}

}  // namespace

COLORREF ColorRef(std::int32_t color) {
    const auto c = static_cast<std::uint32_t>(color);
    if ((c & 0xFF000000u) == 0x80000000u) return GetSysColor(static_cast<int>(c & 0xFFu));
    return c & 0x00FFFFFFu;
}

DesignedWindow::DesignedWindow(const WindowDesign& design) : design_(design) {}

DesignedWindow::~DesignedWindow() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool DesignedWindow::Create(PictureService& pictures) {
    RegisterClasses();
    systemDpi_ = monitorDpi_ = dpi_ = ScreenDpi();
    clientHeightTwips_ = design_.clientHeight;
    const bool tool = design_.border == BorderStyle::FixedToolWindow;
    // No WS_CLIPCHILDREN: a frame (group box) paints only its border and caption, so the window
    // must paint the ground inside it.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_CONTROLPARENT | (tool ? WS_EX_TOOLWINDOW : WS_EX_DLGMODALFRAME);
    hwnd_ = CreateWindowExW(exStyle, kFormClass, Wide(design_.caption).c_str(), style, 0, 0, 0, 0, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) return false;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
    backColor_ = design_.backColor;

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

    toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                               hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    controls_.resize(design_.controls.size());
    for (size_t i = 0; i < design_.controls.size(); ++i) {
        const ControlDesign& c = design_.controls[i];
        ControlState& state = controls_[i];
        state.backColor = c.backColor.value_or(kWindowBackground);
        state.foreColor = c.foreColor.value_or(kWindowText);
        state.picture = pictures.BuiltIn(c.picture);
        state.caption = c.caption;
        state.accessibleName = c.accessibleName.empty() ? c.toolTip : c.accessibleName;
        state.hwnd = CreateControl(c, static_cast<ControlId>(i));
        if (!c.toolTip.empty()) AddToolTip(state.hwnd, c.toolTip);
    }
    if (design_.icon != BuiltInPicture::None) SetIcon(pictures.BuiltIn(design_.icon));
    InitKeyboardCues();
    return true;
}

SIZE DesignedWindow::OuterSize() const {
    RECT r{0, 0, Px(design_.clientWidth), Px(clientHeightTwips_)};
    AdjustForDpi(r, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)),
                 static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)), monitorDpi_);
    return {r.right - r.left, r.bottom - r.top};
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
    RECT frame{0, 0, 0, 0};
    AdjustForDpi(frame, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)),
                 static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)), monitorDpi_);
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
        RECT frame{0, 0, 0, 0};
        AdjustForDpi(frame, static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE)),
                     static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE)), monitorDpi_);
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
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.font)), FALSE);
    }
    OnDpiChanged();
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HWND DesignedWindow::CreateControl(const ControlDesign& c, ControlId id) {
    const wchar_t* cls = L"STATIC";
    DWORD style = WS_CHILD | (c.visible ? WS_VISIBLE : 0) | (c.enabled ? 0 : WS_DISABLED);
    DWORD exStyle = 0;
    switch (c.kind) {
    case ControlKind::PictureBox:
        cls = kPictureBoxClass;
        style |= (c.border ? WS_BORDER : 0) | (c.tabStop ? WS_TABSTOP : 0);
        break;
    case ControlKind::CommandButton:
        cls = L"BUTTON";
        style |= BS_OWNERDRAW | WS_TABSTOP;
        break;
    case ControlKind::Label:
        style |= c.centred ? SS_CENTER : SS_LEFT;
        style |= SS_NOPREFIX | SS_NOTIFY;  // a label can be clicked, as "Application Image" is
        break;
    case ControlKind::TextBox:
        cls = L"EDIT";
        style |= WS_TABSTOP | ES_AUTOHSCROLL | (c.centred ? ES_CENTER : 0);
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::ComboBox:
    case ControlKind::DriveList:
        cls = L"COMBOBOX";
        style |= WS_TABSTOP | WS_VSCROLL | (c.kind == ControlKind::ComboBox ? CBS_DROPDOWN : CBS_DROPDOWNLIST);
        break;
    case ControlKind::CheckBox:
        cls = L"BUTTON";
        style |= BS_AUTOCHECKBOX | WS_TABSTOP;
        break;
    case ControlKind::Frame:
        cls = L"BUTTON";
        style |= BS_GROUPBOX;
        break;
    case ControlKind::ListView:
        cls = WC_LISTVIEWW;
        style |= WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL | LVS_OWNERDATA;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case ControlKind::FolderList:
        cls = L"LISTBOX";
        style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    }
    const RECT r = ControlRect(c);
    HWND h = CreateWindowExW(exStyle, cls, Wide(WindowText(id)).c_str(), style, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + id)),
                             GetModuleHandleW(nullptr), nullptr);
    if (!h) return nullptr;
    if (c.kind == ControlKind::PictureBox) {
        SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PictureBoxProc));
    }
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.font)), FALSE);
    return h;
}

HFONT DesignedWindow::FontFor(const FontDesign& f) {
    const std::string key = f.face + "|" + std::to_string(f.points) + (f.bold ? "b" : "") + (f.italic ? "i" : "") +
                            (f.underline ? "u" : "");
    auto& font = fonts_[key];
    if (!font) {
        NONCLIENTMETRICSW ncm{sizeof(ncm)};
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
        LOGFONTW lf = ncm.lfMessageFont;  // the window's default font, given at the system DPI
        lf.lfHeight = MulDiv(lf.lfHeight, dpi_, systemDpi_);
        if (!f.face.empty()) {
            wcsncpy(lf.lfFaceName, Wide(f.face).c_str(), LF_FACESIZE - 1);
            lf.lfHeight = -static_cast<LONG>(f.points * dpi_ / 72.0 + 0.5);
            lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
            lf.lfItalic = f.italic;
            lf.lfUnderline = f.underline;
        }
        font.reset(CreateFontIndirectW(&lf));
    }
    return font.get();
}

void DesignedWindow::AddToolTip(HWND control, const std::string& text) {
    if (!toolTip_ || !control) return;
    static std::wstring keep;  // the tool tip copies the text; this only outlives the call
    keep = Wide(text);
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = keep.data();
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

ControlId DesignedWindow::IdOf(HWND control) const {
    for (size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i].hwnd == control) return static_cast<ControlId>(i);
    return -1;
}

HBRUSH DesignedWindow::BrushFor(ControlState& c) {
    if (!c.brush) c.brush.reset(CreateSolidBrush(ColorRef(c.backColor)));
    return c.brush.get();
}

// ---- Form ------------------------------------------------------------------------------------

std::string DesignedWindow::Caption() const {
    if (!hwnd_) return {};
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
    return Utf8(text);
}

void DesignedWindow::SetCaption(const std::string& text) { SetWindowTextW(hwnd_, Wide(text).c_str()); }

void DesignedWindow::SetIcon(const PicturePtr& icon) {
    HICON h = IconOf(icon);
    if (!h) return;  // only an icon can be a window's icon
    icon_ = icon;
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(h));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(h));
}

void DesignedWindow::SetBackColor(std::int32_t color) {
    backColor_ = color;
    backBrush_.reset();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void DesignedWindow::SetHeight(int twips) {
    const int height = twips - kMainFrameTop - kMainFrameEdge;
    if (height == clientHeightTwips_) return;  // a page turn in a full view
    clientHeightTwips_ = height;
    const PixelRect work = WorkArea();
    SizeToFit(work, nullptr);
    // Until it is first shown, the window stands centred on the height the menu gives it.
    if (!shown_) Place(work);
    else KeepInside(work);
}

void DesignedWindow::Show() {
    if (!hwnd_ || closed_) return;
    shown_ = true;
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

void DesignedWindow::Hide() { ShowWindow(hwnd_, SW_HIDE); }

void DesignedWindow::Close() {
    // Unloading is finished from the message loop, so that the handler that asked for it can
    // return through a window that still exists.
    if (closed_ || !hwnd_) return;
    closed_ = true;
    ShowWindow(hwnd_, SW_HIDE);
    PostMessageW(hwnd_, WM_CLOSE, 0, 0);
}

std::string DesignedWindow::Text(ControlId id) const {
    if (design_.controls[static_cast<size_t>(id)].kind == ControlKind::CommandButton)
        return controls_[static_cast<size_t>(id)].caption;
    HWND h = Control(id);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(h, text.data(), static_cast<int>(text.size()))));
    return Utf8(text);
}

void DesignedWindow::SetText(ControlId id, const std::string& text) {
    if (design_.controls[static_cast<size_t>(id)].kind == ControlKind::CommandButton) {
        controls_[static_cast<size_t>(id)].caption = text;
        UpdateWindowText(id);
        return;
    }
    HWND h = Control(id);
    SetWindowTextW(h, Wide(text).c_str());
    InvalidateRect(h, nullptr, TRUE);
}

void DesignedWindow::SetAccessibleName(ControlId id, const std::string& name) {
    std::string& now = controls_[static_cast<size_t>(id)].accessibleName;
    if (now == name) return;  // every page turn names the ten buttons again
    now = name;
    const ControlKind kind = design_.controls[static_cast<size_t>(id)].kind;
    if (kind == ControlKind::CommandButton || kind == ControlKind::PictureBox) UpdateWindowText(id);
}

std::string DesignedWindow::WindowText(ControlId id) const {
    const ControlState& c = controls_[static_cast<size_t>(id)];
    switch (design_.controls[static_cast<size_t>(id)].kind) {
    case ControlKind::CommandButton: return c.caption.empty() ? c.accessibleName : c.caption;
    case ControlKind::PictureBox: return c.accessibleName;  // it shows no text
    default: return design_.controls[static_cast<size_t>(id)].caption;  // others show their text as their name
    }
}

void DesignedWindow::UpdateWindowText(ControlId id) {
    HWND h = Control(id);
    SetWindowTextW(h, Wide(WindowText(id)).c_str());
    InvalidateRect(h, nullptr, TRUE);
}

void DesignedWindow::SetPicture(ControlId id, const PicturePtr& picture) {
    controls_[static_cast<size_t>(id)].picture = picture;
    InvalidateRect(Control(id), nullptr, TRUE);
}

void DesignedWindow::SetBackColor(ControlId id, std::int32_t color) {
    ControlState& c = controls_[static_cast<size_t>(id)];
    c.backColor = color;
    c.brush.reset();
    InvalidateRect(c.hwnd, nullptr, TRUE);
}

bool DesignedWindow::ControlVisible(ControlId id) const {
    return (GetWindowLongW(Control(id), GWL_STYLE) & WS_VISIBLE) != 0;
}

void DesignedWindow::SetVisible(ControlId id, bool visible) { ShowWindow(Control(id), visible ? SW_SHOW : SW_HIDE); }

bool DesignedWindow::Enabled(ControlId id) const { return IsWindowEnabled(Control(id)) != 0; }

void DesignedWindow::SetEnabled(ControlId id, bool enabled) { EnableWindow(Control(id), enabled); }

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
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box, &ps);
    const ControlId id = IdOf(box);
    if (id >= 0) {
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
    EndPaint(box, &ps);
}

// ---- messages --------------------------------------------------------------------------------

LRESULT CALLBACK DesignedWindow::PictureBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<DesignedWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    switch (msg) {
    case WM_PAINT:
        self->PaintPictureBox(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        const int buttons = (wp & MK_LBUTTON ? 1 : 0) | (wp & MK_RBUTTON ? 2 : 0) | (wp & MK_MBUTTON ? 4 : 0);
        self->OnMouseDown(self->IdOf(hwnd), buttons, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
        return 0;
    }
    case WM_LBUTTONUP:
        self->OnCommand(self->IdOf(hwnd), BN_CLICKED);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS;  // Enter and Space come here; Tab and Escape stay with the window
    case WM_KEYDOWN:
        if (wp == VK_RETURN || wp == VK_SPACE) {
            self->OnCommand(self->IdOf(hwnd), BN_CLICKED);
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(hwnd, nullptr, FALSE);  // the focus mark
        break;
    case WM_CONTEXTMENU:
        if (GET_X_LPARAM(lp) == -1 && GET_Y_LPARAM(lp) == -1) {  // from the keyboard
            self->OnContextMenuKey(self->IdOf(hwnd));
            return 0;
        }
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK DesignedWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<DesignedWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        self->hwnd_ = nullptr;
        self->closed_ = true;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (self->onDestroyed) self->onDestroyed();
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    return self->OnMessage(msg, wp, lp);
}

LRESULT DesignedWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (!lp && LOWORD(wp) == IDCANCEL) {
            OnEscape();  // the dialog manager's Escape
            return 0;
        }
        if (!lp && LOWORD(wp) == IDOK) {
            // Enter: the dialog manager asks for the default button; the focused button is pressed.
            const ControlId focused = IdOf(GetFocus());
            if (focused >= 0 && design_.controls[static_cast<size_t>(focused)].kind == ControlKind::CommandButton)
                OnCommand(focused, BN_CLICKED);
            return 0;
        }
        if (lp) {
            const ControlId id = static_cast<ControlId>(LOWORD(wp)) - kFirstControlId;
            if (id >= 0 && id < static_cast<ControlId>(controls_.size())) OnCommand(id, HIWORD(wp));
        }
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        const ControlId id = IdOf(header->hwndFrom);
        if (id >= 0) return OnNotify(id, header);
        break;
    }
    case WM_DRAWITEM:
        DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        return TRUE;
    case WM_CTLCOLORSTATIC: {
        const ControlId id = IdOf(reinterpret_cast<HWND>(lp));
        if (id < 0) break;
        ControlState& c = controls_[static_cast<size_t>(id)];
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, ReadableTextColor(ColorRef(c.foreColor), ColorRef(c.backColor)));
        SetBkColor(dc, ColorRef(c.backColor));
        return reinterpret_cast<LRESULT>(BrushFor(c));
    }
    case WM_ERASEBKGND: {
        if (!backBrush_) backBrush_.reset(CreateSolidBrush(ColorRef(backColor_)));
        RECT r;
        GetClientRect(hwnd_, &r);
        FillRect(reinterpret_cast<HDC>(wp), &r, backBrush_.get());
        return 1;
    }
    case WM_ACTIVATE: {
        if (LOWORD(wp) == WA_INACTIVE) break;
        OnActivate();
        const LRESULT result = DefWindowProcW(hwnd_, msg, wp, lp);
        // As in a dialog, the keyboard starts at the first control when the window itself has the focus.
        if (hwnd_ && !closed_ && !IsChild(hwnd_, GetFocus())) {
            if (HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE)) SetFocus(first);
        }
        return result;
    }
    case WM_DPICHANGED:
        // Moved to a monitor of another DPI, or the user changed the scale: everything is
        // mapped from twips again, not stretched.
        ChangeDpi(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_CHANGEUISTATE:  // Tab, an arrow key or Alt: the keyboard is in use
    case WM_UPDATEUISTATE:  // the system's own decision, such as after "initialise"
        return OnKeyboardCues(msg, wp, lp);
    case WM_DISPLAYCHANGE:  // another resolution: the window may fit at a larger scale, or no more
        Refit(true);
        break;
    case WM_SETTINGCHANGE:
        if (wp == SPI_SETWORKAREA) Refit(true);  // the taskbar moved or changed its size
        break;
    case WM_EXITSIZEMOVE:  // dragged onto a monitor of another size
        Refit(false);
        break;
    case WM_CLOSE:
        if (closed_) DestroyWindow(hwnd_);
        else OnCloseRequest();
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}
