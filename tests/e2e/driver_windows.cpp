// The driver's windows and controls as seen from outside, and the screen.
#include "driver_internal.h"

namespace e2e {

using namespace internal;

// ---------------------------------------------------------------- windows

std::string TextOf(HWND hwnd) {
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len))
        return {};
    std::wstring buf(len + 1, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()),
                             SMTO_ABORTIFHUNG, 2000, &got))
        return {};
    buf.resize(std::min<size_t>(got, len));
    return Narrow(buf);
}

std::string ClassOf(HWND hwnd) {
    wchar_t buf[256];
    int n = GetClassNameW(hwnd, buf, 256);
    return Narrow(std::wstring(buf, n > 0 ? n : 0));
}

DWORD ProcessOf(HWND hwnd) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return pid;
}

std::vector<HWND> TopLevelWindows(DWORD pid) {
    struct Ctx { DWORD pid; std::vector<HWND> out; } ctx{pid, {}};
    // A lambda has no WINAPI calling convention, which the 32-bit callback needs.
    struct Each {
        static BOOL CALLBACK Window(HWND h, LPARAM lp) {
            auto* c = reinterpret_cast<Ctx*>(lp);
            if (IsWindowVisible(h) && (!c->pid || ProcessOf(h) == c->pid)) c->out.push_back(h);
            return TRUE;
        }
    };
    EnumWindows(&Each::Window, reinterpret_cast<LPARAM>(&ctx));
    return ctx.out;
}

HWND FindWindowByCaption(const std::string& caption, DWORD pid, const std::string& className) {
    for (HWND h : TopLevelWindows(pid))
        if (TextOf(h) == caption && (className.empty() || ClassOf(h) == className)) return h;
    return nullptr;
}

HWND WaitForWindow(const std::string& caption, int timeoutMs, DWORD pid, const std::string& className) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowByCaption(caption, pid, className)) != nullptr; },
              timeoutMs, 50);
    return found;
}

bool WaitForNoWindow(const std::string& caption, int timeoutMs, DWORD pid) {
    return WaitUntil([&] { return FindWindowByCaption(caption, pid) == nullptr; }, timeoutMs, 50);
}

Control Describe(HWND h) {
    Control c;
    c.hwnd = h;
    c.parent = GetParent(h);
    c.className = ClassOf(h);
    c.text = TextOf(h);
    c.id = GetDlgCtrlID(h);
    c.style = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_STYLE));
    c.exStyle = static_cast<DWORD>(GetWindowLongPtrW(h, GWL_EXSTYLE));
    c.visible = IsWindowVisible(h) != FALSE;
    c.ownVisible = (c.style & WS_VISIBLE) != 0;
    c.enabled = IsWindowEnabled(h) != FALSE;
    GetWindowRect(h, &c.screenRect);
    c.rect = c.screenRect;
    MapWindowPoints(nullptr, c.parent, reinterpret_cast<POINT*>(&c.rect), 2);

    const std::string cls = Lower(Widen(c.className)) == L"button" ? "button"
                          : Lower(Widen(c.className)) == L"static" ? "static" : "";
    DWORD_PTR img = 0;
    if (cls == "button") {
        SendMessageTimeoutW(h, BM_GETIMAGE, IMAGE_BITMAP, 0, SMTO_ABORTIFHUNG, 2000, &img);
        if (!img) SendMessageTimeoutW(h, BM_GETIMAGE, IMAGE_ICON, 0, SMTO_ABORTIFHUNG, 2000, &img);
    } else if (cls == "static") {
        const DWORD type = c.style & SS_TYPEMASK;
        if (type == SS_ICON)
            SendMessageTimeoutW(h, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &img);
        else
            SendMessageTimeoutW(h, STM_GETIMAGE, type == SS_ENHMETAFILE ? IMAGE_ENHMETAFILE : IMAGE_BITMAP,
                                0, SMTO_ABORTIFHUNG, 2000, &img);
    }
    c.image = img;
    return c;
}

std::vector<Control> Controls(HWND window) {
    std::vector<HWND> handles;
    struct Each {
        static BOOL CALLBACK Child(HWND h, LPARAM lp) {
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
            return TRUE;
        }
    };
    EnumChildWindows(window, &Each::Child, reinterpret_cast<LPARAM>(&handles));
    std::vector<Control> out;
    out.reserve(handles.size());
    for (HWND h : handles) out.push_back(Describe(h));
    return out;
}

HWND FindControl(HWND window, int id) {
    for (const auto& c : Controls(window))
        if (c.id == id) return c.hwnd;
    return nullptr;
}

HWND FindControlByText(HWND window, const std::string& text, const std::string& className) {
    for (const auto& c : Controls(window))
        if (c.text == text && (className.empty() || c.className == className)) return c.hwnd;
    return nullptr;
}

