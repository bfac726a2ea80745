// The driver's strings, waiting and processes.
#include "driver_internal.h"

namespace e2e {

using namespace internal;

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

// ---------------------------------------------------------------- faults

namespace {
std::function<void(const std::string&)>& FaultHandler() {
    static std::function<void(const std::string&)> handler;
    return handler;
}
}  // namespace

void OnDriverFault(std::function<void(const std::string&)> handler) { FaultHandler() = std::move(handler); }

namespace internal {
void DriverFault(const std::string& message) {
    if (FaultHandler())
        FaultHandler()(message);
    else
        std::fprintf(stderr, "e2e driver: %s\n", message.c_str());
}
}  // namespace internal

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

namespace {

// Wine's Windows version for the programs started while this lives, put back afterwards.
class WineVersion {
public:
    explicit WineVersion(const wchar_t* version) {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                            nullptr, &key_, nullptr) != ERROR_SUCCESS)
            return;
        wchar_t old[64];
        DWORD size = sizeof(old), type = 0;
        had_ = RegQueryValueExW(key_, L"Version", nullptr, &type, reinterpret_cast<BYTE*>(old), &size) ==
                   ERROR_SUCCESS && type == REG_SZ;
        if (had_) old_.assign(old, size / sizeof(wchar_t) - (size >= sizeof(wchar_t) ? 1 : 0));
        ok_ = RegSetValueExW(key_, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                             static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    ~WineVersion() {
        if (!key_) return;
        if (had_)
            RegSetValueExW(key_, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(old_.c_str()),
                           static_cast<DWORD>((old_.size() + 1) * sizeof(wchar_t)));
        else
            RegDeleteValueW(key_, L"Version");
        RegCloseKey(key_);
    }
    WineVersion(const WineVersion&) = delete;
    WineVersion& operator=(const WineVersion&) = delete;
    bool ok() const { return ok_; }

private:
    HKEY key_ = nullptr;
    bool had_ = false, ok_ = false;
    std::wstring old_;
};

// Puts the Windows 7 stand-ins into a program whose first thread has not run yet.
bool ActAsWindows7(const PROCESS_INFORMATION& pi) {
    static WineVersion version(L"win7");
    if (!version.ok()) {
        DriverFault("cannot set Wine's Windows version to win7");
        return false;
    }
    agent::Windows7Block block{};
    if (!CallAgent(pi.dwProcessId, agent::kActAsWindows7, &block, sizeof(block))) {
        DriverFault("the Windows 7 stand-ins could not be put into the program (" +
                    std::to_string(block.patched) + " import slots rerouted)");
        return false;
    }
    if (block.major != 6 || block.minor != 1) {
        DriverFault("Wine tells the program it runs on Windows " + std::to_string(block.major) + "." +
                    std::to_string(block.minor) + ", not 6.1");
        return false;
    }
    return true;
}

}  // namespace

bool AsWindows7() {
    static const bool on = [] {
        const char* value = std::getenv("E2E_AS_WINDOWS7");
        return value && std::string(value) == "1";
    }();
    return on;
}

std::vector<std::string> RefusedAsWindows7(DWORD pid) {
    std::vector<std::string> names;
    auto block = std::make_unique<agent::RefusalBlock>();
    if (!CallAgent(pid, agent::kWindows7Refusals, block.get(), sizeof(*block))) return names;
    const char* p = block->names;
    for (int i = 0; i < block->count && p < block->names + block->used; ++i) {
        names.emplace_back(p);
        p += names.back().size() + 1;
    }
    return names;
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
    const bool asWindows7 = AsWindows7();
    // Now and then a new Wine process dies while Wine itself starts it ("could not load
    // kernel32.dll"), before any code of the program runs, and CreateProcess fails; a second
    // start then works. A start that cannot work (a path too long, say, which some scenarios
    // try on purpose) fails both, and the caller decides what that means.
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, asWindows7 ? CREATE_SUSPENDED : 0,
                           nullptr, dir.empty() ? nullptr : dir.c_str(), &si, &pi))
            break;
        std::fprintf(stderr, "e2e driver: CreateProcess of %s failed with error %lu%s\n", exePath.c_str(),
                     GetLastError(), attempt == 1 ? "; starting it once more" : ", twice");
        if (attempt == 2) return {};
    }
    if (asWindows7 && !ActAsWindows7(pi)) {
        TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return {};
    }
    if (asWindows7) ResumeThread(pi.hThread);
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

std::vector<std::string> ModulesOf(DWORD pid) {
    std::vector<std::string> paths;
    HandleCloser snap{CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid)};
    if (snap.h == INVALID_HANDLE_VALUE) return paths;
    MODULEENTRY32W me{};
    me.dwSize = sizeof(me);
    for (BOOL ok = Module32FirstW(snap.h, &me); ok; ok = Module32NextW(snap.h, &me))
        paths.push_back(Narrow(me.szExePath));
    return paths;
}

std::vector<std::string> SystemFolders() {
    std::vector<std::string> folders;
    wchar_t folder[MAX_PATH];
    UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n > 0 && n < MAX_PATH) folders.push_back(Narrow(std::wstring(folder, n)));
    // The folder 32-bit DLLs really live in on 64-bit Windows, which Wine may report instead.
    n = GetSystemWow64DirectoryW(folder, MAX_PATH);
    if (n > 0 && n < MAX_PATH) folders.push_back(Narrow(std::wstring(folder, n)));
    // Side-by-side assemblies such as the common controls 6 the manifest asks for.
    n = GetWindowsDirectoryW(folder, MAX_PATH);
    if (n > 0 && n < MAX_PATH) folders.push_back(Narrow(std::wstring(folder, n)) + "\\winsxs");
    return folders;
}

}  // namespace e2e
