#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <unordered_map>

#include "platform/Picture.h"
#include "platform/win32/Handles.h"

// A loaded picture: either pixels in a 32-bit premultiplied DIB, or an icon that keeps the
// bytes of its icon file so that saving writes the same icon back.
class Win32Picture : public Picture {
public:
    Win32Picture() = default;
    // A built-in picture, decoded only when it is first drawn or saved: most are replaced by the
    // content folder's own pictures before the window first paints.
    explicit Win32Picture(int resource) : resource_(resource) {}

    bool IsIcon() const override { return static_cast<bool>(icon); }
    // Draws the picture with its top left corner at (x, y), scaled from 96 dpi to dpi: pixel for
    // pixel at 96 dpi, smoothed (opaque pictures) at any other.
    void Draw(HDC dc, int x, int y, int dpi) const;
    int ScaledWidth(int dpi) const { return MulDiv(Width(), dpi, 96); }
    int ScaledHeight(int dpi) const { return MulDiv(Height(), dpi, 96); }
    int Width() const { return Decoded().width; }
    int Height() const { return Decoded().height; }
    const Win32Picture& Decoded() const;

    GdiBitmap bitmap;
    IconHandle icon;
    std::string iconFile;
    int width = 0, height = 0;
    bool opaque = false;  // every pixel fully covered: may be stretched with smoothing

private:
    int resource_ = 0;
    mutable std::shared_ptr<Win32Picture> decoded_;
};

HICON IconOf(const PicturePtr& picture);  // nullptr unless the picture is an icon

class Win32Pictures : public PictureService {
public:
    PicturePtr LoadPicture(const std::string& path, const ShownArea& shown) override;
    PicturePtr BuiltIn(BuiltInPicture which) override;
    bool SavePicture(const PicturePtr& picture, const std::string& path) override;
    PicturePtr LoadPictureToFit(const std::string& path, int width, int height, std::int32_t ground) override;

private:
    PicturePtr builtIn_[9];  // decoded once, on first use
    // Pictures already decoded, by path and shown area, with the file's size and time: every page turn asks again
    // for the pictures of the ten buttons in view, and most of them were on screen a moment ago.
    struct Cached {
        std::uint64_t size, written;
        PicturePtr picture;
    };
    std::unordered_map<std::wstring, Cached> cache_;
};
