#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>

#include "common/TextLines.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Text.h"

namespace {

DWORD Attributes(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()); }

// A temporary name in the same folder as `path`, so that the final rename stays on one volume.
std::wstring TemporaryNameFor(const std::wstring& path) {
    return path + L".~" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
}

// Temporary files left beside `target` by a writer that was killed before it could swap its file
// in or delete it. Each carries its writer's process id; one whose process is gone is removed, one
// whose process still runs (another instance saving this moment) is left alone.
void RemoveLeftovers(const std::wstring& target) {
    const auto slash = target.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
    WIN32_FIND_DATAW found;
    const FindHandle search(FindFirstFileW((target + L".~*.tmp").c_str(), &found));
    if (!search) return;
    const std::wstring prefix = target.substr(slash == std::wstring::npos ? 0 : slash + 1) + L".~";
    do {
        const std::wstring name = found.cFileName;
        if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::wstring digits = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        if (digits.empty() || digits.find_first_not_of(L"0123456789") != std::wstring::npos || digits.size() > 10)
            continue;
        // Counted by hand: a ten-digit name beyond 32 bits is no process of ours, and std::stoul
        // would throw out of the save for it.
        unsigned long long number = 0;
        for (const wchar_t d : digits) number = number * 10 + static_cast<unsigned>(d - L'0');
        if (number > 0xFFFFFFFFull) continue;
        const DWORD pid = static_cast<DWORD>(number);
        if (pid == GetCurrentProcessId()) continue;
        const ProcessHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
        const bool running = process && WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
        if (!running) DeleteFileW((folder + name).c_str());
    } while (FindNextFileW(search.get(), &found));
}

