// Any bytes as a menu file, through the reader alone (no windows): every line comes back without
// line ends or NULs, a page read deep in the file is the same as the whole file's lines there, the
// settings and entries parse, and whatever was read is written and read back line for line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/TextLines.h"
#include "menu/MenuFile.h"
#include "tests/fakes/FakeFileSystem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    FakeFileSystem fs;
    fs.AddFolder("C:\\M");
    fs.AddFile("C:\\M\\config.ini", bytes);
    const auto all = fs.ReadLines("C:\\M\\config.ini", 0, FileSystem::kAllLines);
    if (!all) __builtin_trap();
    for (const auto& line : *all)
        if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) __builtin_trap();

    const std::size_t skip = size ? data[0] % 16 : 0;
    const auto page = fs.ReadLines("C:\\M\\config.ini", skip, 11);
    for (std::size_t i = 0; i < page->size(); ++i)
        if (skip + i >= all->size() || (*page)[i] != (*all)[skip + i]) __builtin_trap();
    if (page->size() != std::min<std::size_t>(11, all->size() > skip ? all->size() - skip : 0)) __builtin_trap();

    for (const auto& line : *all) {
        if (auto value = menufile::SettingValue(line)) {
            if (value->find(':') != std::string::npos) __builtin_trap();
            menufile::ToInt32(*value);
        }
        const MenuEntry e = menufile::EntryFromLine(line);
        if (menufile::EntryLine(e).size() > line.size() + 3) __builtin_trap();
    }

    // Written back the way the editor writes, the same lines read back.
    bool wellFormed = true;
    for (const auto& line : *all) wellFormed = wellFormed && IsUtf8(line.data(), line.size());
    if (wellFormed) {
        const auto form = size && (data[size - 1] & 1) ? UnicodeForm::Utf16LEWithMark : UnicodeForm::Utf8WithMark;
        if (!fs.WriteTextFile("C:\\M\\again.ini", *all, form)) __builtin_trap();
        if (fs.ReadLines("C:\\M\\again.ini", 0, FileSystem::kAllLines) != *all) __builtin_trap();
    }
    return 0;
}
