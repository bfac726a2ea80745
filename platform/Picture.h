#pragma once
// Pictures as the behaviour classes see them: opaque values that a form can show and the
// picture service can save. Only the platform layer knows what is inside.
#include <cstdint>
#include <memory>
#include <string>

enum class BuiltInPicture {
    None,
    MainPicture,         // the banner across the top of the main window, 624 x 213
    ButtonInstructions,  // the four sample button pictures, 137 x 33
    ButtonWebsite,
    ButtonExplore,
    ButtonUpdate,
    ArrowUp,             // the scroll arrows, 30 x 29
    ArrowDown,
    Icon,                // the program icon, 64 x 64
};

class Picture {
public:
    virtual ~Picture() = default;
    virtual bool IsIcon() const = 0;
};
using PicturePtr = std::shared_ptr<const Picture>;

// The part of a picture that a control shows. Pictures are drawn at their own size (scaled with
// the screen, like the control), clipped to the control: centred on a button, from the top left
// corner in a picture box. Only that part is kept decoded, so a camera photo on a button costs
// what the button shows. Sizes in pixels at 96 dpi; 0 keeps the whole picture.
struct ShownArea {
    int width = 0, height = 0;
    bool centred = false;
    bool operator==(const ShownArea& o) const { return width == o.width && height == o.height && centred == o.centred; }
};

class PictureService {
public:
    virtual ~PictureService() = default;
    // Loads a JPEG, BMP, ICO, GIF or PNG file, recognised by its content, not its name.
    // Returns nullptr when the file is missing, cannot be read as a picture, or its header does not
    // fit the file (a damaged file never reaches the system's decoders). Keeps only `shown`.
    virtual PicturePtr LoadPicture(const std::string& path, const ShownArea& shown) = 0;
    virtual PicturePtr BuiltIn(BuiltInPicture which) = 0;
    // Writes an icon as an icon file and any other picture as a Windows bitmap, whatever the
    // name's extension. The file is swapped in whole; false when it could not be written.
    virtual bool SavePicture(const PicturePtr& picture, const std::string& path) = 0;
    // Loads a picture as LoadPicture does and scales it down to fit width x height pixels with its
    // proportions kept (never enlarged): one opaque bitmap whatever the file was, an icon too, its
    // transparent parts on `ground` (a colour value). nullptr as LoadPicture; a service that
    // makes no pictures (the medium checker's) always answers so.
    virtual PicturePtr LoadPictureToFit(const std::string& /*path*/, int /*width*/, int /*height*/,
                                        std::int32_t /*ground*/) {
        return nullptr;
    }
};
