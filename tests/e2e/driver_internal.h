// What the driver's parts share: small owners, paths, remote memory and raw input. Only the
// driver's own .cpp files include this; the scenarios use driver.h.
#pragma once
#include "driver.h"

#include "agent.h"

#include <commctrl.h>
#include <oleacc.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <memory>
#include <sstream>

namespace e2e::internal {

struct HandleCloser {
    HANDLE h;
    ~HandleCloser() {
        if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

struct ScreenDc {
    HDC dc = GetDC(nullptr);
    ~ScreenDc() { ReleaseDC(nullptr, dc); }
};

inline std::wstring WidePath(const std::string& path) { return Widen(WinPathFromUnix(path)); }

inline std::wstring Lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

inline std::wstring FullPath(const std::wstring& path) {
    wchar_t buf[MAX_PATH * 2];
    DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 2, buf, nullptr);
    return (n > 0 && n < MAX_PATH * 2) ? std::wstring(buf, n) : path;
}

// Memory inside another process, for control messages whose parameters are
// pointers (list view items): Windows marshals none of those across processes.
class RemoteBuffer {
public:
    RemoteBuffer(DWORD pid, size_t size) : size_(size) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            address_ = static_cast<char*>(
                VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    explicit operator bool() const { return address_ != nullptr; }
    char* At(size_t offset = 0) const { return address_ + offset; }
    bool Write(const void* data, size_t n, size_t offset = 0) {
        SIZE_T done = 0;
        return offset + n <= size_ &&
               WriteProcessMemory(process_, address_ + offset, data, n, &done) && done == n;
    }
    bool Read(void* data, size_t n, size_t offset = 0) const {
        SIZE_T done = 0;
        return offset + n <= size_ &&
               ReadProcessMemory(process_, address_ + offset, data, n, &done) && done == n;
    }

private:
    HANDLE process_ = nullptr;
    char* address_ = nullptr;
    size_t size_;
};

inline POINT ToScreen(HWND hwnd, POINT client) {
    ClientToScreen(hwnd, &client);
    return client;
}

inline POINT CentreOf(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

inline INPUT MouseInput(DWORD flags, POINT screen = {}) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        // Normalised 0..65535 over the primary screen; rounding up makes
        // the system's conversion back land on exactly this pixel.
        const LONG w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        in.mi.dx = static_cast<LONG>((screen.x * 65536LL + w - 1) / w);
        in.mi.dy = static_cast<LONG>((screen.y * 65536LL + h - 1) / h);
    }
    return in;
}

// Two separate clicks at one place within the double-click time would be a
// double click (BN_DOUBLECLICKED for owner-drawn buttons, not BN_CLICKED), so
// a click waits as a person clicking twice on purpose would.
inline void KeepClicksApart(POINT screen) {
    static DWORD lastTick = 0;
    static POINT last{-100000, -100000};
    const DWORD elapsed = GetTickCount() - lastTick;
    const DWORD limit = GetDoubleClickTime();
    if (elapsed <= limit && std::abs(screen.x - last.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
        std::abs(screen.y - last.y) <= GetSystemMetrics(SM_CYDOUBLECLK))
        ::Sleep(limit - elapsed + 50);
    lastTick = GetTickCount();
    last = screen;
}

// Moves the mouse to a screen point and sends the button events there.
inline bool SendMouse(POINT screen, std::initializer_list<DWORD> buttons) {
    if (buttons.size() > 0) KeepClicksApart(screen);
    INPUT move = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screen);
    if (SendInput(1, &move, sizeof(INPUT)) != 1) return false;
    // The buttons go only once the pointer is there.
    WaitUntil([&] {
        POINT now{};
        GetCursorPos(&now);
        return now.x == screen.x && now.y == screen.y;
    }, 1000, 10);
    // Each button event carries the position too: under Wine the pointer can
    // snap back to where X last saw it between a button's down and up.
    std::vector<INPUT> inputs;
    for (DWORD b : buttons)
        inputs.push_back(MouseInput(b | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screen));
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    return sent == inputs.size();
}

// Moves the mouse to a point of hwnd and sends the given button events
// there, after checking that a person could see the point: the window under
// it must belong to the same top-level window.
inline bool MouseAt(HWND hwnd, POINT client, std::initializer_list<DWORD> buttons) {
    if (!IsWindow(hwnd) || !Activate(hwnd)) return false;
    const POINT screen = ToScreen(hwnd, client);
    auto visible = [&] {
        HWND hit = WindowFromPoint(screen);
        return hit && GetAncestor(hit, GA_ROOT) == GetAncestor(hwnd, GA_ROOT);
    };
    if (!visible()) {
        // Something small may cover the point, such as a tool tip left by the last click; a person
        // moving the mouse there makes it go away. Anything that stays is a real obstruction.
        SendMouse(screen, {});
        if (!WaitUntil(visible, 1500, 25)) return false;
    }
    return SendMouse(screen, buttons);
}

inline INPUT KeyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    switch (vk) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_HOME: case VK_END:
    case VK_PRIOR: case VK_NEXT: case VK_INSERT: case VK_DELETE: case VK_APPS:
        in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        break;
    }
    return in;
}

inline DWORD ThreadOf(HWND hwnd) { return GetWindowThreadProcessId(hwnd, nullptr); }

inline HWND FocusOf(HWND hwnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(ThreadOf(hwnd), &info) ? info.hwndFocus : nullptr;
}

inline std::string StripMenuText(std::string text) {
    const auto tab = text.find('\t');
    if (tab != std::string::npos) text.erase(tab);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') out += '&', ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

// Reports a fault of the test set-up through the handler OnDriverFault installed (driver.cpp).
void DriverFault(const std::string& message);

// Runs an export of e2e_agent.dll inside process pid on a copy of block, loading the agent there
// first if needed, and copies the block back (driver_input.cpp).
bool CallAgent(DWORD pid, const char* function, void* block, size_t size);

// Waits until the window is gone or hidden.
bool WaitClosed(HWND hwnd, int timeoutMs);

}  // namespace e2e::internal
