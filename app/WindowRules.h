#pragma once
// The rules of the program's windows' lives: each exists at most once, the item editor edits a
// row of the Menu Editor's list and the check window checks what the Menu Editor shows, so both
// live only while that is open, and the program ends when its last window has gone.
#include <initializer_list>
#include <vector>

enum class ProgramWindow { Main, MenuEditor, ItemEditor, Relocation, MediumCheck };

// The windows that are open: made, and not closed since.
class OpenWindows {
public:
    OpenWindows(std::initializer_list<ProgramWindow> open = {});
    void Add(ProgramWindow w);
    bool Has(ProgramWindow w) const;

private:
    unsigned bits_ = 0;
};

enum class ShowAction {
    Create,        // a new window, counted, loaded and shown
    BringForward,  // the open one again
    Refuse,        // not now
};
ShowAction WhenShown(ProgramWindow w, const OpenWindows& open);

// The windows that close when `w` has gone.
std::vector<ProgramWindow> ClosingWith(ProgramWindow w);

// Whether the main window shows at the end of start-up: not when start-up closed it, nor when it
// opened the Menu Editor, which then shows alone until its OK or Cancel brings the menu.
bool MainShowsAtStart(const OpenWindows& open);

// The windows that exist, closed or not; the program ends when the last has gone.
class WindowCount {
public:
    void Made() { ++count_; }
    bool Gone() { return --count_ == 0; }  // true: that was the last one

private:
    int count_ = 0;
};
