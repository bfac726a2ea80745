// Writes the medium a first start writes into FOLDER, on a real disk, for the disc-image oracles:
// the program's own first-run code run against the fakes, the built-in pictures it saves taken
// from RES (platform/res, their source), and a stand-in for Orvelund.exe (its header).
//   first-run-medium FOLDER RES
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/fakes/World.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    World w("C:\\Medium");
    w.dialogs.answers = {mb::Yes};
    w.main.Form_Load();
    const std::map<std::string, std::string> builtIn = {
        {"BMP:built-in:main", "main.jpg"},           {"BMP:built-in:instructions", "button-instructions.jpg"},
        {"BMP:built-in:website", "button-website.jpg"}, {"BMP:built-in:explore", "button-explore.jpg"},
        {"BMP:built-in:update", "button-update.jpg"}, {"ICON:built-in:icon", "Orvelund.ico"}};
    const fs::path root = argv[1];
    fs::create_directories(root);
    std::string exe = "MZ" + std::string(0x3A, '\0') + std::string("\x40\0\0\0PE\0\0\x4C\x01", 10) + std::string(200, '\0');
    std::ofstream(root / "Orvelund.exe", std::ios::binary) << exe;
    for (const auto& item : w.fs.Tree("C:\\Medium")) {
        fs::path path = root;
        std::stringstream parts(item.path);
        for (std::string part; std::getline(parts, part, '\\');) path /= part;
        if (item.folder) {
            fs::create_directories(path);
            continue;
        }
        std::string bytes = w.fs.Content("C:\\Medium\\" + item.path);
        if (const auto picture = builtIn.find(bytes); picture != builtIn.end()) {
            std::ifstream in(fs::path(argv[2]) / picture->second, std::ios::binary);
            bytes.assign(std::istreambuf_iterator<char>(in), {});
        }
        if (!(std::ofstream(path, std::ios::binary) << bytes)) return 1;
    }
    return 0;
}
