#include "check/ImageFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "check/DiskMedium.h"

namespace fs = std::filesystem;

namespace {

std::string Mib(std::uint64_t bytes) { return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MiB"; }

// The C library's error after a failed open or write, in the words a user looks for.
std::string Why(int error) {
    if (error == ENOSPC) return "the disk is full";
    if (error == EACCES || error == EPERM || error == EROFS) return "the folder cannot be written";
    return std::generic_category().message(error);
}

}  // namespace

ImageFile::ImageFile(const std::string& path, std::uint64_t bytes) : path_(path), temp_(TemporaryName(path)) {
    std::error_code ec;
    const fs::path folder = fs::absolute(fs::u8path(path), ec).parent_path();
    const fs::space_info space = fs::space(folder, ec);
    if (!ec && space.available < bytes) {
        failure_ = "the disk holds " + Mib(space.available) + " free, and the image needs " + Mib(bytes);
        return;
    }
    errno = 0;
    out_.open(fs::u8path(temp_), std::ios::binary | std::ios::trunc);
    if (!out_) failure_ = Why(errno) + " (" + folder.u8string() + ")";
}

ImageFile::~ImageFile() {
    if (committed_) return;
    out_.close();
    std::error_code ec;
    fs::remove(fs::u8path(temp_), ec);
}

void ImageFile::Fail(const std::string& what) {
    if (failure_.empty()) failure_ = what;
}

bool ImageFile::Write(const char* data, std::size_t size) {
    if (!failure_.empty()) return false;
    errno = 0;
    if (out_.write(data, static_cast<std::streamsize>(size))) return true;
    Fail(Why(errno) + " (" + path_ + ")");
    return false;
}

bool ImageFile::Commit() {
    if (!failure_.empty()) return false;
    errno = 0;
    out_.flush();
    if (!out_) {
        Fail(Why(errno) + " (" + path_ + ")");
        return false;
    }
    out_.close();
    if (out_.fail()) {
        Fail(Why(errno) + " (" + path_ + ")");
        return false;
    }
    std::error_code ec;
    fs::rename(fs::u8path(temp_), fs::u8path(path_), ec);
    if (ec) {
        Fail(path_ + " could not take the finished image's place (" + ec.message() + ")");
        return false;
    }
    committed_ = true;
    return true;
}

std::string UnusableImagePath(const std::string& path) {
    if (const std::string what = NotAPlainFile(path); !what.empty()) {
        std::error_code ec;
        return path + (fs::is_directory(fs::u8path(path), ec) ? " is a folder: give the image's file name "
                                                                 "(disc.iso) after --iso."
                                                               : " is not a plain file; it is left as it is.");
    }
    std::error_code ec;
    const fs::path folder = fs::absolute(fs::u8path(path), ec).parent_path();
    if (!fs::is_directory(folder, ec)) return "the folder " + folder.u8string() + " does not exist.";
    // An image made before is written over; any other file is the author's own.
    const auto start = ReadFileStart(path, 16 * 2048 + 6);
    if (start && !(start->size() == 16 * 2048 + 6 && start->compare(16 * 2048 + 1, 5, "CD001") == 0))
        return path + " is there and is no disc image, so it is left as it is. Give the image another name.";
    return {};
}

std::string PathOnMedium(const std::string& root, const std::string& file) {
    std::error_code rootError, fileError;
    const fs::path r = fs::weakly_canonical(fs::u8path(root), rootError);
    const fs::path f = fs::weakly_canonical(fs::u8path(file), fileError);
    const fs::path relative = f.lexically_relative(r);
    if (rootError || fileError || relative.empty() || *relative.begin() == ".." || relative == ".") return {};
    std::string out;
    for (const auto& part : relative) out += (out.empty() ? "" : "\\") + part.u8string();
    return out;
}
