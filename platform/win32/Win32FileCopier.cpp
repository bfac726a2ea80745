// Copies a file onto the medium in pieces of 256 KiB, which lets the progress window follow it and
// answer Cancel between two pieces, a fraction of a second apart even on a slow stick. The copy is written under the temporary name the program's
// saves use ("name.~<process>.tmp", which orvelund-check reports if one is ever left) and renamed
// only when whole.
#include "platform/win32/Win32FileCopier.h"

#include <windows.h>

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

    const std::wstring temp = target + L".~" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
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
