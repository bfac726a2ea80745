// The driver's mouse and keyboard input, and the agent it loads into the program.
#include "driver_internal.h"

namespace e2e {

using namespace internal;

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

}  // namespace

namespace internal {

// Runs an export of e2e_agent.dll inside process pid on a copy of block,
// loading the agent there first if needed, and copies the block back. A
// missing agent or export is reported as a driver fault (see OnDriverFault),
// and no thread is ever started at an address that was not found.
bool CallAgent(DWORD pid, const char* function, void* block, size_t size) {
    const std::wstring path = AgentPath();
    static HMODULE local = LoadLibraryW(path.c_str());
    if (!local) {
        DriverFault("the test agent " + Narrow(path) + " cannot be loaded (error " +
                    std::to_string(GetLastError()) + ")");
        return false;
    }
    const auto exported = reinterpret_cast<uintptr_t>(GetProcAddress(local, function));
    if (!exported) {
        DriverFault("the test agent " + Narrow(path) + " has no export named " + function +
                    " (a 32-bit build must export it undecorated; see agent.def)");
        return false;
    }
    const uintptr_t offset = exported - reinterpret_cast<uintptr_t>(local);
    const std::wstring fileName = path.substr(path.find_last_of(L"\\/") + 1);

    HandleCloser process{OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION |
                                     PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                     SYNCHRONIZE, FALSE, pid)};
    if (!process.h) return false;
    uintptr_t base = RemoteModule(pid, fileName);
    if (!base) {
        // kernel32 sits at the same address in every process of one bitness.
        const auto loadLibrary = reinterpret_cast<uintptr_t>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW"));
        if (!loadLibrary) {
            DriverFault("kernel32.dll has no LoadLibraryW here");
            return false;
        }
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

bool WaitClosed(HWND hwnd, int timeoutMs) {
    return WaitUntil([&] { return !IsWindow(hwnd) || !IsWindowVisible(hwnd); }, timeoutMs);
}

}  // namespace internal

}  // namespace e2e
