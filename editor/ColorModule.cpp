#include "editor/ColorModule.h"

#include "platform/ColorDialog.h"
#include "platform/Design.h"

namespace ColorModule {

std::array<std::int32_t, 16> CustomColors() {
    std::array<std::int32_t, 16> c{};
    c.fill(Rgb(160, 160, 160));
    c[0] = Rgb(139, 155, 184);
    c[1] = Rgb(188, 213, 254);
    c[2] = Rgb(115, 172, 183);
    c[3] = Rgb(200, 249, 198);
    c[4] = Rgb(189, 194, 253);
    c[5] = Rgb(200, 249, 255);
    c[6] = Rgb(108, 213, 210);
    c[7] = Rgb(236, 164, 236);
    return c;
}

void ShowColorDialog(ColorDialog& dialog, std::int32_t& ChosenColor, bool& Cancelled) {
    // Rebuilt at every opening: colours the user defined last time are not kept.
    auto custom = CustomColors();
    std::int32_t result = 0;
    if (dialog.Pick(custom, result)) ChosenColor = result;
    else Cancelled = true;
}

}  // namespace ColorModule
