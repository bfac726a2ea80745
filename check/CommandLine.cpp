#include "check/CommandLine.h"

#include "check/Checker.h"
#include "check/DiskMedium.h"
#include "check/ImageCommand.h"
#include "check/WebPage.h"
#include "platform/Version.h"

namespace {

std::string VersionText() {
    return std::to_string(ORVELUND_VERSION_MAJOR) + "." + std::to_string(ORVELUND_VERSION_MINOR) + "." +
           std::to_string(ORVELUND_VERSION_REVISION);
}

const char* kUsage =
    "usage: orvelund-check [--json] [--web] [--iso IMAGE [--label TEXT] [--force]] FOLDER\n"
    "\n"
    "Checks a medium before it is burned or copied: FOLDER is the folder that holds Orvelund.exe\n"
    "and its content folder, as it will be at the root of the disc or stick. Nothing is written\n"
    "unless --web or --iso asks for it.\n"
    "\n"
    "  --json      the findings as JSON, for scripts\n"
    "  --web       also write FOLDER/menu.htm, the menu as a web page for readers on a Mac, Linux\n"
    "              or a Chromebook, and FOLDER/menu.<language>.htm for each language's menu\n"
    "              (never over a page that orvelund-check did not write)\n"
    "  --iso IMAGE the checked folder as a disc image to burn (ISO 9660 with Joliet names);\n"
    "              not written when the check finds errors, or when a name cannot go on a disc\n"
    "              as it stands\n"
    "  --label TEXT\n"
    "              the disc's label; the menu's title otherwise\n"
    "  --force     write the image despite the check's errors\n"
    "  --help      this text\n"
    "  --version   the version\n"
    "\n"
    "Exit status: 0 no errors, 1 errors found, 2 bad arguments, a folder that cannot be read, a\n"
    "menu.htm that cannot be written, or no image written.\n";

}  // namespace

int RunCheck(std::vector<std::string> args, const Writer& write, const FileReplacer& replace, bool errorIsTerminal) {
    ImageOptions image;
    if (const std::string wrong = TakeImageOptions(args, image); !wrong.empty()) {
        write(true, "orvelund-check: " + wrong + "\n\n" + kUsage);
        return 2;
    }
    bool json = false, web = false;
    std::vector<std::string> folders;
    bool optionsEnd = false;
    for (const auto& a : args) {
        if (optionsEnd || a.empty() || a[0] != '-' || a == "-") {
            folders.push_back(a);
        } else if (a == "--") {
            optionsEnd = true;
        } else if (a == "--json") {
            json = true;
        } else if (a == "--web") {
            web = true;
        } else if (a == "--help" || a == "-h" || a == "-?" || a == "/?") {
            write(false, kUsage);
            return 0;
        } else if (a == "--version") {
            write(false, "orvelund-check " + VersionText() + "\n");
            return 0;
        } else {
            write(true, "orvelund-check: unknown option " + a + "\n\n" + kUsage);
            return 2;
        }
    }
    if (folders.size() != 1) {
        write(true, std::string("orvelund-check: ") +
                        (folders.empty() ? "no folder given" : "give one folder, not " + std::to_string(folders.size())) +
                        "\n\n" + kUsage);
        return 2;
    }
    std::string folder = folders[0];
    // "E:" alone is the current folder of drive E; the medium is its root.
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';
    if (const std::string why = UnusableRoot(folder); !why.empty()) {
        write(true, "orvelund-check: " + why + "\n");
        return 2;
    }
    DiskMedium medium(folder);
    const CheckResult result = CheckMedium(medium);
    // With an image, the JSON report waits for it and carries it; when the web pages fail before
    // the image is made, it is written as it stands on the way out.
    struct Pending {
        std::function<void()> report;
        ~Pending() { if (report) report(); }
    } pending;
    if (json && !image.image.empty()) pending.report = [&] { write(false, FormatJson(result.report)); };
    else write(false, json ? FormatJson(result.report) : "Medium: " + folder + "\n\n" + FormatText(result.report));
    if (web) {
        // Joined with the separator the folder was given with: "E:\\Disc\\menu.htm", "/media/disc/menu.htm".
        const char separator = folder.find('/') == std::string::npos && folder.find('\\') != std::string::npos ? '\\' : '/';
        const bool ends = folder.back() == '/' || folder.back() == '\\';
        std::vector<const CheckedMenu*> menus{&result.menu};
        for (const auto& language : result.languages) menus.push_back(&language);
        std::vector<std::string> pages;
        for (const CheckedMenu* menu : menus)
            pages.push_back(folder + (ends ? "" : std::string(1, separator)) + PageName(*menu));
        // Every page is looked at before any is written, so that the pages, which link each other,
        // are written all or not at all. A named pipe or a device there is never opened: opening one
        // for writing waits for a reader that never comes.
        for (const std::string& page : pages) {
            if (const std::string why = NotAPlainFile(page); !why.empty()) {
                write(true, "orvelund-check: " + why + "\n");
                return 2;
            }
            if (!MayReplaceMenuPage(ReadFileStart(page, 4096))) {
                write(true, "orvelund-check: " + page + " was not written by orvelund-check, so it is left as it is. "
                            "Rename or move it, then run orvelund-check --web again.\n");
                return 2;
            }
        }
        for (std::size_t i = 0; i < menus.size(); ++i) {
            const std::string html = MenuPage(result, *menus[i]);
            if (!replace(pages[i], html)) {
                write(true, "orvelund-check: " + pages[i] + " could not be written (is the folder read-only?).\n");
                return 2;
            }
            write(true, "orvelund-check: wrote " + pages[i] + " (" + std::to_string(html.size()) + " bytes)" +
                            (i == 0 ? ": readers without Windows open it in their browser" : ", for readers of " +
                             menus[i]->tag + ", linked from the others") + ".\n");
        }
    }
    pending.report = nullptr;
    if (!image.image.empty()) return MakeImage(image, folder, medium, result, json, write, errorIsTerminal);
    return result.report.ExitStatus();
}