SIZE ClientSize(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

RECT ScreenRectOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

int ScreenDpi() {
    ScreenDc screen;
    return GetDeviceCaps(screen.dc, LOGPIXELSX);
}

AccessibleInfo Accessible(HWND hwnd) {
    AccessibleInfo info;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // once per thread; later calls only count
    IAccessible* acc = nullptr;
    // __uuidof: mingw's oleacc import library resolves IID_IAccessible to a thunk, not the GUID.
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&acc))) || !acc)
        return info;
    info.ok = true;
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (acc->get_accName(self, &name) == S_OK && name) info.name = Narrow(name);
    SysFreeString(name);
    acc->Release();
    return info;
}

bool Activate(HWND hwnd) {
    HWND top = GetAncestor(hwnd, GA_ROOT);
    if (!top) return false;
    // A window disabled by its own modal box cannot come forward; the box can.
    HWND popup = GetLastActivePopup(top);
    if (popup && popup != top && IsWindowVisible(popup) && !IsWindowEnabled(top)) top = popup;
    if (GetForegroundWindow() == top) return true;
    return WaitUntil([&] {
        if (GetForegroundWindow() == top) return true;
        SetForegroundWindow(top);
        return false;
    }, 2000, 25);
}

// ---------------------------------------------------------------- screen

COLORREF PixelAt(HWND hwnd, POINT client) {
    const POINT p = ToScreen(hwnd, client);
    ScreenDc screen;
    return GetPixel(screen.dc, p.x, p.y);
}

bool SendDpiChanged(HWND window, int dpi, int fromDpi) {
    RECT r{};
    if (!GetWindowRect(window, &r)) return false;
    agent::DpiBlock block{window, static_cast<UINT>(dpi),
                          {r.left, r.top, r.left + MulDiv(r.right - r.left, dpi, fromDpi),
                           r.top + MulDiv(r.bottom - r.top, dpi, fromDpi)}};
    return CallAgent(ProcessOf(window), agent::kChangeDpi, &block, sizeof(block));
}

long FontHeightOf(HWND control) {
    agent::FontBlock block{control, 0};
    return CallAgent(ProcessOf(control), agent::kReadFont, &block, sizeof(block)) ? block.height : 0;
}

TextExtent MeasureText(HWND control, int wrapWidth) {
    auto block = std::make_unique<agent::TextBlock>();
    block->control = control;
    block->wrapWidth = wrapWidth;
    TextExtent out;
    out.text = TextOf(control);
    lstrcpynW(block->text, Widen(out.text).c_str(), 512);
    if (!CallAgent(ProcessOf(control), agent::kMeasureText, block.get(), sizeof(*block))) return out;
    block->face[LF_FACESIZE - 1] = 0;
    out.ok = true;
    out.face = Narrow(block->face);
    out.line = block->line;
    out.wrapped = block->wrapped;
    return out;
}

namespace {

GlyphCheck CallCheckGlyphs(HWND hwnd, bool caption, const std::string& text) {
    auto block = std::make_unique<agent::GlyphBlock>();
    block->control = hwnd;
    block->caption = caption;
    lstrcpynW(block->text, Widen(text).c_str(), 512);
    GlyphCheck out;
    if (!CallAgent(ProcessOf(hwnd), agent::kCheckGlyphs, block.get(), sizeof(*block))) return out;
    block->face[LF_FULLFACESIZE - 1] = block->linkedFaces[255] = block->missingChars[31] = 0;
    out.ok = true;
    out.face = Narrow(block->face);
    out.checked = block->checked;
    out.linked = block->linked;
    out.linkedFaces = Narrow(block->linkedFaces);
    out.missing = block->missing;
    out.missingChars = Narrow(block->missingChars);
    return out;
}

}  // namespace

GlyphCheck CheckGlyphs(HWND control, const std::string& text) { return CallCheckGlyphs(control, false, text); }

GlyphCheck CheckCaptionGlyphs(HWND window) { return CallCheckGlyphs(window, true, TextOf(window)); }

bool SaveScreenshot(const std::string& bmpPath, HWND window) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (window) {
        RECT r{};
        if (!GetWindowRect(window, &r) || !IntersectRect(&area, &area, &r)) return false;
    }
    const int w = area.right - area.left, h = area.bottom - area.top;
    ScreenDc screen;
    BITMAPINFOHEADER bih{};
    bih.biSize = sizeof(bih);
    bih.biWidth = w;
    bih.biHeight = h;  // bottom-up, as BMP files store rows
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(screen.dc, reinterpret_cast<BITMAPINFO*>(&bih), DIB_RGB_COLORS,
                                   &bits, nullptr, 0);
    if (!bmp) return false;
    HDC mem = CreateCompatibleDC(screen.dc);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen.dc, area.left, area.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((w * 3 + 3) / 4) * 4;
    bih.biSizeImage = stride * h;
    BITMAPFILEHEADER bfh{};
    bfh.bfType = 0x4D42;  // "BM"
    bfh.bfOffBits = sizeof(bfh) + sizeof(bih);
    bfh.bfSize = bfh.bfOffBits + bih.biSizeImage;
    std::string data(reinterpret_cast<const char*>(&bfh), sizeof(bfh));
    data.append(reinterpret_cast<const char*>(&bih), sizeof(bih));
    data.append(static_cast<const char*>(bits), bih.biSizeImage);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
    return WriteFileBytes(bmpPath, data);
}

}  // namespace e2e
