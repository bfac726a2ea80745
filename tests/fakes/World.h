#pragma once
// The main window's behaviour wired to fakes: a whole program run without any window.
#include "app/Orvelund.h"
#include "tests/fakes/FakeForm.h"
#include "tests/fakes/FakeServices.h"

struct World {
    explicit World(std::string appPath = "C:\\Menu", std::string commandLine = "")
        : pictures(fs),
          copier(fs),
          services{fs,     shell,       dialogs, pictures, windows, colors,
                   AppInfo{std::move(appPath), std::move(commandLine), {}}, fileDialogs, copier, progress},
          form(pictures),
          main(form, services, state) {
        fs.AddFolder(services.app.appPath);
    }

    std::string Content(const std::string& name) const { return services.app.appPath + "\\content\\" + name; }
    // A menu file of the eight header lines and these entry lines.
    void WriteMenu(const std::vector<std::string>& entries, const std::string& title = "TITLE:Demo",
                   const std::string& hideSetup = "HIDESETUP:0");

    FakeFileSystem fs;
    FakeShell shell;
    FakeDialogs dialogs;
    FakePictures pictures;
    FakeWindows windows;
    FakeColorDialog colors;
    FakeFileDialogs fileDialogs;
    FakeCopier copier;
    FakeProgress progress;
    Services services;
    AppState state;
    FakeMainForm form;
    Orvelund main;
};

inline void World::WriteMenu(const std::vector<std::string>& entries, const std::string& title,
                             const std::string& hideSetup) {
    std::string text = "## ** Orvelund - CONFIGURATION FILE **\r\n## >> Configuration\r\n" + title +
                       "\r\nBTCOLOR:16435132\r\nBGCOLOR:16777215\r\n" + hideSetup +
                       "\r\n## -- Configure items\r\n## -- [Button],[Label],[File/Folder],[Action]\r\n";
    for (const auto& e : entries) text += e + "\r\n";
    fs.AddFile(Content("config.ini"), text);
}
