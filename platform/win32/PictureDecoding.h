#pragma once
// Picture bytes into the bitmaps and icons the windows draw. Every file handed here has had its
// header checked against its size first (ReadPictureHeader): the system's loaders trust it.
#include <memory>
#include <string>

#include "platform/win32/Win32Pictures.h"

// JPEG, BMP, GIF or PNG data (the imaging component tells them apart) as a premultiplied bitmap
// of only the part `shown` keeps; nullptr when it cannot be decoded.
std::shared_ptr<Win32Picture> DecodeImage(const std::string& bytes, const ShownArea& shown = {});

// A picture file of any kind the imaging component reads (JPEG, BMP, GIF, PNG, ICO; of an icon its
// largest image) scaled down to fit maxWidth x maxHeight with its proportions kept, never
// enlarged, as an opaque bitmap: transparent parts are laid on `ground`. nullptr when it cannot be
// decoded.
std::shared_ptr<Win32Picture> DecodeImageToFit(const std::string& bytes, int maxWidth, int maxHeight, COLORREF ground);

// A bitmap file through user32 alone, so that a start whose pictures are all bitmaps (as the
// first start writes them) never loads the imaging component.
std::shared_ptr<Win32Picture> DecodeBitmapFile(const std::string& path, const ShownArea& shown);

// An icon file's first image at its own size.
std::shared_ptr<Win32Picture> DecodeIcon(const std::string& bytes);

// A picture of an icon, which keeps the icon file it came from to save it again unchanged.
std::shared_ptr<Win32Picture> MakeIcon(const std::string& iconFile, IconHandle icon);
