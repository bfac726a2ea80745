#include "app/WindowRules.h"

namespace {
unsigned Bit(ProgramWindow w) { return 1u << static_cast<unsigned>(w); }
}  // namespace

OpenWindows::OpenWindows(std::initializer_list<ProgramWindow> open) {
    for (ProgramWindow w : open) Add(w);
}

void OpenWindows::Add(ProgramWindow w) { bits_ |= Bit(w); }

bool OpenWindows::Has(ProgramWindow w) const { return (bits_ & Bit(w)) != 0; }

ShowAction WhenShown(ProgramWindow w, const OpenWindows& open) {
    if ((w == ProgramWindow::ItemEditor || w == ProgramWindow::MediumCheck) && !open.Has(ProgramWindow::MenuEditor))
        return ShowAction::Refuse;
    return open.Has(w) ? ShowAction::BringForward : ShowAction::Create;
}

std::vector<ProgramWindow> ClosingWith(ProgramWindow w) {
    // The item editor never outlives the rows it points into; its edits go unsaved, as the
    // editor's own do.
    if (w == ProgramWindow::MenuEditor) return {ProgramWindow::ItemEditor, ProgramWindow::MediumCheck};
    return {};
}

bool MainShowsAtStart(const OpenWindows& open) {
    return open.Has(ProgramWindow::Main) && !open.Has(ProgramWindow::MenuEditor);
}
