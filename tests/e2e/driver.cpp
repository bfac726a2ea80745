#include "driver.h"

#include "agent.h"

#include <commctrl.h>
#include <oleacc.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cwctype>
#include <memory>
#include <sstream>

namespace e2e {

namespace {

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

std::wstring WidePath(const std::string& path) { return Widen(WinPathFromUnix(path)); }

std::wstring Lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
    return s;
}

std::wstring FullPath(const std::wstring& path) {
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

POINT ToScreen(HWND hwnd, POINT client) {
    ClientToScreen(hwnd, &client);
    return client;
}

POINT CentreOf(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

INPUT MouseInput(DWORD flags, POINT screen = {}) {
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
void KeepClicksApart(POINT screen) {
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
bool SendMouse(POINT screen, std::initializer_list<DWORD> buttons) {
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
bool MouseAt(HWND hwnd, POINT client, std::initializer_list<DWORD> buttons) {
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

INPUT KeyInput(WORD vk, bool up) {
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

DWORD ThreadOf(HWND hwnd) { return GetWindowThreadProcessId(hwnd, nullptr); }

HWND FocusOf(HWND hwnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(ThreadOf(hwnd), &info) ? info.hwndFocus : nullptr;
}

std::string StripMenuText(std::string text) {
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

}  // namespace

// ---------------------------------------------------------------- strings

std::wstring Widen(const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}

std::string Narrow(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                        nullptr);
    return s;
}

std::string WinPathFromUnix(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string out = "Z:" + path;
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}

bool WaitUntil(const std::function<bool()>& pred, int timeoutMs, int pollMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (pred()) return true;
        if (std::chrono::steady_clock::now() >= end) return pred();
        ::Sleep(static_cast<DWORD>(pollMs));
    }
}

void Sleep(int ms) { ::Sleep(static_cast<DWORD>(ms)); }

// ---------------------------------------------------------------- processes

Process::Process(Process&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), id_(std::exchange(other.id_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
    if (this != &other) {
        Kill();
        if (handle_) CloseHandle(handle_);
        handle_ = std::exchange(other.handle_, nullptr);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

Process::~Process() {
    Kill();
    if (handle_) CloseHandle(handle_);
}

bool Process::Running() const {
    return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

bool Process::WaitForExit(int timeoutMs) {
    return handle_ && WaitForSingleObject(handle_, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
    DWORD code = static_cast<DWORD>(-1);
    if (handle_) GetExitCodeProcess(handle_, &code);
    return code;
}

void Process::Kill() {
    if (Running()) {
        TerminateProcess(handle_, 1);
        WaitForSingleObject(handle_, 5000);
    }
}

Process Start(const std::string& exePath, const std::string& args, const std::string& workDir) {
    const std::wstring exe = WidePath(exePath);
    std::wstring dir = WidePath(workDir);
    if (dir.empty()) {
        const auto slash = exe.find_last_of(L"\\/");
        if (slash != std::wstring::npos) dir = exe.substr(0, slash);
    }
    std::wstring cmd = L"\"" + exe + L"\"";
    if (!args.empty()) cmd += L" " + Widen(args);

    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        dir.empty() ? nullptr : dir.c_str(), &si, &pi))
        return {};
    CloseHandle(pi.hThread);
    return Process(pi.hProcess, pi.dwProcessId);
}

std::vector<DWORD> ProcessesOf(const std::string& exePath) {
    const std::wstring wanted = Lower(FullPath(WidePath(exePath)));
    std::vector<DWORD> ids;
    HandleCloser snap{CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)};
    if (snap.h == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32W pe{};
    pe.dwSize = sizeof(pe);
    for (BOOL ok = Process32FirstW(snap.h, &pe); ok; ok = Process32NextW(snap.h, &pe)) {
        HandleCloser p{OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pe.th32ProcessID)};
        if (!p.h) continue;
        wchar_t image[MAX_PATH * 2];
        DWORD n = MAX_PATH * 2;
        if (QueryFullProcessImageNameW(p.h, 0, image, &n) &&
            Lower(FullPath(std::wstring(image, n))) == wanted)
            ids.push_back(pe.th32ProcessID);
    }
    return ids;
}

DWORD WaitForProcessOf(const std::string& exePath, int timeoutMs, const std::vector<DWORD>& except) {
    DWORD found = 0;
    WaitUntil([&] {
        for (DWORD id : ProcessesOf(exePath))
            if (std::find(except.begin(), except.end(), id) == except.end()) {
                found = id;
                return true;
            }
        return false;
    }, timeoutMs, 50);
    return found;
}

int KillAll(const std::string& exePath) {
    int killed = 0;
    for (DWORD id : ProcessesOf(exePath)) {
        HandleCloser p{OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)};
        if (p.h && TerminateProcess(p.h, 1)) {
            WaitForSingleObject(p.h, 5000);
            ++killed;
        }
    }
    return killed;
}

bool WaitForNoProcessOf(const std::string& exePath, int timeoutMs) {
    return WaitUntil([&] { return ProcessesOf(exePath).empty(); }, timeoutMs, 50);
}

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

// ---------------------------------------------------------------- input

bool Click(HWND hwnd) { return ClickAt(hwnd, CentreOf(hwnd)); }

bool ClickAt(HWND hwnd, POINT client) {
    return MouseAt(hwnd, client, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

bool DoubleClickAt(HWND hwnd, POINT client) {
    return MouseAt(hwnd, client, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN,
                                  MOUSEEVENTF_LEFTUP});
}

bool RightClick(HWND hwnd) { return RightClickAt(hwnd, CentreOf(hwnd)); }

bool RightClickAt(HWND hwnd, POINT client) {
    return MouseAt(hwnd, client, {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
}

void PressButton(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void PressKey(WORD vk, unsigned modifiers) {
    std::vector<INPUT> in;
    const std::pair<unsigned, WORD> mods[] = {{kShift, VK_SHIFT}, {kCtrl, VK_CONTROL}, {kAlt, VK_MENU}};
    for (auto [bit, key] : mods)
        if (modifiers & bit) in.push_back(KeyInput(key, false));
    in.push_back(KeyInput(vk, false));
    in.push_back(KeyInput(vk, true));
    for (auto it = std::rbegin(mods); it != std::rend(mods); ++it)
        if (modifiers & it->first) in.push_back(KeyInput(it->second, true));
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void TypeChars(const std::string& text) {
    for (wchar_t ch : Widen(text)) {
        INPUT in[2]{};
        for (int i = 0; i < 2; ++i) {
            in[i].type = INPUT_KEYBOARD;
            in[i].ki.wScan = ch;
            in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, in, sizeof(INPUT));
    }
}

bool FocusControl(HWND control) {
    if (!Activate(control)) return false;
    if (FocusOf(control) == control) return true;
    // SetFocus only works for windows of the calling thread's input queue,
    // so borrow the control's queue for a moment.
    const DWORD self = GetCurrentThreadId(), target = ThreadOf(control);
    AttachThreadInput(self, target, TRUE);
    SetFocus(control);
    AttachThreadInput(self, target, FALSE);
    return WaitUntil([&] { return FocusOf(control) == control; }, 2000);
}

// Typed keys are queued input: wait until the control shows them all, so that the next step
// cannot move the focus while some are still on their way (they would land elsewhere).
bool ShowsTyped(HWND edit, const std::string& before, const std::string& typed) {
    return WaitUntil([&] { return TextOf(edit) == before + typed; }, 3000);
}

bool TypeText(HWND edit, const std::string& text) {
    if (!FocusControl(edit)) return false;
    const std::string before = TextOf(edit);
    PressKey(VK_END, kCtrl);
    TypeChars(text);
    return ShowsTyped(edit, before, text);
}

bool ReplaceEditText(HWND edit, const std::string& text) {
    if (!FocusControl(edit)) return false;
    PressKey(VK_HOME, kCtrl);
    PressKey(VK_END, kCtrl | kShift);
    TypeChars(text);
    return ShowsTyped(edit, "", text);
}

// ---------------------------------------------------------------- agent

namespace {

std::wstring AgentPath() {
    wchar_t buf[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableW(L"E2E_AGENT_DLL", buf, MAX_PATH * 2);
    if (n > 0 && n < MAX_PATH * 2) return WidePath(Narrow(buf));
    n = GetModuleFileNameW(nullptr, buf, MAX_PATH * 2);
    std::wstring path(buf, n);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"e2e_agent.dll";
}

uintptr_t RemoteModule(DWORD pid, const std::wstring& fileName) {
    HandleCloser snap{CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid)};
    if (snap.h == INVALID_HANDLE_VALUE) return 0;
    MODULEENTRY32W me{};
    me.dwSize = sizeof(me);
    for (BOOL ok = Module32FirstW(snap.h, &me); ok; ok = Module32NextW(snap.h, &me))
        if (Lower(me.szModule) == Lower(fileName)) return reinterpret_cast<uintptr_t>(me.modBaseAddr);
    return 0;
}

bool RunRemoteThread(HANDLE process, uintptr_t start, void* arg) {
    HandleCloser thread{CreateRemoteThread(process, nullptr, 0,
                                           reinterpret_cast<LPTHREAD_START_ROUTINE>(start), arg, 0,
                                           nullptr)};
    DWORD code = 0;
    return thread.h && WaitForSingleObject(thread.h, 5000) == WAIT_OBJECT_0 &&
           GetExitCodeThread(thread.h, &code) && code != 0;
}

// Runs an export of e2e_agent.dll inside process pid on a copy of block,
// loading the agent there first if needed, and copies the block back.
bool CallAgent(DWORD pid, const char* function, void* block, size_t size) {
    const std::wstring path = AgentPath();
    static HMODULE local = LoadLibraryW(path.c_str());
    if (!local) return false;
    const uintptr_t offset =
        reinterpret_cast<uintptr_t>(GetProcAddress(local, function)) - reinterpret_cast<uintptr_t>(local);
    const std::wstring fileName = path.substr(path.find_last_of(L"\\/") + 1);

    HandleCloser process{OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION |
                                     PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                     SYNCHRONIZE, FALSE, pid)};
    if (!process.h) return false;
    uintptr_t base = RemoteModule(pid, fileName);
    if (!base) {
        // kernel32 sits at the same address in every process.
        const auto loadLibrary = reinterpret_cast<uintptr_t>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW"));
        const size_t bytes = (path.size() + 1) * sizeof(wchar_t);
        RemoteBuffer remotePath(pid, bytes);
        if (!remotePath || !remotePath.Write(path.c_str(), bytes) ||
            !RunRemoteThread(process.h, loadLibrary, remotePath.At()))
            return false;
        base = RemoteModule(pid, fileName);
        if (!base) return false;
    }
    RemoteBuffer remote(pid, size);
    return remote && remote.Write(block, size) &&
           RunRemoteThread(process.h, base + offset, remote.At()) && remote.Read(block, size);
}

Icon IdentifyIcon(HWND owner, HICON icon) {
    if (!icon) return Icon::None;
    agent::IconBlock block{icon, 0};
    if (!CallAgent(ProcessOf(owner), agent::kIdentifyIcon, &block, sizeof(block))) return Icon::Unknown;
    switch (block.which) {  // the IDI_* resource numbers
    case 32516: return Icon::Information;  // IDI_ASTERISK
    case 32515: return Icon::Exclamation;  // IDI_EXCLAMATION
    case 32513: return Icon::Critical;     // IDI_HAND
    case 32514: return Icon::Question;     // IDI_QUESTION
    default: return Icon::Unknown;
    }
}

constexpr int kMessageTextId = 0xFFFF;  // the message's static in Windows' and Wine's box

bool WaitClosed(HWND hwnd, int timeoutMs) {
    return WaitUntil([&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }, timeoutMs);
}

}  // namespace

// ---------------------------------------------------------------- message boxes

const char* IconName(Icon icon) {
    switch (icon) {
    case Icon::None: return "none";
    case Icon::Information: return "information";
    case Icon::Exclamation: return "exclamation";
    case Icon::Critical: return "critical";
    case Icon::Question: return "question";
    default: return "unknown";
    }
}

std::vector<std::string> MessageBoxInfo::ButtonCaptions() const {
    std::vector<std::string> out;
    for (const auto& b : buttons) out.push_back(StripMenuText(b.second));
    return out;
}

// A message box holds nothing but its message (one static with id 0xFFFF),
// perhaps an icon, and buttons with the standard ids; any other dialog, even
// one whose labels use id -1 (0xFFFF) too, fails one of these.
MessageBoxInfo ReadMessageBox(HWND dialog) {
    MessageBoxInfo box;
    int texts = 0;
    HICON icon = nullptr;
    std::vector<std::pair<LONG, std::pair<int, std::string>>> buttons;
    for (const auto& c : Controls(dialog)) {
        if (!c.visible) continue;
        if (c.className == "Static" && c.id == kMessageTextId) {
            box.text = c.text;
            ++texts;
        } else if (c.className == "Static" && (c.style & SS_TYPEMASK) == SS_ICON) {
            icon = reinterpret_cast<HICON>(c.image);
        } else if (c.className == "Button" && c.id >= IDOK && c.id <= IDCONTINUE) {
            buttons.push_back({c.rect.left, {c.id, c.text}});
        } else {
            return {};
        }
    }
    if (texts != 1 || buttons.empty()) return {};
    std::sort(buttons.begin(), buttons.end());
    for (auto& b : buttons) box.buttons.push_back(b.second);
    box.hwnd = dialog;
    box.title = TextOf(dialog);
    box.icon = IdentifyIcon(dialog, icon);
    return box;
}

MessageBoxInfo WaitForMessageBox(int timeoutMs, DWORD pid) {
    MessageBoxInfo box;
    // A box can be seen while Wine is still filling it in (on a cold, busy start its title, text
    // and button captions read empty for a moment): only a box whose buttons are labelled counts.
    auto complete = [](const MessageBoxInfo& b) {
        if (!b || b.buttons.empty() || (b.title.empty() && b.text.empty())) return false;
        for (const auto& button : b.buttons)
            if (button.second.empty()) return false;
        return true;
    };
    WaitUntil([&] {
        for (HWND h : TopLevelWindows(pid))
            if (ClassOf(h) == "#32770" && complete(box = ReadMessageBox(h))) return true;
        box = MessageBoxInfo{};
        return false;
    }, timeoutMs, 50);
    return box;
}

bool Answer(const MessageBoxInfo& box, int buttonId) {
    for (const auto& c : Controls(box.hwnd))
        if (c.className == "Button" && c.id == buttonId && c.visible)
            return Click(c.hwnd) && WaitClosed(box.hwnd, 3000);
    return false;
}

bool CloseBox(const MessageBoxInfo& box) {
    if (!IsWindow(box.hwnd)) return false;
    PostMessageW(box.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    return WaitClosed(box.hwnd, 3000);
}

// ---------------------------------------------------------------- pop-up menus

std::vector<std::string> PopupMenu::Texts() const {
    std::vector<std::string> out;
    for (const auto& item : items)
        if (!item.separator) out.push_back(StripMenuText(item.text));
    return out;
}

namespace {

HWND VisiblePopupMenu() {
    for (HWND h : TopLevelWindows())
        if (ClassOf(h) == "#32768") return h;
    return nullptr;
}

struct ReadMenu {
    PopupMenu menu;
    std::vector<RECT> rects;
};

ReadMenu ReadPopup(HWND window) {
    ReadMenu out;
    DWORD_PTR handle = 0;
    if (!SendMessageTimeoutW(window, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, 2000, &handle) || !handle)
        return out;
    auto block = std::make_unique<agent::MenuBlock>();
    block->menu = reinterpret_cast<HMENU>(handle);
    block->window = window;
    if (!CallAgent(ProcessOf(window), agent::kReadMenu, block.get(), sizeof(*block))) return out;
    out.menu.hwnd = window;
    for (int i = 0; i < block->count; ++i) {
        const agent::MenuItem& src = block->items[i];
        MenuItem item;
        item.text = Narrow(src.text);
        item.separator = (src.type & MFT_SEPARATOR) != 0;
        item.enabled = (src.state & MFS_DISABLED) == 0;
        item.checked = (src.state & MFS_CHECKED) != 0;
        item.id = src.id;
        out.menu.items.push_back(item);
        out.rects.push_back(src.rect);
    }
    return out;
}

}  // namespace

PopupMenu WaitForPopupMenu(int timeoutMs) {
    PopupMenu menu;
    WaitUntil([&] {
        HWND h = VisiblePopupMenu();
        return h && (menu = ReadPopup(h).menu);
    }, timeoutMs, 50);
    return menu;
}

bool ChooseMenuItem(const PopupMenu& menu, const std::string& text) {
    if (!IsWindow(menu.hwnd)) return false;
    // Read again: the rectangles are only known while the menu shows.
    const ReadMenu now = ReadPopup(menu.hwnd);
    for (size_t i = 0; i < now.menu.items.size(); ++i) {
        const MenuItem& item = now.menu.items[i];
        if (item.separator || !item.enabled || StripMenuText(item.text) != text) continue;
        const RECT& r = now.rects[i];
        if (!SendMouse({(r.left + r.right) / 2, (r.top + r.bottom) / 2},
                       {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}))
            return false;
        return WaitClosed(menu.hwnd, 3000);
    }
    return false;
}

bool DismissMenus(int timeoutMs) {
    return WaitUntil([] {
        if (!VisiblePopupMenu()) return true;
        PressKey(VK_ESCAPE);
        return false;
    }, timeoutMs, 100);
}

// ---------------------------------------------------------------- list views

namespace {

RECT ItemRect(HWND list, int row, int code) {
    RECT r{code, 0, 0, 0};
    RemoteBuffer remote(ProcessOf(list), sizeof(RECT));
    if (!remote || !remote.Write(&r, sizeof(r))) return {};
    if (!SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote.At())) ||
        !remote.Read(&r, sizeof(r)))
        return {};
    return r;
}

POINT CentreOfRow(HWND list, int row) {
    SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
    const RECT r = ItemRect(list, row, LVIR_LABEL);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace

int ListRowCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

std::vector<std::string> ListColumns(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int count = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    constexpr int kChars = 512;
    RemoteBuffer remote(ProcessOf(list), sizeof(LVCOLUMNW) + kChars * sizeof(wchar_t));
    std::vector<std::string> out;
    for (int i = 0; remote && i < count; ++i) {
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT;
        col.pszText = reinterpret_cast<LPWSTR>(remote.At(sizeof(LVCOLUMNW)));
        col.cchTextMax = kChars;
        wchar_t text[kChars] = {};
        remote.Write(&col, sizeof(col));
        remote.Write(text, sizeof(wchar_t), sizeof(LVCOLUMNW));
        SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(remote.At()));
        remote.Read(text, sizeof(text), sizeof(LVCOLUMNW));
        text[kChars - 1] = 0;
        out.push_back(Narrow(text));
    }
    return out;
}

std::string ListCell(HWND list, int row, int column) {
    constexpr int kChars = 1024;
    RemoteBuffer remote(ProcessOf(list), sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    if (!remote) return {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<LPWSTR>(remote.At(sizeof(LVITEMW)));
    item.cchTextMax = kChars;
    remote.Write(&item, sizeof(item));
    const auto len = SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote.At()));
    std::wstring text(static_cast<size_t>(std::clamp<LRESULT>(len, 0, kChars - 1)), L'\0');
    if (!text.empty()) remote.Read(text.data(), text.size() * sizeof(wchar_t), sizeof(LVITEMW));
    return Narrow(text);
}

std::vector<std::vector<std::string>> ListRows(HWND list) {
    const int rows = ListRowCount(list);
    const size_t columns = std::max<size_t>(1, ListColumns(list).size());
    std::vector<std::vector<std::string>> out(rows);
    for (int r = 0; r < rows; ++r)
        for (size_t c = 0; c < columns; ++c) out[r].push_back(ListCell(list, r, static_cast<int>(c)));
    return out;
}

int ListSelectedRow(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool ListSelectRow(HWND list, int row) {
    if (row < 0 || row >= ListRowCount(list)) return false;
    return ClickAt(list, CentreOfRow(list, row)) &&
           WaitUntil([&] { return ListSelectedRow(list) == row; }, 2000);
}

bool ListDoubleClickRow(HWND list, int row) {
    if (row < 0 || row >= ListRowCount(list)) return false;
    return DoubleClickAt(list, CentreOfRow(list, row));
}

RECT ListRowRect(HWND list, int row) { return ItemRect(list, row, LVIR_BOUNDS); }

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

// ---------------------------------------------------------------- files

std::string JoinPath(const std::string& folder, const std::string& name) {
    std::string f = WinPathFromUnix(folder);
    if (!f.empty() && f.back() != '\\' && f.back() != '/') f += '\\';
    return f + name;
}

bool FileExists(const std::string& path) {
    const DWORD a = GetFileAttributesW(WidePath(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    const DWORD a = GetFileAttributesW(WidePath(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

bool DeleteTreeW(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) return true;
    if (a & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(path.c_str(), a & ~FILE_ATTRIBUTE_READONLY);
    if (!(a & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileW(path.c_str()) != FALSE;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name != L"." && name != L"..") DeleteTreeW(path + L"\\" + name);
        } while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    return RemoveDirectoryW(path.c_str()) != FALSE;
}

}  // namespace

bool DeleteTree(const std::string& path) { return DeleteTreeW(WidePath(path)); }

std::string MakeTestFolder(const std::string& name) {
    wchar_t temp[MAX_PATH];
    const DWORD n = GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp, n) + L"orvelund-e2e";
    const std::wstring folder = root + L"\\" + Widen(name);
    DeleteTreeW(folder);
    CreateDirectoryW(root.c_str(), nullptr);
    if (!CreateDirectoryW(folder.c_str(), nullptr)) return {};
    return Narrow(folder);
}

bool CopyFileTo(const std::string& from, const std::string& to) {
    return CopyFileW(WidePath(from).c_str(), WidePath(to).c_str(), FALSE) != FALSE;
}

std::optional<std::string> ReadFileBytes(const std::string& path) {
    HandleCloser f{CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (f.h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string data;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(f.h, buf, sizeof(buf), &got, nullptr) && got > 0) data.append(buf, got);
    return data;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    HandleCloser f{CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (f.h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    return WriteFile(f.h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// ---------------------------------------------------------------- shell recorder

namespace {

std::string g_recorderLog;

bool SetRegString(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
    HKEY h = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG rc = RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(h);
    return rc == ERROR_SUCCESS;
}

}  // namespace

// Wine 8's ShellExecute reads HKEY_CLASSES_ROOT, which is
// HKLM\Software\Classes there; it ignores HKCU\Software\Classes. Folders
// go through the "Folder" class only ("Directory" and "Drive" are written for
// completeness), and a "ddeexec" key under a verb makes it try DDE first and
// return 30 even though the command ran, so those keys go.
bool InstallRecorder(const std::string& recorderExe) {
    const std::wstring exe = FullPath(WidePath(recorderExe));
    if (GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    const std::wstring classes = L"Software\\Classes\\";
    const wchar_t* kProgId = L"OrvelundE2E.Document";
    bool ok = true;
    for (const wchar_t* cls : {L"http", L"https", kProgId, L"Folder", L"Directory", L"Drive"}) {
        for (const wchar_t* verb : {L"open", L"explore", L"edit", L"print"}) {
            const std::wstring key = classes + cls + L"\\shell\\" + verb;
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, (key + L"\\ddeexec").c_str());
            ok &= SetRegString(HKEY_LOCAL_MACHINE, key + L"\\command", nullptr,
                               L"\"" + exe + L"\" \"" + verb + L"\" \"%1\"");
        }
    }
    for (const wchar_t* scheme : {L"http", L"https"})
        ok &= SetRegString(HKEY_LOCAL_MACHINE, classes + scheme, L"URL Protocol", L"");
    for (const wchar_t* ext : {L".htm", L".html", L".jpg", L".jpeg"})
        ok &= SetRegString(HKEY_LOCAL_MACHINE, classes + ext, nullptr, kProgId);
    // Wine cannot open "\" (the current drive's root): it runs whatever the
    // unnamed "App Paths" entry names, with no arguments. Point that at the
    // recorder too, which then records ("", "").
    ok &= SetRegString(HKEY_LOCAL_MACHINE,
                       L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths", nullptr, exe);

    g_recorderLog = Narrow(exe.substr(0, exe.find_last_of(L"\\/") + 1)) + "recorder.log";
    ClearRecorder();
    return ok;
}

std::vector<std::pair<std::string, std::string>> RecordedCalls() {
    std::vector<std::pair<std::string, std::string>> calls;
    const auto data = ReadFileBytes(g_recorderLog);
    if (!data) return calls;
    std::istringstream lines(*data);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto tab = line.find('\t');
        if (tab != std::string::npos) calls.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return calls;
}

std::vector<std::pair<std::string, std::string>> WaitForRecordedCalls(size_t count, int timeoutMs) {
    std::vector<std::pair<std::string, std::string>> calls;
    WaitUntil([&] { return (calls = RecordedCalls()).size() >= count; }, timeoutMs, 50);
    return calls;
}

void ClearRecorder() { DeleteFileW(Widen(g_recorderLog).c_str()); }

}  // namespace e2e
