// The controls: each made from its design with its font and tool tip, and the Form operations
// that read and change them.
#include "platform/win32/DesignedWindow.h"

#include <commctrl.h>

#include <vector>

#include "platform/win32/Text.h"
#include "platform/win32/Trace.h"
#include "platform/win32/Win32Pictures.h"

void DesignedWindow::CreateControls(PictureService& pictures) {
    toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                               hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!toolTip_) TraceLastError("Creating the tool tips");
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
        style |= WS_TABSTOP | (c.centred ? ES_CENTER : 0) | (c.readOnly ? ES_READONLY : 0) |
                 (c.multiline ? ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL);
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
    case ControlKind::ProgressBar:
        cls = PROGRESS_CLASSW;
        break;
    }
    const RECT r = ControlRect(c);
    HWND h = CreateWindowExW(exStyle, cls, Wide(WindowText(id)).c_str(), style, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(Win32ControlId(id))),
                             GetModuleHandleW(nullptr), c.kind == ControlKind::PictureBox ? this : nullptr);
    if (!h) {
        TraceLastError(("Creating the control " + c.name).c_str());
        return nullptr;
    }
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontShowing(c.font, Wide(WindowText(id)))), FALSE);
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

namespace {

// Whether the face of `font` itself has a glyph for every character of `text` that is drawn at all.
// It asks the font (GetGlyphIndicesW), not a table of scripts: a bitmap face covers what its code
// page holds, which differs from one Windows to the next.
bool HasGlyphsFor(HFONT font, const std::wstring& text) {
    if (text.empty()) return true;
    HDC dc = GetDC(nullptr);
    if (!dc) return true;  // cannot tell: the design's font stays
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    std::vector<WORD> glyphs(text.size());
    const DWORD found = GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                                         GGI_MARK_NONEXISTING_GLYPHS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    if (found == GDI_ERROR) {
        Trace("GetGlyphIndicesW failed; the design's font stays");
        return true;
    }
    // A missing glyph reads 0xFFFF; bitmap faces have given 0x1F for it too (Windows XP).
    const bool bitmap = (metrics.tmPitchAndFamily & TMPF_TRUETYPE) == 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] < L' ') continue;  // line breaks and tabs are never drawn as glyphs
        if (glyphs[i] == 0xFFFF || (bitmap && glyphs[i] == 0x1F)) return false;
    }
    return true;
}

}  // namespace

HFONT DesignedWindow::FontShowing(const FontDesign& font, const std::wstring& text) {
    HFONT own = FontFor(font);
    if (font.twin.empty() || HasGlyphsFor(own, text)) return own;
    FontDesign twin = font;
    twin.face = font.twin;
    twin.twin.clear();
    return FontFor(twin);
}

void DesignedWindow::FitFontToText(ControlId id) {
    const ControlDesign& c = design_.controls[static_cast<size_t>(id)];
    HWND h = Control(id);
    if (c.font.twin.empty() || !h) return;
    HFONT font = FontShowing(c.font, Wide(Text(id)));
    if (reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)) != font)
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
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
    if (!SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti))) Trace("Adding a tool tip failed");
}

ControlId DesignedWindow::IdOf(HWND control) const {
    for (size_t i = 0; i < controls_.size(); ++i)
        if (controls_[i].hwnd == control) return static_cast<ControlId>(i);
    return -1;
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
    FitFontToText(id);
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

bool DesignedWindow::ControlVisible(ControlId id) const {
    return (GetWindowLongW(Control(id), GWL_STYLE) & WS_VISIBLE) != 0;
}

void DesignedWindow::SetVisible(ControlId id, bool visible) { ShowWindow(Control(id), visible ? SW_SHOW : SW_HIDE); }

bool DesignedWindow::Enabled(ControlId id) const { return IsWindowEnabled(Control(id)) != 0; }

void DesignedWindow::SetEnabled(ControlId id, bool enabled) { EnableWindow(Control(id), enabled); }
