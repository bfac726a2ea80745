// The design states of the Menu Editor, the item editor and the relocation window.
#include "platform/ChooseFolderDesign.h"
#include "platform/MediumCheckDesign.h"
#include "platform/MenuItemDesign.h"
#include "platform/SetupWizardDesign.h"

namespace {

ControlDesign Make(const char* name, ControlKind kind, int left, int top, int width, int height,
                   const char* caption = "", std::optional<std::int32_t> back = std::nullopt, int index = -1) {
    ControlDesign c;
    c.name = name;
    c.index = index;
    c.kind = kind;
    c.left = left, c.top = top, c.width = width, c.height = height;
    c.caption = caption;
    c.backColor = back;
    return c;
}

// "MS Sans Serif" is a bitmap font of a few code pages; "Microsoft Sans Serif", its TrueType twin,
// has the other scripts or links them.
const FontDesign kSansSerif975{"MS Sans Serif", 9.75, false, false, false, "Microsoft Sans Serif"};
const FontDesign kArial825{"Arial", 8.25, false, false, false};

WindowDesign MakeSetupWizard() {
    using K = ControlKind;
    WindowDesign w;
    w.caption = "Orvelund - Menu Editor";
    w.border = BorderStyle::FixedDialog;
    w.clientWidth = 11790, w.clientHeight = 5730;
    w.icon = BuiltInPicture::Icon;

    auto& c = w.controls;
    c.push_back(Make("sTitle", K::TextBox, 1200, 120, 5415, 315));
    c.back().centred = true;
    c.back().font = kSansSerif975;
    c.push_back(Make("AppImage", K::Label, 1200, 600, 2055, 255, "Application Image (app.jpg)", Rgb(255, 255, 255)));
    c.back().foreColor = Rgb(0, 0, 255);
    c.back().font = {"MS Sans Serif", 8.25, false, false, true, "Microsoft Sans Serif"};
    c.back().toolTip = "App Image (624x207) - app.jpg";
    c.push_back(Make("AutoRunReset", K::CommandButton, 3600, 480, 1455, 375, "Update AutoRun", Rgb(128, 255, 128)));
    c.push_back(Make("Instructions", K::CommandButton, 6960, 240, 1095, 375, "Instructions", Rgb(255, 255, 192)));
    c.push_back(Make("Update", K::CommandButton, 3600, 840, 1455, 375, "Update Orvelund", Rgb(192, 255, 192)));
    c.push_back(Make("AddItem", K::CommandButton, 8400, 240, 1095, 375, "Add Item", Rgb(255, 255, 0)));
    c.push_back(Make("DeleteItem", K::CommandButton, 8400, 600, 1095, 375, "Delete Item", Rgb(255, 128, 0)));
    c.push_back(Make("MoveUp", K::PictureBox, 9600, 240, 495, 495, "", kWindowBackground));
    c.back().picture = BuiltInPicture::ArrowUp;
    c.back().toolTip = "Move Up";
    c.back().tabStop = true;
    c.push_back(Make("MoveDown", K::PictureBox, 9600, 720, 495, 495, "", kWindowBackground));
    c.back().picture = BuiltInPicture::ArrowDown;
    c.back().toolTip = "Move Down";
    c.back().tabStop = true;
    c.push_back(Make("OKButton", K::CommandButton, 10440, 120, 1215, 375, "OK", Rgb(192, 192, 255)));
    c.push_back(Make("CancelButton", K::CommandButton, 10440, 480, 1215, 375, "Cancel", Rgb(255, 192, 192)));
    c.push_back(Make("sMenuItems", K::ListView, 120, 1320, 11535, 4335));
    c.back().font = kArial825;
    c.back().toolTip = "Double Click to Edit Menu Item";
    c.push_back(Make("AppIcon", K::PictureBox, 120, 0, 975, 975, "", kWindowBackground));
    c.back().border = true;
    c.back().toolTip = "Icon (64x64) - app.ico";
    c.push_back(Make("Color", K::CommandButton, 5160, 480, 1455, 375, "Button Color", Rgb(192, 192, 255), 0));
    c.push_back(Make("Color", K::CommandButton, 5160, 840, 1455, 375, "BackGround Color", Rgb(255, 255, 255), 1));
    c.push_back(Make("HideSetup", K::CheckBox, 1200, 960, 2175, 255, "Hide Setup Menu Option", Rgb(255, 255, 255)));
    c.push_back(Make("Content", K::CommandButton, 6960, 600, 1095, 375, "My Content", Rgb(255, 224, 192)));
    // Added to the window's free space under OK and Cancel: every other control keeps its place.
    c.push_back(Make("CheckMedium", K::CommandButton, 10440, 900, 1290, 375, "Check Medium", Rgb(224, 224, 255)));
    c.back().toolTip = "Check the medium as it would be saved now";
    for (auto& control : c)
        if (control.kind == K::PictureBox) control.foreColor = kWindowText;
    return w;
}

WindowDesign MakeMenuItem() {
    using K = ControlKind;
    WindowDesign w;
    w.caption = "Orvelund - Edit Menu Item";
    w.border = BorderStyle::FixedDialog;
    // Wider by a column to the right of File / URL Folder for its two buttons; every other control
    // keeps its place.
    w.clientWidth = 7455, w.clientHeight = 3165;
    auto& c = w.controls;
    c.push_back(Make("OKButton", K::CommandButton, 5160, 120, 1215, 375, "OK", Rgb(192, 192, 255)));
    c.push_back(Make("CancelButton", K::CommandButton, 5160, 600, 1215, 375, "Cancel", Rgb(255, 192, 192)));
    c.push_back(Make("mButton", K::TextBox, 960, 600, 3615, 285));
    c.push_back(Make("mLabel", K::TextBox, 960, 1080, 5415, 285));
    c.push_back(Make("mFileFolder", K::TextBox, 960, 1560, 5415, 285));
    c.push_back(Make("mAction", K::ComboBox, 960, 2040, 2055, 315));
    c.push_back(Make("mImage", K::PictureBox, 960, 2520, 2080, 495, "", kWindowBackground));
    c.back().border = true;
    c.back().toolTip = "Button Image (137x31) - <Button>.jpg";
    c.push_back(Make("lButton", K::Label, 120, 600, 735, 255, "Button", kWindowBackground));
    c.push_back(Make("lLabel", K::Label, 120, 1080, 735, 255, "Label", kWindowBackground));
    c.push_back(Make("lFileFolder", K::Label, 120, 1440, 735, 495, "File / URL Folder", kWindowBackground));
    c.push_back(Make("lAction", K::Label, 120, 2040, 735, 255, "Action", kWindowBackground));
    c.push_back(Make("Label1", K::Label, 960, 0, 4095, 615, "edit", kWindowBackground));
    c.back().centred = true;
    c.back().font = {"Century Gothic", 26.25, true, true, false};
    c.push_back(Make("lImage", K::Label, 120, 2520, 735, 255, "Image", kWindowBackground));
    c.push_back(Make("Frame1", K::Frame, 3480, 1920, 2535, 1095, "Test", kWindowBackground));
    c.back().foreColor = Rgb(64, 64, 64);
    c.push_back(Make("Refresh", K::CommandButton, 720, 240, 855, 255, "Refresh", Rgb(192, 255, 192)));
    c.back().toolTip = "Refresh Image and Button";
    c.back().parent = ItemCtl::Frame1;
    c.push_back(Make("mTest", K::CommandButton, 240, 480, 2055, 495, "", Rgb(192, 192, 255)));
    c.back().font = {"Arial", 8.25, true, false, false};
    c.back().enabled = false;
    c.back().parent = ItemCtl::Frame1;
    // Windows' dialogs for File / URL Folder, in the new column beside the field, in the colour
    // of "My Content", the other button that leads to the medium's files.
    c.push_back(Make("BrowseFile", K::CommandButton, 6495, 1560, 840, 285, "File...", Rgb(255, 224, 192)));
    c.back().toolTip = "Choose the file this entry opens";
    c.push_back(Make("BrowseFolder", K::CommandButton, 6495, 1920, 840, 285, "Folder...", Rgb(255, 224, 192)));
    c.back().toolTip = "Choose the folder this entry opens";
    for (auto& control : c)
        if (control.kind == K::Label || control.kind == K::PictureBox) control.foreColor = kWindowText;
    return w;
}

WindowDesign MakeChooseFolder() {
    using K = ControlKind;
    WindowDesign w;
    w.caption = "Choose New or Existing Location";
    w.border = BorderStyle::FixedToolWindow;
    w.clientWidth = 6030, w.clientHeight = 3195;
    w.centred = false;
    w.left = 2760, w.top = 3720;
    w.backColor = Rgb(255, 255, 255);
    auto& c = w.controls;
    c.push_back(Make("OKButton", K::CommandButton, 3360, 0, 1215, 375, "OK", Rgb(192, 192, 255)));
    c.push_back(Make("CancelButton", K::CommandButton, 4680, 0, 1215, 375, "Cancel", Rgb(192, 192, 255)));
    c.push_back(Make("Drive1", K::DriveList, 0, 0, 2055, 315));
    c.push_back(Make("Dir1", K::FolderList, 0, 360, 6015, 2790));
    return w;
}

WindowDesign MakeMediumCheck() {
    using K = ControlKind;
    WindowDesign w;
    w.caption = "Orvelund - Check Medium";
    w.border = BorderStyle::FixedDialog;
    w.clientWidth = 9255, w.clientHeight = 5895;
    w.icon = BuiltInPicture::Icon;
    auto& c = w.controls;
    // Each label stands before the control it names, which is how a screen reader finds the name.
    c.push_back(Make("lblSummary", K::Label, 120, 60, 9015, 450, "", kWindowBackground));
    c.push_back(Make("lvFindings", K::ListView, 120, 540, 9015, 3075));
    c.back().font = kArial825;
    c.back().toolTip = "Double Click to Edit the Entry";
    c.push_back(Make("lblDetails", K::Label, 120, 3690, 9015, 255, "Message and fix of the selected finding:",
                     kWindowBackground));
    c.push_back(Make("txtDetails", K::TextBox, 120, 3960, 9015, 1335));
    c.back().multiline = true;
    c.back().readOnly = true;
    c.push_back(Make("CheckAgain", K::CommandButton, 120, 5400, 1455, 375, "Check Again", Rgb(192, 255, 192)));
    c.push_back(Make("WriteWebPage", K::CommandButton, 1695, 5400, 1815, 375, "Write Web Page", Rgb(255, 255, 192)));
    c.push_back(Make("MakeDiscImage", K::CommandButton, 3630, 5400, 1815, 375, "Make Disc Image", Rgb(192, 224, 255)));
    c.back().toolTip = "Write the medium as a disc image to burn (ISO)";
    c.push_back(Make("CloseButton", K::CommandButton, 7920, 5400, 1215, 375, "Close", Rgb(255, 192, 192)));
    for (auto& control : c)
        if (control.kind == K::Label) control.foreColor = kWindowText;
    return w;
}

}  // namespace

const WindowDesign& MediumCheckDesign() {
    static const WindowDesign design = MakeMediumCheck();
    return design;
}

const WindowDesign& SetupWizardDesign() {
    static const WindowDesign design = MakeSetupWizard();
    return design;
}

const WindowDesign& MenuItemDesign() {
    static const WindowDesign design = MakeMenuItem();
    return design;
}

const WindowDesign& ChooseFolderDesign() {
    static const WindowDesign design = MakeChooseFolder();
    return design;
}
