#include "check/DiskMedium.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

// UTF-8 in and out, whatever the platform's native path type: std::string on Linux, wide on Windows.
fs::path PathOf(const std::string& utf8) { return fs::u8path(utf8); }
std::string Utf8Of(const fs::path& p) { return p.u8string(); }

// The medium's relative path (backslashes) as a path below the root.
fs::path Below(const std::string& root, const std::string& relative) {
    fs::path p = PathOf(root);
    std::size_t start = 0;
    while (start <= relative.size()) {
        const auto slash = relative.find('\\', start);
        const std::string part = relative.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (!part.empty()) p /= PathOf(part);
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    return p;
}

// Opened and closed at once: the one sure test that the file can be read, here or by a burner.
bool CanOpen(const fs::path& p) {
    std::filebuf file;
    return file.open(p, std::ios::in | std::ios::binary) != nullptr;
}

// When a file was last written, in whole seconds since 1970 UTC, the same on Linux and Windows
// for the same file. std::filesystem's clock has no portable way to 1970 before C++20, and the
// C library's stat on Windows goes through local time.
std::int64_t Modified(const fs::path& p) {
#ifdef _WIN32
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(p.c_str(), GetFileExInfoStandard, &data)) return 0;
    const auto ticks = static_cast<std::int64_t>((std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                                 data.ftLastWriteTime.dwLowDateTime);  // 100 ns since 1601
    constexpr std::int64_t kPerSecond = 10000000, k1601To1970 = 11644473600;
    return ticks / kPerSecond - k1601To1970;  // ticks are never negative: no rounding to mind
#else
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 ? static_cast<std::int64_t>(st.st_mtime) : 0;
#endif
}

}  // namespace

std::string TemporaryName(const std::string& path) {
    // The name the program gives its own temporary files, so the checker knows a leftover one.
    std::random_device random;
    return path + ".~" + std::to_string(random() % 1000000) + ".tmp";
}

DiskMedium::DiskMedium(const std::string& root) : root_(root) {}

std::string UnusableRoot(const std::string& root) {
    std::error_code ec;
    const fs::path p = PathOf(root);
    const auto status = fs::status(p, ec);
    if (ec || !fs::exists(status)) return "the folder " + root + " does not exist";
    if (!fs::is_directory(status)) return root + " is a file, not a folder: give the folder that holds Orvelund.exe";
    fs::directory_iterator it(p, ec);
    if (ec) return "the folder " + root + " cannot be read (" + ec.message() + ")";
    return {};
}

std::vector<MediumItem> DiskMedium::List() {
    std::vector<MediumItem> items;
    // Folders are walked by hand, not with recursive_directory_iterator, so that one unreadable
    // folder is reported and the rest of the medium is still listed.
    struct Pending {
        fs::path folder;
        std::string relative;
        bool backslash;  // some name on the way down holds a "\"
    };
    std::vector<Pending> pending{{PathOf(root_), std::string(), false}};
    while (!pending.empty()) {
        auto [folder, relative, backslash] = std::move(pending.back());
        pending.pop_back();
        std::error_code ec;
        fs::directory_iterator it(folder, ec), end;
        if (ec) {
            for (auto& item : items)
                if (item.path == relative) item.readable = false;
            continue;
        }
        for (; it != end; it.increment(ec)) {
            if (ec) break;
            const fs::directory_entry& e = *it;
            // Windows' own folders at the root of a stick are neither copied nor burned.
            const std::string name = Utf8Of(e.path().filename());
            if (relative.empty() && (name == "System Volume Information" || name == "$RECYCLE.BIN")) continue;
            MediumItem item;
            item.path = (relative.empty() ? std::string() : relative + "\\") + name;
            if (name.find('\\') != std::string::npos) item.nameLength = name.size();
            item.backslashInName = backslash || item.nameLength;
            std::error_code sec;
            item.danglingLink = e.is_symlink(sec) && !fs::exists(e.path(), sec);
            item.folder = e.is_directory(sec);
            item.modified = Modified(e.path());
            if (item.folder) {
                // A linked folder is listed but not entered: a link back up would never end.
                item.linkedFolder = e.is_symlink(sec);
                if (!item.linkedFolder) pending.push_back({e.path(), item.path, item.backslashInName});
            } else {
                item.size = e.file_size(sec);
                if (sec) item.size = 0;
                item.readable = !sec && CanOpen(e.path());
            }
            items.push_back(std::move(item));
        }
    }
    return items;
}

std::optional<std::string> DiskMedium::Read(const std::string& path, std::size_t maxBytes) {
    std::ifstream in(Below(root_, path), std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes;
    char buffer[64 * 1024];
    while (bytes.size() < maxBytes) {
        const std::size_t want = std::min(sizeof buffer, maxBytes - bytes.size());
        in.read(buffer, static_cast<std::streamsize>(want));
        const auto got = in.gcount();
        if (got <= 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool DiskMedium::Stream(const std::string& path, const PieceSink& sink) {
    std::error_code ec;
    const fs::path p = Below(root_, path);
    if (!fs::is_regular_file(p, ec)) return false;  // a pipe or device would wait or never end
    std::ifstream in(p, std::ios::binary);
    if (!in) return false;
    std::string buffer(256 * 1024, '\0');
    for (;;) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = in.gcount();
        if (got > 0 && !sink(buffer.data(), static_cast<std::size_t>(got))) return true;
        if (!in) return !in.bad();
    }
}

std::string NotAPlainFile(const std::string& path) {
    std::error_code ec;
    const auto status = fs::status(PathOf(path), ec);
    if (ec || !fs::exists(status) || fs::is_regular_file(status)) return {};
    const char* what = fs::is_fifo(status)        ? "a named pipe"
                       : fs::is_directory(status) ? "a folder"
                       : fs::is_socket(status)    ? "a socket"
                       : fs::is_block_file(status) || fs::is_character_file(status) ? "a device"
                                                                                    : "not a plain file";
    return path + " is " + what + ", not a web page; it is left as it is. Remove it, then run orvelund-check "
           "--web again.";
}

bool ReplaceFileWhole(const std::string& path, const std::string& bytes) {
    const fs::path target = PathOf(path);
    const fs::path temp = PathOf(TemporaryName(path));
    bool written = false;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        written = out && out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && out.flush();
    }
    std::error_code ec;
    if (written) {
        fs::rename(temp, target, ec);
        if (!ec) return true;
    }
    fs::remove(temp, ec);
    return false;
}

std::optional<std::string> ReadFileStart(const std::string& path, std::size_t maxBytes) {
    std::error_code ec;
    if (!fs::is_regular_file(PathOf(path), ec)) return std::nullopt;
    std::ifstream in(PathOf(path), std::ios::binary);
    std::string bytes(maxBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(maxBytes));
    bytes.resize(in ? maxBytes : static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}
