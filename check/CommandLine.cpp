#include "check/CommandLine.h"

#include "check/Checker.h"
#include "check/DiskMedium.h"
#include "check/ImageCommand.h"
#include "check/WebPage.h"
#include "common/CodePages.h"
#include "platform/Version.h"

namespace {

std::string VersionText() {
    return std::to_string(ORVELUND_VERSION_MAJOR) + "." + std::to_string(ORVELUND_VERSION_MINOR) + "." +
           std::to_string(ORVELUND_VERSION_REVISION);
}

const char* kUsage =
    "usage: orvelund-check [--json] [--web] [--code-page N] [--iso IMAGE [--label TEXT] [--force]] FOLDER\n"
    "\n"
    "Checks a medium before it is burned or copied: FOLDER is the folder that holds Orvelund.exe\n"
    "and its content folder, as it will be at the root of the disc or stick. Nothing is written\n"
    "unless --web or --iso asks for it.\n"
    "\n"
    "  --json      the findings as JSON, for scripts\n"
    "  --web       also write FOLDER/menu.htm, the menu as a web page for readers on a Mac, Linux\n"
    "              or a Chromebook, and FOLDER/menu.<language>.htm for each language's menu\n"
    "              (never over a page that orvelund-check did not write)\n"
    "  --code-page N\n"
    "              the Windows code page the menu files and autorun.inf were written in where they\n"
    "              have no byte-order mark: 874, 932, 936, 949, 950 or 1250 to 1258. Without it the\n"
    "              checker finds it from the names on the medium.\n"
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
    CheckOptions options;
    std::vector<std::string> folders;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnd || a.empty() || a[0] != '-' || a == "-") {
            folders.push_back(a);
        } else if (a == "--") {
            optionsEnd = true;
        } else if (a == "--json") {
            json = true;
        } else if (a == "--web") {
            web = true;
        } else if (a == "--code-page" || a.rfind("--code-page=", 0) == 0) {
            const std::string number = a == "--code-page" ? (i + 1 < args.size() ? args[++i] : "") : a.substr(12);
            const bool digits = !number.empty() && number.size() <= 5 &&
                                number.find_first_not_of("0123456789") == std::string::npos;
            options.codePage = digits ? static_cast<unsigned>(std::stoul(number)) : 0;
            if (!FindAnsiCodePage(options.codePage)) {
                std::string known;
                for (const auto& cp : AnsiCodePages()) known += "\n  " + CodePageLabel(cp.number);
                write(true, "orvelund-check: --code-page takes the number of a Windows code page, not \"" + number +
                                "\". The code pages Windows writes text in:" + known + "\n");
                return 2;
            }
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
    const CheckResult result = CheckMedium(medium, options);
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
        PageFiles files;
        files.pathOf = [&](const std::string& page) { return folder + (ends ? "" : std::string(1, separator)) + page; };
        files.notAPlainFile = NotAPlainFile;
        files.readStart = ReadFileStart;
        files.replace = replace;
        const PagesWritten written = WriteMenuPages(result, files);
        for (std::size_t i = 0; i < written.pages.size(); ++i)
            write(true, "orvelund-check: wrote " + written.pages[i].first + " (" +
                            std::to_string(written.pages[i].second) + " bytes)" +
                            (written.tags[i].empty() ? ": readers without Windows open it in their browser"
                                                     : ", for readers of " + written.tags[i] + ", linked from the others") +
                            ".\n");
        if (!written.error.empty()) {
            write(true, "orvelund-check: " + written.error + "\n");
            return 2;
        }
    }
    pending.report = nullptr;
    if (!image.image.empty()) return MakeImage(image, folder, medium, result, json, write, errorIsTerminal);
    return result.report.ExitStatus();
}
