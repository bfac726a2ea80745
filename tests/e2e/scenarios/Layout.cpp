#include "Layout.h"

namespace orv {

std::vector<Twips> MainControls() {
    std::vector<Twips> all{{kPicture1, 0, 0, 9330, 3135}, {kBtnPrev, 8880, 3240, 495, 495}, {kBtnNext, 8880, 9960, 495, 495}};
    for (int k = 0; k < 10; ++k) {
        all.push_back({BtnMenu(k), 480, 3240 + 720 * k, 2055, 495});
        all.push_back({LblMenu(k), 2760, 3360 + 720 * k, 6135, 255});
    }
    return all;
}

std::vector<Twips> EditorControls() {
    using namespace wizard;
    return {{sTitle, 1200, 120, 5415, 315},     {AutoRunReset, 3600, 480, 1455, 375}, {AddItem, 8400, 240, 1095, 375},
            {MoveUp, 9600, 240, 495, 495},      {MoveDown, 9600, 720, 495, 495},      {OKButton, 10440, 120, 1215, 375},
            {sMenuItems, 120, 1320, 11535, 4335}, {AppIcon, 120, 0, 975, 975},        {HideSetup, 1200, 960, 2175, 255},
            {CheckMedium, 10440, 900, 1290, 375}};
}

// Controls inside the "Test" frame (3480, 1920) are placed by its corner.
std::vector<Twips> ItemControls() {
    using namespace item;
    return {{OKButton, 5160, 120, 1215, 375}, {mButton, 960, 600, 3615, 285}, {mFileFolder, 960, 1560, 5415, 285},
            {mImage, 960, 2520, 2080, 495},   {Refresh, 3480 + 720, 1920 + 240, 855, 255},
            {mTest, 3480 + 240, 1920 + 480, 2055, 495}, {BrowseFile, 6495, 1560, 840, 285},
            {BrowseFolder, 6495, 1920, 840, 285}};
}

std::vector<Twips> CheckControls() {
    using namespace check;
    return {{lblSummary, 120, 60, 9015, 450},      {lvFindings, 120, 540, 9015, 3075},
            {txtDetails, 120, 3960, 9015, 1335},   {CheckAgain, 120, 5400, 1455, 375},
            {WriteWebPage, 1695, 5400, 1815, 375}, {MakeDiscImage, 3630, 5400, 1815, 375},
            {CloseButton, 7920, 5400, 1215, 375}};
}

RECT RectAt(const Twips& t, int dpi) {
    return {PxAt(t.left, dpi), PxAt(t.top, dpi), PxAt(t.left, dpi) + PxAt(t.width, dpi),
            PxAt(t.top, dpi) + PxAt(t.height, dpi)};
}

::testing::AssertionResult LaidOutAt(HWND window, const std::vector<Twips>& controls, int dpi) {
    for (const Twips& t : controls) {
        const e2e::Control c = e2e::Describe(e2e::FindControl(window, t.id));
        const RECT want = RectAt(t, dpi);
        if (!EqualRect(&c.rect, &want))
            return ::testing::AssertionFailure()
                   << "control " << t.id << " at " << dpi << " dpi is (" << c.rect.left << "," << c.rect.top << ")-("
                   << c.rect.right << "," << c.rect.bottom << "), expected (" << want.left << "," << want.top << ")-("
                   << want.right << "," << want.bottom << ")";
    }
    return ::testing::AssertionSuccess();
}

long FontHeightAt(double points, int dpi) { return -static_cast<long>(points * dpi / 72.0 + 0.5); }

}  // namespace orv
