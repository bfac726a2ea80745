// The content a first start writes (the first menu, the button pictures, the instructions page),
// each only where it is missing, and the drive's autorun file, which the Menu Editor rewrites.
#include <vector>

#include "app/Orvelund.h"
#include "content/DefaultContent.h"
#include "menu/MenuFile.h"
#include "menu/MenuLanguage.h"
#include "platform/MainWindowDesign.h"

// Each step here goes on when one before it failed: on a disc nothing can be written, and the
// menu still has to come up.

void Orvelund::CheckForConfig() {
    // Only everyone's menu is ever written here; the menus of other languages are the author's.
    const std::string config = ContentPath(menulanguage::kMenuFile);
    if (!sv_.files.FileExists(config)) {
        CheckForButton();
        CheckForInstructions();
        // After the read above, the window's icon is a user's own app.ico if there was one.
        sv_.pictures.SavePicture(form_.Icon(), ContentPath("app.ico"));
        state_.ShowEditorAtStart = true;
        const auto entries = DefaultMenuEntries(sv_.app.version);
        for (std::size_t i = 0; i < entries.size(); ++i) MenuLines_[i + 1] = entries[i];

        // The first menu ends in eight empty lines, as it always has.
        std::vector<MenuEntry> menu;
        for (const auto& line : entries) menu.push_back(menufile::EntryFromLine(line));
        auto lines = menufile::FileLines(MenuSettings{"Orvelund", 16435132, 16777215, 0}, menu);
        lines.insert(lines.end(), 8, std::string());
        sv_.files.WriteTextFile(config, lines, UnicodeForm::Utf8WithMark);
    }
    ReadConfig();
}

void Orvelund::CheckForButton() {
    static const char* names[] = {"Instructions.jpg", "Website.jpg", "Explore.jpg", "Updates.jpg"};
    for (int k = 0; k < 4; ++k) {
        const std::string path = ContentPath(names[k]);
        if (!sv_.files.FileExists(path)) sv_.pictures.SavePicture(form_.Picture(MainCtl::BtnMenu(k)), path);
    }
}

void Orvelund::CheckForPicture() {
    const std::string path = ContentPath("app.jpg");
    if (sv_.files.FileExists(path)) LoadMainPicture();
    else sv_.pictures.SavePicture(form_.Picture(MainCtl::Picture1), path);
}

void Orvelund::LoadMainPicture() {
    const ShownArea shown = ShownIn(MainWindowDesign().controls[MainCtl::Picture1]);
    if (auto picture = sv_.pictures.LoadPicture(ContentPath("app.jpg"), shown)) form_.SetPicture(MainCtl::Picture1, picture);
}

bool Orvelund::CheckForIcon() { return sv_.files.FileExists(ContentPath("app.ico")); }

void Orvelund::CheckForInstructions() {
    const std::string path = ContentPath("instructions.htm");
    if (!sv_.files.FileExists(path)) sv_.files.WriteTextFile(path, InstructionsPage(), UnicodeForm::Utf8WithMark);
    ReadConfig();
}

void Orvelund::CheckForAutoRun(const std::string& messageTitle) {
    // Written whole or not at all: a failed write keeps the old file as it was.
    // Windows reads an autorun.inf in UTF-16 with its mark, which a title in any script needs.
    // The drive has one label for every reader: config.ini's title, as the window shows it to a
    // reader without a menu of their own, whichever language this window shows.
    std::string caption = form_.Caption();
    if (state_.MenuFile != menulanguage::kMenuFile) {
        const auto title = sv_.files.ReadLines(ContentPath(menulanguage::kMenuFile), menufile::kLineTitle, 1);
        caption = MenuCaption(title && !title->empty() ? title->front() : "");
    }
    const auto lines = AutoRunLines(caption, CheckForIcon(), sv_.app.exeName);
    if (!sv_.files.WriteTextFile(sv_.app.appPath + "\\autorun.inf", lines, UnicodeForm::Utf16LEWithMark)) {
        sv_.dialogs.MsgBox("The autorun.inf file could not be updated. Please delete autorun.inf manually and "
                           "restart the application.",
                           mb::OkOnly | mb::Critical, messageTitle);
    }
}
