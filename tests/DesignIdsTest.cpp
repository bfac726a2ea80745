// Every control id the code uses names the control it means: the id is the control's tab index in
// its window's design, and a control added or moved in a design must not shift the others' ids
// away from their names.
#include <gtest/gtest.h>

#include "platform/ChooseFolderDesign.h"
#include "platform/MainWindowDesign.h"
#include "platform/MediumCheckDesign.h"
#include "platform/MenuItemDesign.h"
#include "platform/ProgressDesign.h"
#include "platform/SetupWizardDesign.h"

namespace {

::testing::AssertionResult Names(const WindowDesign& design, ControlId id, const std::string& name, int index = -1) {
    if (id < 0 || static_cast<std::size_t>(id) >= design.controls.size())
        return ::testing::AssertionFailure() << name << ": id " << id << " is not in the design";
    const ControlDesign& c = design.controls[static_cast<std::size_t>(id)];
    if (c.name != name || c.index != index)
        return ::testing::AssertionFailure() << "id " << id << " is " << c.name << "(" << c.index << "), not " << name
                                             << "(" << index << ")";
    return ::testing::AssertionSuccess();
}

struct Named {
    ControlId id;
    const char* name;
    int index;
};
// The constant's own name is the control's name.
#define NAMED(ns, control) Named{ns::control, #control, -1}

// Each constant names its control, and every control of the window has a constant.
void ExpectNames(const WindowDesign& design, std::initializer_list<Named> ids) {
    for (const Named& n : ids) EXPECT_TRUE(Names(design, n.id, n.name, n.index));
    EXPECT_EQ(design.controls.size(), ids.size());
}

}  // namespace

TEST(DesignIds, MainWindow) {
    const WindowDesign& d = MainWindowDesign();
    EXPECT_TRUE(Names(d, MainCtl::Picture1, "Picture1"));
    for (int k = 0; k < MainCtl::kMenuButtons; ++k) {
        EXPECT_TRUE(Names(d, MainCtl::BtnMenu(k), "btnMenu", k));
        EXPECT_TRUE(Names(d, MainCtl::LblMenu(k), "lblMenu", k));
    }
    EXPECT_TRUE(Names(d, MainCtl::BtnPrev, "btnPrev"));
    EXPECT_TRUE(Names(d, MainCtl::BtnNext, "btnNext"));
    EXPECT_EQ(d.controls.size(), static_cast<std::size_t>(MainCtl::BtnNext) + 1);
}

TEST(DesignIds, EditorsAndRelocationWindow) {
    ExpectNames(SetupWizardDesign(),
                {NAMED(WizardCtl, sTitle), NAMED(WizardCtl, AppImage), NAMED(WizardCtl, AutoRunReset),
                 NAMED(WizardCtl, Instructions), NAMED(WizardCtl, Update), NAMED(WizardCtl, AddItem),
                 NAMED(WizardCtl, DeleteItem), NAMED(WizardCtl, MoveUp), NAMED(WizardCtl, MoveDown),
                 NAMED(WizardCtl, OKButton), NAMED(WizardCtl, CancelButton), NAMED(WizardCtl, sMenuItems),
                 NAMED(WizardCtl, AppIcon), Named{WizardCtl::Color0, "Color", 0}, Named{WizardCtl::Color1, "Color", 1},
                 NAMED(WizardCtl, HideSetup), NAMED(WizardCtl, Content), NAMED(WizardCtl, CheckMedium)});
    ExpectNames(MenuItemDesign(),
                {NAMED(ItemCtl, OKButton), NAMED(ItemCtl, CancelButton), NAMED(ItemCtl, mButton), NAMED(ItemCtl, mLabel),
                 NAMED(ItemCtl, mFileFolder), NAMED(ItemCtl, mAction), NAMED(ItemCtl, mImage), NAMED(ItemCtl, lButton),
                 NAMED(ItemCtl, lLabel), NAMED(ItemCtl, lFileFolder), NAMED(ItemCtl, lAction), NAMED(ItemCtl, Label1),
                 NAMED(ItemCtl, lImage), NAMED(ItemCtl, Frame1), NAMED(ItemCtl, Refresh), NAMED(ItemCtl, mTest),
                 NAMED(ItemCtl, BrowseFile), NAMED(ItemCtl, BrowseFolder)});
    ExpectNames(MediumCheckDesign(),
                {NAMED(CheckCtl, lblSummary), NAMED(CheckCtl, lvFindings), NAMED(CheckCtl, lblDetails),
                 NAMED(CheckCtl, txtDetails), NAMED(CheckCtl, CheckAgain), NAMED(CheckCtl, WriteWebPage),
                 NAMED(CheckCtl, MakeDiscImage), NAMED(CheckCtl, CloseButton)});
    ExpectNames(ChooseFolderDesign(), {NAMED(ChooseCtl, OKButton), NAMED(ChooseCtl, CancelButton),
                                       NAMED(ChooseCtl, Drive1), NAMED(ChooseCtl, Dir1)});
    ExpectNames(ProgressDesign(), {NAMED(ProgressCtl, CancelButton), NAMED(ProgressCtl, lText), NAMED(ProgressCtl, Bar)});
}
