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

}  // namespace e2e
