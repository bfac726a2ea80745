// The window and its message routing: the window classes, creation, showing and closing, and the
// window procedures that turn messages into the events the window classes handle. The controls,
// placement and painting have files of their own (DesignedControls, DesignedPlacement,
// DesignedPainting).
#include "platform/win32/DesignedWindow.h"

#include <windowsx.h>

#include "platform/win32/Text.h"
#include "platform/win32/Trace.h"

namespace {

// Registered once; a class that failed to register shows up as the window that cannot be created.
void Register(const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW wc{sizeof(wc)};
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = name;
    wc.lpfnWndProc = proc;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) TraceLastError("RegisterClassExW");
}

// The window object comes with WM_NCCREATE, from CreateWindowExW's last argument; every later
// message finds it in the window's user data.
template <typename T>
T* Attached(HWND hwnd, UINT msg, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<T*>(reinterpret_cast<const CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        return self;
    }
    return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

}  // namespace

void DesignedWindow::RegisterClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    Register(kFormClass, &WindowProc);
    Register(kPictureBoxClass, &PictureBoxProc);
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
    systemDpi_ = monitorDpi_ = dpi_ = SystemDpi();
    clientHeightTwips_ = design_.clientHeight;
    backColor_ = design_.backColor;
    const bool tool = design_.border == BorderStyle::FixedToolWindow;
    // No WS_CLIPCHILDREN: a frame (group box) paints only its border and caption, so the window
    // must paint the ground inside it.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD exStyle = WS_EX_CONTROLPARENT | (tool ? WS_EX_TOOLWINDOW : WS_EX_DLGMODALFRAME);
    hwnd_ = CreateWindowExW(exStyle, kFormClass, Wide(design_.caption).c_str(), style, 0, 0, 0, 0, nullptr,
                            nullptr, GetModuleHandleW(nullptr), this);
    if (!hwnd_) {
        TraceLastError(("Creating the window " + design_.caption).c_str());
        return false;
    }
    PlaceAtStart();
    CreateControls(pictures);
    if (design_.icon != BuiltInPicture::None) SetIcon(pictures.BuiltIn(design_.icon));
    InitKeyboardCues();
    return true;
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

// ---- messages --------------------------------------------------------------------------------

LRESULT CALLBACK DesignedWindow::PictureBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    try {
        auto* self = Attached<DesignedWindow>(hwnd, msg, lp);
        if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
        return self->OnPictureBoxMessage(hwnd, msg, wp, lp);
    } catch (...) {
        TraceException("A picture box's message");
    }
    return 0;
}

LRESULT DesignedWindow::OnPictureBoxMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_PAINT:
        PaintPictureBox(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        const int buttons = (wp & MK_LBUTTON ? 1 : 0) | (wp & MK_RBUTTON ? 2 : 0) | (wp & MK_MBUTTON ? 4 : 0);
        OnMouseDown(IdOf(hwnd), buttons, static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
        return 0;
    }
    case WM_LBUTTONUP:
        OnCommand(IdOf(hwnd), BN_CLICKED);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS;  // Enter and Space come here; Tab and Escape stay with the window
    case WM_KEYDOWN:
        if (wp == VK_RETURN || wp == VK_SPACE) {
            OnCommand(IdOf(hwnd), BN_CLICKED);
            return 0;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(hwnd, nullptr, FALSE);  // the focus mark
        break;
    case WM_CONTEXTMENU:
        if (GET_X_LPARAM(lp) == -1 && GET_Y_LPARAM(lp) == -1) {  // from the keyboard
            OnContextMenuKey(IdOf(hwnd));
            return 0;
        }
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK DesignedWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    try {
        auto* self = Attached<DesignedWindow>(hwnd, msg, lp);
        if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
        if (msg == WM_NCCREATE) self->hwnd_ = hwnd;  // the messages of creation already use it
        if (msg == WM_NCDESTROY) {
            self->hwnd_ = nullptr;
            self->closed_ = true;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            if (self->onDestroyed) self->onDestroyed();
            return DefWindowProcW(hwnd, msg, wp, lp);
        }
        return self->OnMessage(msg, wp, lp);
    } catch (...) {
        TraceException("A window's message");
    }
    return 0;
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
            const ControlKind kind = focused >= 0 ? design_.controls[static_cast<size_t>(focused)].kind : ControlKind::Label;
            if (kind == ControlKind::CommandButton) OnCommand(focused, BN_CLICKED);
            else if (kind == ControlKind::ListView) OnListEnter(focused);
            return 0;
        }
        if (lp) {
            const ControlId id = static_cast<ControlId>(LOWORD(wp)) - kFirstControlId;
            if (id < 0 || id >= static_cast<ControlId>(controls_.size())) return 0;
            // Typed text may hold characters that the design's face lacks.
            if (HIWORD(wp) == EN_CHANGE && design_.controls[static_cast<size_t>(id)].kind == ControlKind::TextBox)
                FitFontToText(id);
            OnCommand(id, HIWORD(wp));
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
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
    case WM_ERASEBKGND:
        EraseBackground(reinterpret_cast<HDC>(wp));
        return 1;
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
