// Orvelund.exe itself: at the root, a Windows program, and one that starts on every Windows PC.

#include "check/CheckerParts.h"

namespace checker {

void Checker::CheckProgram() {
    const MediumItem* exe = FindFile("Orvelund.exe");
    // Authors may rename the program (Start.exe); autorun.inf then names it, as the Menu Editor writes it.
    if (!exe && !autoRunProgram_.empty() && autoRunProgram_.find('\\') == std::string::npos &&
        HasExtension(AsciiLower(autoRunProgram_), ".exe"))
        exe = FindFile(autoRunProgram_);
    if (!exe) {
        std::string elsewhere;
        for (const auto& item : index_.Items())
            if (!item.folder && MediumIndex::Fold(LastName(item.path)) == "orvelund.exe") {
                elsewhere = item.path;
                break;
            }
        Error("E-PROGRAM-MISSING", "Orvelund.exe", 0, "", "Orvelund.exe is not at the medium's root" +
              (elsewhere.empty() ? std::string(".") : " (there is one in " + Quoted(elsewhere) + ").") +
              " Nothing shows the menu; the content folder must sit beside the program.",
              "Copy Orvelund.exe next to the content folder.");
        return;
    }
    const auto bytes = Read(*exe, 4096);
    auto u16 = [&](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>((*bytes)[at])) |
               static_cast<unsigned>(static_cast<unsigned char>((*bytes)[at + 1])) << 8;
    };
    std::size_t pe = 0;
    if (bytes && bytes->size() >= 0x40 && bytes->compare(0, 2, "MZ") == 0) {
        pe = u16(0x3C) | static_cast<std::size_t>(u16(0x3E)) << 16;
        if (pe + 6 > bytes->size() || bytes->compare(pe, 4, std::string("PE\0\0", 4)) != 0) pe = 0;
    }
    if (!pe) {
        Error("E-PROGRAM-BROKEN", exe->path, 0, "", "Orvelund.exe is not a Windows program (or cannot be read): "
              "Windows refuses to start it.", "Copy Orvelund.exe again from the release.");
        return;
    }
    const unsigned machine = u16(pe + 4);
    if (machine == 0x8664 || machine == 0xAA64)
        Warning("W-PROGRAM-64BIT", exe->path, 0, "", std::string("Orvelund.exe is the ") +
                (machine == 0x8664 ? "64-bit x64" : "64-bit ARM") + " build: it does not start on 32-bit Windows.",
                "Use the 32-bit Orvelund.exe, which starts on every Windows PC.");
    else if (machine != 0x14C)
        Error("E-PROGRAM-BROKEN", exe->path, 0, "", "Orvelund.exe is built for a processor Windows PCs do not have.",
              "Copy the 32-bit Orvelund.exe from the release.");
}

}  // namespace checker
