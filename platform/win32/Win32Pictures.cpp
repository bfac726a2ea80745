#include "platform/win32/Win32Pictures.h"

#include <wincodec.h>

#include <algorithm>
#include <cstring>

#include "picture/PictureHeader.h"
#include "platform/res/resource.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Text.h"
#include "platform/win32/Trace.h"
#include "platform/win32/Win32FileSystem.h"

namespace {

// The imaging component is not a DLL that Windows always takes from System32, so it is loaded
// from there by full search path rather than imported.
IWICImagingFactory* Factory() {
    static IWICImagingFactory* factory = [] {
        EnsureCom();
        IWICImagingFactory* f = nullptr;
        HMODULE dll = LoadSystemLibrary(L"windowscodecs.dll");
        using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
        auto get = dll ? reinterpret_cast<GetClassObject>(
                             reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")))
                       : nullptr;
        ComPtr<IClassFactory> classFactory;
        if (get && SUCCEEDED(get(CLSID_WICImagingFactory, IID_IClassFactory,
                                 reinterpret_cast<void**>(classFactory.put()))))
            classFactory->CreateInstance(nullptr, IID_IWICImagingFactory, reinterpret_cast<void**>(&f));
        return f;
    }();
    return factory;
}

// The rectangle of a w x h picture that `shown` keeps. A centred part stays centred when drawn
// centred, and a top-left part drawn from the corner, so the control shows what it always did.
RECT Kept(int w, int h, const ShownArea& shown) {
    const int keptW = shown.width > 0 && shown.width < w ? shown.width : w;
    const int keptH = shown.height > 0 && shown.height < h ? shown.height : h;
    const int left = shown.centred ? (w - keptW) / 2 : 0, top = shown.centred ? (h - keptH) / 2 : 0;
    return {left, top, left + keptW, top + keptH};
}

// Decodes JPEG, BMP, GIF or PNG data (WIC tells them apart) into a premultiplied DIB, only the
// part `shown` keeps.
std::shared_ptr<Win32Picture> DecodeImage(const std::string& bytes, const ShownArea& shown = {}) {
    IWICImagingFactory* factory = Factory();
    if (!factory || bytes.empty()) return nullptr;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                            static_cast<DWORD>(bytes.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                     nullptr, 0, WICBitmapPaletteTypeCustom)))
        return nullptr;
    UINT fullW = 0, fullH = 0;
    if (FAILED(converter->GetSize(&fullW, &fullH)) || fullW == 0 || fullH == 0 || fullW > kMaxPictureSide ||
        fullH > kMaxPictureSide)
        return nullptr;
    const RECT kept = Kept(static_cast<int>(fullW), static_cast<int>(fullH), shown);
    const UINT w = static_cast<UINT>(kept.right - kept.left), h = static_cast<UINT>(kept.bottom - kept.top);
    const WICRect rect{kept.left, kept.top, static_cast<INT>(w), static_cast<INT>(h)};

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = static_cast<LONG>(w);
    bi.bmiHeader.biHeight = -static_cast<LONG>(h);  // top-down rows, as WIC delivers them
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    auto picture = std::make_shared<Win32Picture>();
    picture->bitmap.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture->bitmap || FAILED(converter->CopyPixels(&rect, w * 4, w * h * 4, static_cast<BYTE*>(bits))))
        return nullptr;
    picture->width = static_cast<int>(w);
    picture->height = static_cast<int>(h);
    const auto* pixel = static_cast<const std::uint32_t*>(bits);
    picture->opaque = std::all_of(pixel, pixel + std::size_t(w) * h, [](std::uint32_t p) { return p >= 0xFF000000u; });
    return picture;
}

