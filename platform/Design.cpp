#include "platform/Design.h"

#include <algorithm>

int FittingDpi(int dpi, int clientWidth, int clientHeight, PixelPoint frame, const PixelRect& work) {
    const auto fits = [&](int d) {
        return TwipsToPixels(clientWidth, d) + frame.x <= work.Width() &&
               TwipsToPixels(clientHeight, d) + frame.y <= work.Height();
    };
    for (int d = dpi; d > kMinLayoutDpi; --d)
        if (fits(d)) return d;
    return std::min(dpi, kMinLayoutDpi);
}

PixelPoint CentredIn(const PixelRect& work, int width, int height) {
    return {work.left + std::max(0, (work.Width() - width) / 2), work.top + std::max(0, (work.Height() - height) / 2)};
}

PixelPoint KeptInside(const PixelRect& work, PixelPoint at, int width, int height) {
    const int x = std::max(work.left, std::min(at.x, work.right - width));
    const int y = std::max(work.top, std::min(at.y, work.bottom - height));
    return {x, y};
}
