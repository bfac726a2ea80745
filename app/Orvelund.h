#pragma once
// The main window's behaviour: start-up and command line, the menu view, launching entries.
#include <array>
#include <cstdint>
#include <string>

#include "app/AppState.h"
#include "platform/Form.h"
#include "platform/Services.h"

class Orvelund {
public:
    Orvelund(MainForm& form, Services& services, AppState& state);

    // Window events.
    void Form_Load();
    void Form_Activate();
    void Picture1_MouseDown(int button, int shift, int x, int y);
    void mnuSetup_Click();
    void mnuExit_Click();
    void btnMenu_Click(int index);
    void btnNext_Click();
    void btnPrev_Click();

    // Procedures the start-up and the other windows call.
    void GetCommandLine(int MaxArgs = 10);
    // Picks the menu this reader gets (AppState::MenuFile) from the content folder's files, the
    // -lang: option and Windows' UI language.
    void ChooseMenuFile();
    void Startup();
    void CheckForConfig();
    void CheckForButton();
    void CheckForPicture();
    void LoadMainPicture();
    bool CheckForIcon();
    void CheckForInstructions();
    // Writes autorun.inf beside the program; a failure is reported with `messageTitle`, the Menu
    // Editor's caption.
    void CheckForAutoRun(const std::string& messageTitle);
    void ReadConfig();
    void ShowMenuPage(const std::string& direction);
    void Launch(std::string sFileName, const std::string& saction);

    const std::array<std::string, 12>& MenuLines() const { return MenuLines_; }
    std::int16_t ScrollOffset() const { return ScrollOffset_; }
    MainForm& Form() { return form_; }
    // The menu file this reader gets: content\config.ini or a language's menu beside it.
    std::string MenuPath() const;

private:
    std::string ContentPath(const std::string& name) const;
    void FillView();
    void ShowFatalError(const std::string& text);

    MainForm& form_;
    Services& sv_;
    AppState& state_;
    std::array<std::string, 12> MenuLines_;  // 0 title line, 1-10 the view, 11 the look-ahead
    std::int16_t ScrollOffset_ = 0;          // entries above the view
};

// The window's caption for a menu whose third line is `titleLine`: the title, or "Talvenor" when
// the line is empty or has no colon.
std::string MenuCaption(const std::string& titleLine);

// Targets handed to the shell as they stand: "www..." and anything that starts with a URL scheme
// ("https:", "mailto:", "file:"). Everything else is a path.
bool IsWebTarget(const std::string& target);

// Outer window heights in twips by the number of entries in view (index 1 to 10).
constexpr int kWindowHeightTable[11] = {0, 4300, 5000, 5700, 6400, 7200, 7900, 8600, 9300, 10000, 10800};
