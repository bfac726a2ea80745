// The driver's files and the shell recorder.
#include "driver_internal.h"

namespace e2e {

using namespace internal;

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
    for (const wchar_t* ext : {L".htm", L".html", L".jpg", L".jpeg", L".pdf", L".iso"})
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

// ---------------------------------------------------------------- drops and slow media

bool DropFiles(HWND window, POINT client, const std::vector<std::string>& paths) {
    auto block = std::make_unique<agent::DropBlock>();
    block->window = window;
    block->at = client;
    size_t used = 0;
    for (const auto& path : paths) {
        const std::wstring wide = WidePath(path);
        if (used + wide.size() + 2 > sizeof(block->paths) / sizeof(wchar_t)) return false;
        std::copy(wide.begin(), wide.end(), block->paths + used);
        used += wide.size() + 1;  // the block came zeroed: each path ends in a NUL, the list in two
    }
    return CallAgent(ProcessOf(window), agent::kDropFiles, block.get(), sizeof(*block));
}

bool DropFilesOn(HWND control, const std::vector<std::string>& paths) {
    return DropFilesOn(control, CentreOf(control), paths);
}

bool DropFilesOn(HWND control, POINT client, const std::vector<std::string>& paths) {
    HWND root = GetAncestor(control, GA_ROOT);
    MapWindowPoints(control, root, &client, 1);
    return DropFiles(root, client, paths);
}

bool SlowReads(DWORD pid, DWORD delayMs) {
    agent::SlowReadBlock block{delayMs, 0};
    return CallAgent(pid, agent::kSlowReads, &block, sizeof(block)) && block.patched > 0;
}

}  // namespace e2e
