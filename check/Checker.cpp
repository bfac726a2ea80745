#include "check/Checker.h"

#include "check/CheckerParts.h"

namespace checker {

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

std::string LastName(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string AsciiLower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

bool HasExtension(const std::string& name, const char* extension) {
    const std::string ext = extension;
    return name.size() > ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0;
}

std::string Megabytes(std::uint64_t bytes) {
    const bool small = bytes < (1u << 20);
    const std::uint64_t unit = small ? 1024 : 1u << 20;
    const std::uint64_t tenths = (bytes * 10 + unit / 2) / unit;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + (small ? " KiB" : " MiB");
}

std::string Count(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

CheckResult Checker::Run() {
    for (const auto& item : index_.Items()) {
        if (item.folder) continue;
        ++result_.report.files;
        result_.report.bytes += item.size;
    }
    CheckMenuFile();
    if (result_.menu.read) {
        CheckSettings();
        CheckEntries();
        CheckPaging();
    }
    CheckPictures();
    CheckAutoRun();
    CheckNames();
    CheckProgram();
    return std::move(result_);
}
}  // namespace checker

CheckResult CheckMedium(Medium& medium) { return checker::Checker(medium).Run(); }
