// The main picture, the button pictures and the icon.

#include <algorithm>
#include <map>
#include <set>

#include "check/CheckerParts.h"

namespace checker {

namespace {

constexpr std::size_t kPictureHead = 64u << 10;  // enough for every header but a JPEG's after a long preview
constexpr std::size_t kMaxPictureBytes = 64u << 20;
constexpr PictureFrame kMainFrame = {624, 213, "main picture", "the window",
                                     "the window's background shows to its right and below it in the 624 x 213 "
                                     "frame"};
constexpr PictureFrame kButtonFrame = {137, 33, "button picture", "the button",
                                       "the button's colour shows to its right and below it"};

}  // namespace

std::optional<PictureInfo> Checker::ReadPicture(const MediumItem& item) {
    auto bytes = Read(item, kPictureHead);
    if (!bytes) return std::nullopt;
    auto info = ReadPictureHeader(reinterpret_cast<const unsigned char*>(bytes->data()), bytes->size(), item.size);
    if (!info.complete && item.size <= kMaxPictureBytes) {
        bytes = medium_.Read(item.path, kMaxPictureBytes);
        if (!bytes) return std::nullopt;
        info = ReadPictureHeader(reinterpret_cast<const unsigned char*>(bytes->data()), bytes->size(), item.size);
    }
    return info;
}

void Checker::CheckPictureSize(const MediumItem& item, std::size_t line, const std::string& entry,
                               const PictureInfo& info, const PictureFrame& frame, const std::string& shownAt) {
    const std::string size = std::to_string(frame.width) + " x " + std::to_string(frame.height);
    const std::string is = std::string("The ") + frame.picture + " is a " + PictureKindName(info.kind) + " of " +
                           std::to_string(info.width) + " x " + std::to_string(info.height) + " pixels; ";
    if (info.width > static_cast<std::uint32_t>(frame.width) || info.height > static_cast<std::uint32_t>(frame.height))
        Warning("W-PICTURE-CLIPPED", item.path, line, entry, is + frame.shownBy + " shows " + size + " from its top "
                "left corner, and the rest is cut off." + shownAt, "Scale or crop the picture to " + size + " pixels.");
    else if (info.width < static_cast<std::uint32_t>(frame.width) ||
             info.height < static_cast<std::uint32_t>(frame.height))
        Note("N-PICTURE-SMALL", item.path, line, entry, is + frame.uncovered + "." + shownAt,
             "Make the picture " + size + " pixels.");
}

void Checker::CheckPictures() {
    const std::vector<CheckedMenu*> menus = Menus();
    const bool anyRead = std::any_of(menus.begin(), menus.end(), [](const CheckedMenu* m) { return m->read; });

    if (const MediumItem* main = FindFile("content\\app.jpg")) {
        const auto info = ReadPicture(*main);
        if (!info || !info->Sound()) {
            Warning("W-MAIN-PICTURE-BROKEN", main->path, 0, "", "The main picture cannot be shown (" +
                    (info ? info->problem : std::string("it cannot be read")) + "): the reader sees the built-in "
                    "banner instead.", "Save the picture again as JPEG, BMP, GIF or PNG of 624 x 213 pixels.");
        } else {
            for (CheckedMenu* menu : menus) menu->mainPicture = main->path;
            CheckPictureSize(*main, 0, "", *info, kMainFrame);
        }
    } else if (anyRead) {
        Warning("W-MAIN-PICTURE-MISSING", "content\\app.jpg", 0, "", "The medium has no main picture: on a disc the "
                "reader sees the built-in banner, and on a stick Orvelund writes it onto the stick at the first "
                "start.", "Copy content\\app.jpg onto the medium (start the menu once to have it written).");
    }

    // Each button picture once, however many entries of however many menus share it, at the first
    // entry that shows it. A finding names config.ini's line; an entry of a language's menu is named
    // in words, as the line is its file's.
    std::set<std::string> used{"app.jpg"};
    used.insert(usedPictures_.begin(), usedPictures_.end());
    std::map<const MediumItem*, std::optional<PictureInfo>> seen;
    for (const PictureUse& use : pictureUses_) {
        const auto info = ReadPicture(*use.item);
        seen[use.item] = info;
        const bool base = use.menuFile == result_.menu.file;
        const std::size_t line = base ? use.line : 0;
        const std::string shownAt =
            base ? "" : " It is the picture of the button on line " + std::to_string(use.line) + " of " + use.menuFile + ".";
        if (info && info->Sound()) {
            CheckPictureSize(*use.item, line, use.button, *info, kButtonFrame, shownAt);
            continue;
        }
        Error("E-PICTURE-BROKEN", use.item->path, line, use.button, "The button picture cannot be shown (" +
              (info ? info->problem : std::string("it cannot be read")) + "): the button shows no name and no "
              "picture of its own, only whatever it showed before." + shownAt,
              "Save the picture again as JPEG, BMP, GIF or PNG of 137 x 33 pixels, or delete it so that the "
              "button shows its name.");
    }
    for (std::size_t m = 0; m < menus.size(); ++m) {
        CheckedMenu& menu = *menus[m];
        for (std::size_t i = 0; i < menu.entries.size(); ++i) {
            const MediumItem* picture = entryPictures_[m][i];
            if (!picture) continue;
            CheckedEntry& e = menu.entries[i];
            const auto& info = seen[picture];
            if (info && info->Sound()) {
                e.picture = picture->path;
            } else {
                e.error = true;
                if (e.problem.empty())
                    e.problem = "Not linked here: its button in the menu shows neither its name nor its picture, as " +
                                picture->path + " cannot be shown.";
            }
        }
    }
    for (const auto& item : index_.Items()) {
        if (item.folder || MediumIndex::Fold(item.path).rfind("content\\", 0) != 0) continue;
        const std::string name = item.path.substr(8);
        if (name.find('\\') != std::string::npos) continue;
        const std::string folded = MediumIndex::Fold(name);
        if (HasExtension(folded, ".jpg") && !used.count(folded))
            Note("N-PICTURE-UNUSED", item.path, 0, "", "No entry's button is named " +
                 Quoted(name.substr(0, name.size() - 4)) + ", so no button shows this picture.",
                 "Rename the picture after its button, or delete it.");
    }

    if (const MediumItem* icon = FindFile("content\\app.ico")) {
        const auto info = ReadPicture(*icon);
        if (!info || !info->Sound() || info->kind != PictureKind::Ico)
            Warning("W-ICON-BROKEN", icon->path, 0, "", "The drive and window icon is not a sound icon file (" +
                    (!info ? std::string("it cannot be read")
                           : !info->problem.empty() ? info->problem
                                                    : std::string("it holds a ") + PictureKindName(info->kind)) +
                    "): Windows shows a plain icon instead.", "Save the icon as a .ico file.");
    }
}

}  // namespace checker