std::shared_ptr<Win32Picture> MakeIcon(const std::string& iconFile, IconHandle icon) {
    if (!icon) return nullptr;
    auto picture = std::make_shared<Win32Picture>();
    picture->icon = std::move(icon);
    picture->iconFile = iconFile;
    ICONINFO info{};
    if (GetIconInfo(picture->icon.get(), &info)) {
        const GdiBitmap color(info.hbmColor), mask(info.hbmMask);  // the copies GetIconInfo makes
        BITMAP bm{};
        GetObjectW(color ? color.get() : mask.get(), sizeof(bm), &bm);
        picture->width = bm.bmWidth;
        picture->height = color ? bm.bmHeight : bm.bmHeight / 2;
    }
    return picture;
}

// An icon file's first image at its own size.
std::shared_ptr<Win32Picture> DecodeIcon(const std::string& bytes) {
    const auto* b = reinterpret_cast<const BYTE*>(bytes.data());
    const WORD count = static_cast<WORD>(b[4] | (b[5] << 8));
    if (count == 0 || bytes.size() < 6 + 16u * count) return nullptr;
    DWORD size, offset;
    std::memcpy(&size, b + 6 + 8, 4);
    std::memcpy(&offset, b + 6 + 12, 4);
    if (offset > bytes.size() || size > bytes.size() - offset) return nullptr;
    const int w = b[6] ? b[6] : 256, h = b[7] ? b[7] : 256;
    IconHandle icon(CreateIconFromResourceEx(const_cast<BYTE*>(b + offset), size, TRUE, 0x00030000, w, h,
                                             LR_DEFAULTCOLOR));
    return MakeIcon(bytes, std::move(icon));
}

// A Windows bitmap file through user32 alone, so that a start whose pictures are all bitmaps (as
// the first start writes them) never loads the imaging component.
// Only called for files whose header has been checked against their size.
std::shared_ptr<Win32Picture> DecodeBitmapFile(const std::string& path, const ShownArea& shown) {
    GdiBitmap loaded(static_cast<HBITMAP>(
        LoadImageW(nullptr, Wide(path).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    BITMAP full{};
    if (!loaded || !GetObjectW(loaded.get(), sizeof(full), &full) || full.bmWidth <= 0 || full.bmHeight <= 0)
        return nullptr;
    const RECT kept = Kept(full.bmWidth, full.bmHeight, shown);
    if (kept.right - kept.left != full.bmWidth || kept.bottom - kept.top != full.bmHeight) {
        // Copy the kept part into a bitmap of its own and let the whole one go.
        GdiBitmap part;
        BOOL copied = FALSE;
        {
            // Both bitmaps leave their device contexts at the end of this block, before either is used or let go.
            const WindowDC screen(nullptr);
            part.reset(CreateCompatibleBitmap(screen.get(), kept.right - kept.left, kept.bottom - kept.top));
            const MemoryDC from(CreateCompatibleDC(screen.get())), to(CreateCompatibleDC(screen.get()));
            const SelectedObject fromSelected(from.get(), loaded.get()), toSelected(to.get(), part.get());
            copied = part && BitBlt(to.get(), 0, 0, kept.right - kept.left, kept.bottom - kept.top, from.get(),
                                    kept.left, kept.top, SRCCOPY);
        }
        if (!copied) return nullptr;
        loaded = std::move(part);
    }
    BITMAP bm{};
    GetObjectW(loaded.get(), sizeof(bm), &bm);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = bm.bmWidth;
    bi.bmiHeader.biHeight = -bm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    auto picture = std::make_shared<Win32Picture>();
    picture->bitmap.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture->bitmap) return nullptr;
    const int rows = GetDIBits(WindowDC(nullptr).get(), loaded.get(), 0, static_cast<UINT>(bm.bmHeight), bits, &bi,
                               DIB_RGB_COLORS);
    if (rows != bm.bmHeight) return nullptr;
    auto* pixel = static_cast<std::uint32_t*>(bits);
    for (long i = 0, n = static_cast<long>(bm.bmWidth) * bm.bmHeight; i < n; ++i) pixel[i] |= 0xFF000000u;  // opaque
    picture->width = bm.bmWidth;
    picture->height = bm.bmHeight;
    picture->opaque = true;
    return picture;
}

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
