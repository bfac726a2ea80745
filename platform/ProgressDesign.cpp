#include "platform/ProgressDesign.h"

namespace {

WindowDesign MakeProgress() {
    WindowDesign w;
    w.caption = "Orvelund";  // each task gives its own
    w.border = BorderStyle::FixedDialog;
    w.clientWidth = 5400, w.clientHeight = 1560;
    w.controls.resize(3);
    ControlDesign& cancel = w.controls[ProgressCtl::CancelButton];
    cancel.name = "CancelButton";
    cancel.kind = ControlKind::CommandButton;
    cancel.left = 4065, cancel.top = 1065, cancel.width = 1215, cancel.height = 375;
    cancel.caption = "Cancel";
    cancel.backColor = Rgb(255, 192, 192);  // as the editors' Cancel
    ControlDesign& text = w.controls[ProgressCtl::lText];
    text.name = "lText";
    text.kind = ControlKind::Label;
    text.left = 120, text.top = 120, text.width = 5160, text.height = 495;  // two lines for a long file name
    text.backColor = kWindowBackground, text.foreColor = kWindowText;
    ControlDesign& bar = w.controls[ProgressCtl::Bar];
    bar.name = "Bar";
    bar.kind = ControlKind::ProgressBar;
    bar.left = 120, bar.top = 690, bar.width = 5160, bar.height = 255;
    return w;
}

}  // namespace

const WindowDesign& ProgressDesign() {
    static const WindowDesign design = MakeProgress();
    return design;
}
