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
struct DestroyIconCloser { void operator()(HICON h) const { DestroyIcon(h); } };
struct DestroyMenuCloser { void operator()(HMENU h) const { DestroyMenu(h); } };

using FileHandle = Owned<HANDLE, CloseHandleCloser>;
using GdiFont = Owned<HFONT, DeleteObjectCloser>;
using GdiBrush = Owned<HBRUSH, DeleteObjectCloser>;
using GdiBitmap = Owned<HBITMAP, DeleteObjectCloser>;
using IconHandle = Owned<HICON, DestroyIconCloser>;
using MenuHandle = Owned<HMENU, DestroyMenuCloser>;

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
