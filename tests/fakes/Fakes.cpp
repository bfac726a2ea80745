#include "tests/fakes/FakeForm.h"
#include "tests/fakes/FakeServices.h"

#include "app/PopupMenu.h"
#include "platform/ChooseFolderDesign.h"
#include "platform/MainWindowDesign.h"
#include "platform/MediumCheckDesign.h"
#include "platform/SetupWizardDesign.h"

FakeForm::FakeForm(const WindowDesign& design, PictureService& pictures)
    : caption(design.caption),
      icon(pictures.BuiltIn(design.icon)),
      backColor(design.backColor),
      height(design.clientHeight + design.heightFrame.top + design.heightFrame.edge) {
    for (const auto& c : design.controls)
        controls.push_back({c.caption, pictures.BuiltIn(c.picture), c.backColor.value_or(kWindowBackground),
                            c.visible, c.enabled, c.accessibleName.empty() ? c.toolTip : c.accessibleName});
}

FakeMainForm::FakeMainForm(PictureService& pictures) : FakeForm(MainWindowDesign(), pictures) {}

FakeChooseFolderForm::FakeChooseFolderForm(PictureService& pictures) : FakeForm(ChooseFolderDesign(), pictures) {}

FakeMediumCheckForm::FakeMediumCheckForm(PictureService& pictures) : FakeForm(MediumCheckDesign(), pictures) {}

FakeSetupWizardForm::FakeSetupWizardForm(PictureService& pictures)
    : FakeForm(SetupWizardDesign(), pictures), checked(SetupWizardDesign().controls.size(), false) {}

PopupCommand FakeMainForm::ShowPopupMenu(int, int) {
    const std::vector<PopupItem> items = PopupMenuItems(setupMenuVisible);
    std::vector<std::string> texts;
    for (const auto& item : items) texts.push_back(item.text);
    popupsShown.push_back(texts);
    if (popupAnswers.empty()) return PopupCommand::None;
    const PopupCommand answer = popupAnswers.front();
    popupAnswers.pop_front();
    // The user picks the item that gives the answer; one the menu does not offer cannot be picked.
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].command == answer) return PopupChoice(items, static_cast<int>(i));
    return PopupCommand::None;
}

int FakeDialogs::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    shown.push_back({prompt, buttons, title});
    if (answers.empty()) return mb::Ok;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

std::string SourceOf(const PicturePtr& picture) {
    auto* p = dynamic_cast<const FakePicture*>(picture.get());
    return p ? p->source : std::string();
}

PicturePtr FakePictures::LoadPicture(const std::string& path, const ShownArea& shown) {
    if (!fs_.Has(path)) return nullptr;
    const std::string content = fs_.Content(path);
    if (content.rfind("broken", 0) == 0) return nullptr;
    return std::make_shared<FakePicture>(FakeFileSystem::Key(path), content.rfind("ICON", 0) == 0, shown);
}

PicturePtr FakePictures::BuiltIn(BuiltInPicture which) {
    static const char* names[] = {"",           "built-in:main",    "built-in:instructions", "built-in:website",
                                  "built-in:explore", "built-in:update", "built-in:arrow-up", "built-in:arrow-down",
                                  "built-in:icon"};
    if (which == BuiltInPicture::None) return nullptr;
    return std::make_shared<FakePicture>(names[static_cast<int>(which)], which == BuiltInPicture::Icon);
}

bool FakePictures::SavePicture(const PicturePtr& picture, const std::string& path) {
    auto* p = dynamic_cast<const FakePicture*>(picture.get());
    if (!p) return false;
    return fs_.WriteBytes(path, (p->icon ? "ICON:" : "BMP:") + p->source);
}

PicturePtr FakePictures::LoadPictureToFit(const std::string& path, int width, int height, std::int32_t) {
    auto picture = std::dynamic_pointer_cast<const FakePicture>(LoadPicture(path, {}));
    if (!picture) return nullptr;
    return std::make_shared<FakePicture>(picture->source, false, ShownArea{width, height, false});
}
