#include "platform/MainWindowDesign.h"

namespace {

WindowDesign MakeMainWindowDesign() {
    WindowDesign w;
    w.caption = "";
    w.border = BorderStyle::FixedToolWindow;
    w.clientWidth = 9330;
    w.clientHeight = 10440;
    w.icon = BuiltInPicture::Icon;
    w.heightFrame = kMainFrame;

    ControlDesign picture;
    picture.name = "Picture1";
    picture.kind = ControlKind::PictureBox;
    picture.left = 0, picture.top = 0, picture.width = 9330, picture.height = 3135;
    picture.backColor = kWindowBackground;
    picture.foreColor = kWindowText;
    picture.border = true;
    picture.picture = BuiltInPicture::MainPicture;
    picture.tabStop = true;  // so that the keyboard can open its pop-up menu
    w.controls.push_back(picture);

    const BuiltInPicture samples[] = {BuiltInPicture::ButtonInstructions, BuiltInPicture::ButtonWebsite,
                                      BuiltInPicture::ButtonExplore, BuiltInPicture::ButtonUpdate};
    const char* sampleWords[] = {"Instructions", "Website", "Explore", "Update"};  // as the pictures read
    for (int k = 0; k < MainCtl::kMenuButtons; ++k) {
        ControlDesign button;
        button.name = "btnMenu";
        button.index = k;
        button.kind = ControlKind::CommandButton;
        button.left = 480, button.top = 3240 + 720 * k, button.width = 2055, button.height = 495;
        button.backColor = Rgb(192, 192, 255);
        button.font = {"Arial", 8.25, true, false, false};
        if (k < 4) {
            button.picture = samples[k];
            button.accessibleName = sampleWords[k];
        } else {
            button.caption = "Button";
        }
        w.controls.push_back(button);

        ControlDesign label;
        label.name = "lblMenu";
        label.index = k;
        label.kind = ControlKind::Label;
        label.left = 2760, label.top = 3360 + 720 * k, label.width = 6135, label.height = 255;
        label.caption = "Caption";
        label.backColor = Rgb(255, 255, 255);
        label.foreColor = Rgb(0, 0, 64);
        label.font = {"Arial", 9.75, false, true, false};
        w.controls.push_back(label);
    }

    const struct { const char* name; int top; BuiltInPicture picture; const char* tip; } arrows[] = {
        {"btnPrev", 3240, BuiltInPicture::ArrowUp, "Previous"},
        {"btnNext", 9960, BuiltInPicture::ArrowDown, "Next"},
    };
    for (const auto& a : arrows) {
        ControlDesign arrow;
        arrow.name = a.name;
        arrow.kind = ControlKind::PictureBox;
        arrow.left = 8880, arrow.top = a.top, arrow.width = 495, arrow.height = 495;
        arrow.backColor = kWindowBackground;
        arrow.foreColor = kWindowText;
        arrow.picture = a.picture;
        arrow.toolTip = a.tip;
        arrow.visible = false;
        arrow.tabStop = true;
        w.controls.push_back(arrow);
    }
    return w;
}

}  // namespace

const WindowDesign& MainWindowDesign() {
    static const WindowDesign design = MakeMainWindowDesign();
    return design;
}