bool IsReadOnly(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

// Moves a finished temporary file over `target` in one step. A rename that replaces is one step
// on Windows and on Wine alike; ReplaceFileW is not: Wine's removes the old file before the new one
// takes its name, and a kill in between left no menu file at all.
bool SwapIn(const std::wstring& temp, const std::wstring& target) {
    return MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// Same volume and same file index: two names for one file.
bool SameFile(const std::wstring& a, const std::wstring& b) {
    auto open = [](const std::wstring& p) {
        return FileHandle(CreateFileW(p.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    };
    FileHandle ha = open(a), hb = open(b);
    BY_HANDLE_FILE_INFORMATION ia{}, ib{};
    if (!ha || !hb || !GetFileInformationByHandle(ha.get(), &ia) || !GetFileInformationByHandle(hb.get(), &ib))
        return false;
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber && ia.nFileIndexHigh == ib.nFileIndexHigh &&
           ia.nFileIndexLow == ib.nFileIndexLow;
}

}  // namespace

bool WriteFileAtomic(const std::string& path, const std::string& bytes) {
    const std::wstring target = Wide(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    RemoveLeftovers(target);
    const std::wstring temp = TemporaryNameFor(target);
    bool written = false;
    {
        FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        DWORD done = 0;
        written = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                  done == bytes.size() && FlushFileBuffers(file.get());
    }
    if (written && SwapIn(temp, target)) return true;
    DeleteFileW(temp.c_str());
    return false;
}

namespace {

// What a failed write says to an author.
std::string WriteFailure(DWORD error) {
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return "the disk is full";
    case ERROR_ACCESS_DENIED: return "the folder cannot be written to, or a read-only file of that name is there";
    case ERROR_WRITE_PROTECT: return "the disk is write-protected";
    case ERROR_PATH_NOT_FOUND: return "the folder does not exist";
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_INVALID_NAME: return "the disk cannot hold a file of that name";
    default: return "Windows error " + std::to_string(error);
    }
}

class Win32FileWriter : public FileWriter {
public:
    Win32FileWriter(std::wstring target, std::wstring temp, FileHandle file)
        : target_(std::move(target)), temp_(std::move(temp)), file_(std::move(file)) {}
    ~Win32FileWriter() override {
        if (committed_) return;
        file_.reset();
        DeleteFileW(temp_.c_str());
    }
    bool Write(const char* data, std::size_t size) override {
        while (size > 0) {
            const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
            DWORD done = 0;
            if (!WriteFile(file_.get(), data, piece, &done, nullptr) || done != piece) return Failed();
            data += piece, size -= piece;
        }
        return true;
    }
    bool Commit() override {
        if (!FlushFileBuffers(file_.get())) return Failed();
        file_.reset();
        if (!SwapIn(temp_, target_)) return Failed();
        committed_ = true;
        return true;
    }
    std::string Failure() const override { return failure_; }

private:
    bool Failed() {
        failure_ = WriteFailure(GetLastError());
        return false;
    }
    std::wstring target_, temp_;
    FileHandle file_;
    std::string failure_;
    bool committed_ = false;
};

}  // namespace

std::unique_ptr<FileWriter> Win32FileSystem::BeginFile(const std::string& path, std::string& why) {
    const std::wstring target = Wide(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        why = attributes & FILE_ATTRIBUTE_DIRECTORY ? "a folder of that name is there" : "a read-only file of that name is there";
        return nullptr;
    }
    const std::wstring temp = TemporaryNameFor(target);
    FileHandle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        why = WriteFailure(GetLastError());
        return nullptr;
    }
    return std::make_unique<Win32FileWriter>(target, temp, std::move(file));
}

bool Win32FileSystem::FileExists(const std::string& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::FolderExists(const std::string& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::CreateFolder(const std::string& path) {
    return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0;
}

std::optional<std::vector<std::string>> Win32FileSystem::ReadLines(const std::string& path, std::size_t skip,
                                                                   std::size_t count) {
    FileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return std::nullopt;
    static thread_local std::string buffer(64 * 1024, '\0');
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return std::nullopt;
    std::size_t mark = 0;
    const TextEncoding encoding = DetectEncoding(buffer.data(), got, mark);

    if (encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE) {
        // Rare enough to read whole: then it is plain UTF-8 text.
        std::string all(buffer.data() + mark, got - mark);
        while (ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got)
            all.append(buffer.data(), got);
        auto lines = SplitLines(Utf8FromUtf16(all.data(), all.size(), encoding == TextEncoding::Utf16BE), skip, count);
        for (auto& line : lines) line = TextLine(std::move(line), TextEncoding::Utf8, SystemCodePage());
        return lines;
    }

    // Line ends are found in the bytes as they are: in every single-byte and double-byte code page
    // CR and LF only ever stand for themselves.
    LineSplitter splitter(skip, count);
    bool more = splitter.Feed(buffer.data() + mark, got - mark);
    while (more && got) {
        if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return std::nullopt;
        more = got && splitter.Feed(buffer.data(), got);
    }
    splitter.Finish();
    auto lines = std::move(splitter.Lines());
    for (auto& line : lines) line = TextLine(std::move(line), encoding, SystemCodePage());
    return lines;
}

bool Win32FileSystem::WriteTextFile(const std::string& path, const std::vector<std::string>& lines,
                                    UnicodeForm unicode) {
    return WriteFileAtomic(path, TextFileBytes(lines, unicode));
}

std::vector<std::string> Win32FileSystem::FileNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const FindHandle search(FindFirstFileExW(Wide(folder + "\\*").c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!search) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(Utf8(found.cFileName));
    } while (FindNextFileW(search.get(), &found));
    return names;
}

std::optional<std::vector<FolderEntry>> Win32FileSystem::ListFolder(const std::string& folder) {
    const bool root = !folder.empty() && folder.back() == '\\';
    WIN32_FIND_DATAW found;
    const FindHandle search(FindFirstFileExW(Wide(folder + (root ? "*" : "\\*")).c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!search) return std::nullopt;
    std::vector<FolderEntry> entries;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        FolderEntry e;
        e.name = Utf8(name);
        e.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const std::wstring full = Wide(folder + (root ? "" : "\\")) + name;
        e.link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && found.dwReserved0 == IO_REPARSE_TAG_SYMLINK;
        e.danglingLink = e.link && GetFileAttributesW(full.c_str()) == INVALID_FILE_ATTRIBUTES;
        // FILETIME counts 100 ns from 1601: 11,644,473,600 s before 1970.
        const std::uint64_t ticks = (static_cast<std::uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                                    found.ftLastWriteTime.dwLowDateTime;
        e.modified = static_cast<std::int64_t>(ticks / 10000000) - 11644473600LL;
        if (!e.folder) {
            e.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            // Opened and closed at once: the one sure test that a reader or a burner can read it.
            const FileHandle file(CreateFileW(full.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            e.readable = static_cast<bool>(file);
        }
        entries.push_back(std::move(e));
    } while (FindNextFileW(search.get(), &found));
    return entries;
}

bool Win32FileSystem::StreamFile(const std::string& path, const std::function<bool(const char*, std::size_t)>& sink) {
    FileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    // Only a plain file: a device or a pipe would wait or never end.
    if (!file || GetFileType(file.get()) != FILE_TYPE_DISK) return false;
    std::string buffer(256 * 1024, '\0');
    for (DWORD got = 0;;) {
        if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) return false;
        if (got == 0 || !sink(buffer.data(), got)) return true;
    }
}

std::optional<std::string> Win32FileSystem::ReadBytes(const std::string& path, std::size_t maxBytes) {
    std::string bytes;
    const bool read = StreamFile(path, [&](const char* data, std::size_t size) {
        bytes.append(data, std::min(size, maxBytes - bytes.size()));
        return bytes.size() < maxBytes;
    });
    if (!read) return std::nullopt;
    return bytes;
}

bool Win32FileSystem::Copy(const std::string& from, const std::string& to) {
    const std::wstring source = Wide(from), target = Wide(to);
    // Copying a file onto itself would first empty it; refuse, on Windows and Wine alike.
    if (SameFile(source, target) || IsReadOnly(target)) return false;
    const std::wstring temp = TemporaryNameFor(target);
    if (CopyFileW(source.c_str(), temp.c_str(), FALSE) && SwapIn(temp, target)) return true;
    DeleteFileW(temp.c_str());
    return false;
}

bool Win32FileSystem::Delete(const std::string& path) { return DeleteFileW(Wide(path).c_str()) != 0; }

std::string Win32FileSystem::GetAbsolutePathName(const std::string& path) {
    const std::wstring p = Wide(path);
    const DWORD n = GetFullPathNameW(p.c_str(), 0, nullptr, nullptr);
    if (n == 0) return path;
    std::wstring full(n, L'\0');
    const DWORD got = GetFullPathNameW(p.c_str(), n, full.data(), nullptr);
    if (got == 0 || got >= n) return path;
    full.resize(got);
    return Utf8(full);
}
