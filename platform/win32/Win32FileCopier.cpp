// Copies a file onto the medium in pieces of 256 KiB, which lets the progress window follow it and
// answer Cancel between two pieces, a fraction of a second apart even on a slow stick. The copy is written under the temporary name the program's
// saves use ("name.~<process>.tmp", which orvelund-check reports if one is ever left) and renamed
// only when whole.
#include "platform/win32/Win32FileCopier.h"

#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/Text.h"

namespace {

// Why writing onto the medium failed, from Windows' error.
CopyResult WriteFailure(DWORD error) {
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return CopyResult::MediumFull;
    case ERROR_WRITE_PROTECT:
    case ERROR_ACCESS_DENIED: return CopyResult::ReadOnly;
    case ERROR_FILE_TOO_LARGE: return CopyResult::TooLarge;
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BAD_PATHNAME:
    case ERROR_PATH_NOT_FOUND: return CopyResult::NameRefused;
    default: return CopyResult::Failed;
    }
}

std::wstring TemporaryNameFor(const std::wstring& target) {
    return target + L".~" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
}

// One file or folder below the folder being copied, by its path relative to that folder.
struct Part {
    std::wstring relative;
    bool folder;
};

// Everything below `from`, each folder before what it holds, and the bytes of its files.
CopyResult ListTree(const std::wstring& from, std::vector<Part>& parts, std::uint64_t& bytes) {
    std::vector<std::wstring> folders{L""};  // the folder itself, then each folder found in it
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const std::wstring prefix = folders[i].empty() ? L"" : folders[i] + L"\\";
        WIN32_FIND_DATAW found;
        const FindHandle search(FindFirstFileW((from + L"\\" + prefix + L"*").c_str(), &found));
        if (!search) return CopyResult::SourceUnreadable;
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (folder && (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) return CopyResult::LinkedFolder;
            parts.push_back({prefix + name, folder});
            if (folder) folders.push_back(prefix + name);
            else bytes += (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        } while (FindNextFileW(search.get(), &found));
        if (GetLastError() != ERROR_NO_MORE_FILES) return CopyResult::SourceUnreadable;
    }
    return CopyResult::Copied;
}

// Removes a folder this copier made, with what it wrote into it.
void RemoveTree(const std::wstring& folder, const std::vector<Part>& parts) {
    for (auto part = parts.rbegin(); part != parts.rend(); ++part) {
        const std::wstring path = folder + L"\\" + part->relative;
        if (part->folder) RemoveDirectoryW(path.c_str());
        else DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

CopyResult Win32FileCopier::Copy(const std::string& from, const std::string& to, const Progressed& progressed) {
    const std::wstring target = Wide(to);
    // Windows refuses to replace a read-only file and Wine does not: refused here alike.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return CopyResult::ReadOnly;
    FileHandle source(CreateFileW(Wide(from).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!source || !GetFileSizeEx(source.get(), &size)) return CopyResult::SourceUnreadable;
    const auto total = static_cast<std::uint64_t>(size.QuadPart);
    // A file that cannot fit fails at once, rather than after filling the stick.
    ULARGE_INTEGER available{};
    const std::wstring folder = target.substr(0, target.find_last_of(L'\\') + 1);
    if (GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr) && available.QuadPart < total)
        return CopyResult::MediumFull;

    const std::wstring temp = TemporaryNameFor(target);
    CopyResult result = CopyResult::Copied;
    {
        FileHandle copy(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!copy) return WriteFailure(GetLastError());
        std::vector<char> piece(256 * 1024);
        std::uint64_t done = 0;
        for (;;) {
            DWORD got = 0, written = 0;
            if (!ReadFile(source.get(), piece.data(), static_cast<DWORD>(piece.size()), &got, nullptr)) {
                result = CopyResult::SourceUnreadable;
                break;
            }
            if (got == 0) break;
            if (!WriteFile(copy.get(), piece.data(), got, &written, nullptr) || written != got) {
                result = WriteFailure(GetLastError());
                break;
            }
            done += got;
            if (!progressed(done, total)) {
                result = CopyResult::Cancelled;
                break;
            }
        }
        if (result == CopyResult::Copied && !FlushFileBuffers(copy.get())) result = WriteFailure(GetLastError());
    }
    if (result == CopyResult::Copied &&
        !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        result = WriteFailure(GetLastError());
    if (result != CopyResult::Copied) DeleteFileW(temp.c_str());
    return result;
}

// The folder is listed first, so that the progress bar knows the whole and a medium too small for
// it is refused before anything is written. Its copy is made under a temporary name beside the
// target and renamed when every file is in it: a reader never finds half a folder.
CopyResult Win32FileCopier::CopyFolder(const std::string& from, const std::string& to, const Progressed& progressed) {
    const std::wstring source = Wide(from), target = Wide(to);
    std::vector<Part> parts;
    std::uint64_t total = 0;
    if (const CopyResult listed = ListTree(source, parts, total); listed != CopyResult::Copied) return listed;
    ULARGE_INTEGER available{};
    const std::wstring folder = target.substr(0, target.find_last_of(L'\\') + 1);
    if (GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr) && available.QuadPart < total)
        return CopyResult::MediumFull;

    const std::wstring temp = TemporaryNameFor(target);
    if (!CreateDirectoryW(temp.c_str(), nullptr)) return WriteFailure(GetLastError());
    CopyResult result = CopyResult::Copied;
    std::uint64_t before = 0;  // the bytes of the files copied so far
    std::size_t made = 0;      // the parts written into the copy so far
    for (; made < parts.size() && result == CopyResult::Copied; ++made) {
        const Part& part = parts[made];
        const std::wstring copy = temp + L"\\" + part.relative;
        if (part.folder) {
            if (!CreateDirectoryW(copy.c_str(), nullptr)) result = WriteFailure(GetLastError());
            continue;
        }
        std::uint64_t size = 0;
        result = Copy(Utf8(source + L"\\" + part.relative), Utf8(copy), [&](std::uint64_t done, std::uint64_t) {
            size = done;
            return progressed(before + done, total);
        });
        before += size;
    }
    if (result == CopyResult::Copied && !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
        result = WriteFailure(GetLastError());
    if (result != CopyResult::Copied) RemoveTree(temp, std::vector<Part>(parts.begin(), parts.begin() + made));
    return result;
}
