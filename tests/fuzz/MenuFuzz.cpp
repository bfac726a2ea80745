// Any bytes as a menu file: the menu window reads, pages through and launches from it without
// crashing, and whatever the writer writes reads back field for field.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/TextLines.h"
#include "editor/EntryFromFile.h"
#include "editor/SetupWizard.h"
#include "menu/MenuFile.h"
#include "tests/fakes/World.h"

namespace {

void MenuWindow(const std::string& bytes) {
    World w;
    w.fs.AddFile(w.Content("config.ini"), bytes);
    w.fs.AddFile(w.Content("A.jpg"), "jpeg");
    w.fs.AddFile(w.Content("app.jpg"), "jpeg");
    w.main.Form_Load();
    for (int i = 0; i < 3; ++i) w.main.btnNext_Click();
    w.main.btnPrev_Click();
    for (int k = 0; k < 10; ++k) w.main.btnMenu_Click(k);
    if (w.form.height != 10800 && (w.form.height < 4300 || w.form.height > 10000)) __builtin_trap();

    // The Menu Editor reads the same bytes; what it saves, it reads back entry for entry.
    FakeSetupWizardForm form{w.pictures};
    SetupWizard editor{form, w.main, w.services, w.state};
    editor.Form_Load();
    if (!editor.WriteSetupConfig()) __builtin_trap();
    FakeSetupWizardForm againForm{w.pictures};
    SetupWizard again{againForm, w.main, w.services, w.state};
    again.ReadSetupConfig();
    if (again.RowCount() != editor.RowCount()) __builtin_trap();
    for (int row = 1; row <= editor.RowCount(); ++row)
        for (int column = 0; column < 4; ++column)
            if (again.Cell(row, column) != editor.Cell(row, column)) __builtin_trap();
}

}  // namespace

namespace {

void RoundTrip(const std::string& bytes) {
    // Values without the characters the format cannot hold.
    std::string clean;
    for (char c : bytes) clean += (c == ',' || c == ':' || c == '\r' || c == '\n') ? 'x' : c;
    MenuSettings s{clean.substr(0, 16), static_cast<std::int32_t>(clean.size() * 2654435761u), -1, clean.size() % 2 ? 1 : 0};
    std::vector<MenuEntry> entries;
    for (std::size_t i = 0; i + 4 <= clean.size() && entries.size() < 50; i += 4)
        entries.push_back({"b" + clean.substr(i, 1), clean.substr(i + 1, 1), clean.substr(i + 2, 1), clean.substr(i + 3, 1)});
    std::string file;
    for (const auto& line : menufile::FileLines(s, entries)) file += line + "\r\n";
    const auto lines = SplitLines(file);
    if (lines.size() != 8 + entries.size()) __builtin_trap();
    if (menufile::SettingValue(lines[menufile::kLineTitle]) != s.Title) __builtin_trap();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const MenuEntry back = menufile::EntryFromLine(lines[menufile::kLineFirstEntry + i]);
        if (back.Button != entries[i].Button || back.Label != entries[i].Label ||
            back.FileFolder != entries[i].FileFolder || back.Action != entries[i].Action)
            __builtin_trap();
    }
}

// Any bytes as a dropped file's name, path or Internet shortcut: the Button made from it is a
// name a picture and a menu line can carry, and nothing it gives the menu line holds a comma.
void EntryFromAnyFile(const std::string& bytes) {
    const std::string button = ButtonFromName(bytes);
    if (!IsPictureName(button) || button.find(',') != std::string::npos) __builtin_trap();
    if (LabelFromName(bytes).find(',') != std::string::npos) __builtin_trap();
    const auto relative = RelativeToProgram("C:\\Menu", bytes);
    if (relative && (relative->empty() || *relative == ".." || relative->rfind("..\\", 0) == 0)) __builtin_trap();
    const auto address = InternetShortcutTarget(SplitLines("[InternetShortcut]\r\n" + bytes));
    if (address && address->find(',') != std::string::npos) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    MenuWindow(bytes);
    RoundTrip(bytes);
    EntryFromAnyFile(bytes);
    return 0;
}
