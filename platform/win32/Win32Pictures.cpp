#include "platform/win32/Win32Pictures.h"

#include "picture/PictureHeader.h"
#include "platform/res/resource.h"
#include "platform/win32/DesignedWindow.h"
#include "platform/win32/PictureDecoding.h"
#include "platform/win32/Text.h"
#include "platform/win32/Trace.h"
#include "platform/win32/Win32FileSystem.h"

namespace {

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    FileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > 64 * 1024 * 1024) return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    return ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
           got == bytes.size();
}

std::string ResourceBytes(LPCWSTR name, LPCWSTR type) {
    HRSRC res = FindResourceW(nullptr, name, type);
    HGLOBAL data = res ? LoadResource(nullptr, res) : nullptr;
    if (!data) return {};
    return std::string(static_cast<const char*>(LockResource(data)), SizeofResource(nullptr, res));
}

// The built-in icon rebuilt as an icon file from its group and image resources.
std::string BuiltInIconFile() {
    const std::string group = ResourceBytes(MAKEINTRESOURCEW(IDI_ORVELUND), RT_GROUP_ICON);
    if (group.size() < 6 + 14) return {};
    const auto* g = reinterpret_cast<const BYTE*>(group.data());
    const WORD id = static_cast<WORD>(g[6 + 12] | (g[6 + 13] << 8));
    const std::string image = ResourceBytes(MAKEINTRESOURCEW(id), RT_ICON);
    std::string file(group.data(), 6);
    file[4] = 1, file[5] = 0;  // one image
    file.append(group.data() + 6, 12);  // width, height, colours, planes, bit count, size
    const DWORD offset = 6 + 16;
    file.append(reinterpret_cast<const char*>(&offset), 4);
    return file + image;
}

std::string BitmapFileOf(const Win32Picture& picture) {
    const int w = picture.width, h = picture.height;
    const int stride = (w * 3 + 3) & ~3;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;  // bottom-up, as bitmap files usually are
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    std::string pixels(static_cast<size_t>(stride) * h, '\0');
    const int rows = GetDIBits(WindowDC(nullptr).get(), picture.bitmap.get(), 0, static_cast<UINT>(h), pixels.data(),
                               &bi, DIB_RGB_COLORS);
    if (rows != h) return {};

    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;  // "BM"
    fh.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(pixels.size());
    bi.bmiHeader.biSizeImage = static_cast<DWORD>(pixels.size());
    std::string file(reinterpret_cast<const char*>(&fh), sizeof(fh));
    file.append(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof(bi.bmiHeader));
    return file + pixels;
}

}  // namespace

const Win32Picture& Win32Picture::Decoded() const {
    if (!resource_) return *this;
    if (!decoded_) {
        decoded_ = DecodeImage(ResourceBytes(MAKEINTRESOURCEW(resource_), RT_RCDATA));
        if (!decoded_) decoded_ = std::make_shared<Win32Picture>();  // drawn as nothing
    }
    return *decoded_;
}

void Win32Picture::Draw(HDC dc, int x, int y, int dpi) const {
    if (resource_) {
        Decoded().Draw(dc, x, y, dpi);
        return;
    }
    const int w = ScaledWidth(dpi), h = ScaledHeight(dpi);
    if (icon) {
        DrawIconEx(dc, x, y, icon.get(), w, h, 0, nullptr, DI_NORMAL);
        return;
    }
    const MemoryDC memory(CreateCompatibleDC(dc));
    const SelectedObject selected(memory.get(), bitmap.get());
    const HDC mem = memory.get();
    if (opaque && (w != width || h != height)) {
        const int oldMode = SetStretchBltMode(dc, HALFTONE);
        POINT oldOrigin;
        SetBrushOrgEx(dc, 0, 0, &oldOrigin);  // as HALFTONE asks
        StretchBlt(dc, x, y, w, h, mem, 0, 0, width, height, SRCCOPY);
        SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
        SetStretchBltMode(dc, oldMode);
    } else {
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        GdiAlphaBlend(dc, x, y, w, h, mem, 0, 0, width, height, blend);
    }
}

HICON IconOf(const PicturePtr& picture) {
    auto* p = dynamic_cast<const Win32Picture*>(picture.get());
    return p ? p->icon.get() : nullptr;
}

PicturePtr Win32Pictures::LoadPicture(const std::string& path, const ShownArea& shown) {
    if (path.empty()) return nullptr;
    const std::wstring wide = Wide(path);
    const std::wstring key = wide + L"|" + std::to_wstring(shown.width) + L"x" + std::to_wstring(shown.height) +
                             (shown.centred ? L"c" : L"");
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &info)) return nullptr;
    const std::uint64_t size = (std::uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    const std::uint64_t written =
        (std::uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime;
    const auto hit = cache_.find(key);
    if (hit != cache_.end() && hit->second.size == size && hit->second.written == written) return hit->second.picture;

    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return nullptr;
    // The system's loaders trust a file's header: a damaged one is refused here, before any of
    // them sees it.
    const PictureInfo header =
        ReadPictureHeader(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), bytes.size());
    PicturePtr picture;
    if (!header.Sound()) {
        Trace("picture not loaded: " + path + ": " + header.problem);
    } else if (header.kind == PictureKind::Ico) {
        picture = DecodeIcon(bytes);
    } else {
        if (header.kind == PictureKind::Bmp) picture = DecodeBitmapFile(path, shown);
        if (!picture) picture = DecodeImage(bytes, shown);
    }
    // A picture that cannot be loaded is remembered too, so that page turns do not read and check
    // the same damaged file again and again.
    if (cache_.size() >= 64) cache_.clear();  // a long menu of distinct pictures starts the cache afresh
    cache_[key] = {size, written, picture};
    return picture;
}

PicturePtr Win32Pictures::BuiltIn(BuiltInPicture which) {
    const auto slot = static_cast<size_t>(which);
    if (which == BuiltInPicture::None || slot >= std::size(builtIn_)) return nullptr;
    if (builtIn_[slot]) return builtIn_[slot];
    if (which == BuiltInPicture::Icon) {
        IconHandle icon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ORVELUND),
                                                      IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR)));
        builtIn_[slot] = MakeIcon(BuiltInIconFile(), std::move(icon));
    } else {
        static const int ids[] = {0, IDR_MAIN_PICTURE, IDR_BUTTON_INSTRUCTIONS, IDR_BUTTON_WEBSITE,
                                  IDR_BUTTON_EXPLORE, IDR_BUTTON_UPDATE, IDR_ARROW_UP, IDR_ARROW_DOWN};
        builtIn_[slot] = std::make_shared<Win32Picture>(ids[slot]);
    }
    return builtIn_[slot];
}

bool Win32Pictures::SavePicture(const PicturePtr& picture, const std::string& path) {
    auto* lazy = dynamic_cast<const Win32Picture*>(picture.get());
    if (!lazy) return false;
    const Win32Picture* p = &lazy->Decoded();
    if (!p->bitmap && !p->icon) return false;
    const std::string file = p->icon ? p->iconFile : BitmapFileOf(*p);
    return !file.empty() && WriteFileAtomic(path, file);
}

PicturePtr Win32Pictures::LoadPictureToFit(const std::string& path, int width, int height, std::int32_t ground) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return nullptr;
    const PictureInfo header =
        ReadPictureHeader(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), bytes.size());
    if (!header.Sound()) {
        Trace("picture not loaded: " + path + ": " + header.problem);
        return nullptr;
    }
    return DecodeImageToFit(bytes, width, height, ColorRef(ground));
}
