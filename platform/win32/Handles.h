#pragma once
// Small owners for Win32 handles and COM pointers: one owner each, copying deleted.
#include <windows.h>

#include <utility>

template <typename H, typename Closer>
class Owned {
public:
    Owned() = default;
    explicit Owned(H h) : h_(h) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, H{})) {}
    Owned& operator=(Owned&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, H{}));
        return *this;
    }
    ~Owned() { reset(); }
    void reset(H h = H{}) {
        if (h_ && h_ != reinterpret_cast<H>(-1)) Closer{}(h_);
        h_ = h;
    }
    H get() const { return h_; }
    explicit operator bool() const { return h_ && h_ != reinterpret_cast<H>(-1); }

private:
    H h_{};
};

struct CloseHandleCloser { void operator()(HANDLE h) const { CloseHandle(h); } };
struct DeleteObjectCloser { void operator()(HGDIOBJ h) const { DeleteObject(h); } };
struct DeleteDCCloser { void operator()(HDC h) const { DeleteDC(h); } };
struct DestroyIconCloser { void operator()(HICON h) const { DestroyIcon(h); } };
struct DestroyMenuCloser { void operator()(HMENU h) const { DestroyMenu(h); } };
struct FindCloseCloser { void operator()(HANDLE h) const { FindClose(h); } };

using FileHandle = Owned<HANDLE, CloseHandleCloser>;
using ProcessHandle = Owned<HANDLE, CloseHandleCloser>;  // OpenProcess's; null is none
using GdiFont = Owned<HFONT, DeleteObjectCloser>;
using GdiBrush = Owned<HBRUSH, DeleteObjectCloser>;
using GdiBitmap = Owned<HBITMAP, DeleteObjectCloser>;
using IconHandle = Owned<HICON, DestroyIconCloser>;
using MenuHandle = Owned<HMENU, DestroyMenuCloser>;
using FindHandle = Owned<HANDLE, FindCloseCloser>;  // FindFirstFile's; INVALID_HANDLE_VALUE is none
using MemoryDC = Owned<HDC, DeleteDCCloser>;        // CreateCompatibleDC's

// A window's device context (the screen's for no window), released when done.
class WindowDC {
public:
    explicit WindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() { if (dc_) ReleaseDC(hwnd_, dc_); }
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// WM_PAINT's device context, from BeginPaint to EndPaint.
class PaintDC {
public:
    explicit PaintDC(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { EndPaint(hwnd_, &ps_); }
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// An object selected into a device context; the one it replaced goes back in when done.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A COM interface pointer that releases itself.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { if (p_) p_->Release(); }
    T* operator->() const { return p_; }
    T* get() const { return p_; }
    T** put() { if (p_) p_->Release(); p_ = nullptr; return &p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};
