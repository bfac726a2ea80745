// Pictures decoded into bitmaps and icons the windows draw: JPEG, GIF and PNG through the imaging
// component, bitmaps through user32 alone, icons from their file's first image.
#include "platform/win32/PictureDecoding.h"

#include <wincodec.h>

#include <algorithm>
#include <cstring>

#include "picture/PictureHeader.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Text.h"

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

}  // namespace

std::shared_ptr<Win32Picture> DecodeImage(const std::string& bytes, const ShownArea& shown) {
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

std::shared_ptr<Win32Picture> DecodeImageToFit(const std::string& bytes, int maxWidth, int maxHeight, COLORREF ground) {
    IWICImagingFactory* factory = Factory();
    if (!factory || bytes.empty() || maxWidth <= 0 || maxHeight <= 0) return nullptr;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                            static_cast<DWORD>(bytes.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())))
        return nullptr;
    // An icon file holds its picture at several sizes: the largest scales down best.
    UINT frames = 0, best = 0;
    std::uint64_t bestArea = 0;
    decoder->GetFrameCount(&frames);
    for (UINT i = 0; i < frames && i < 64; ++i) {
        ComPtr<IWICBitmapFrameDecode> f;
        UINT w = 0, h = 0;
        if (SUCCEEDED(decoder->GetFrame(i, f.put())) && SUCCEEDED(f->GetSize(&w, &h)) && std::uint64_t(w) * h > bestArea)
            best = i, bestArea = std::uint64_t(w) * h;
    }
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    UINT fullW = 0, fullH = 0;
    if (FAILED(decoder->GetFrame(best, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&fullW, &fullH)) || fullW == 0 || fullH == 0 || fullW > kMaxPictureSide ||
        fullH > kMaxPictureSide)
        return nullptr;
    UINT w = fullW, h = fullH;
    if (w > UINT(maxWidth) || h > UINT(maxHeight)) {
        const double scale = std::min(double(maxWidth) / fullW, double(maxHeight) / fullH);
        w = std::max(1u, static_cast<UINT>(fullW * scale + 0.5));
        h = std::max(1u, static_cast<UINT>(fullH * scale + 0.5));
    }
    ComPtr<IWICBitmapScaler> scaler;
    IWICBitmapSource* source = converter.get();
    if (w != fullW || h != fullH) {
        if (FAILED(factory->CreateBitmapScaler(scaler.put())) ||
            FAILED(scaler->Initialize(converter.get(), w, h, WICBitmapInterpolationModeFant)))
            return nullptr;
        source = scaler.get();
    }
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = static_cast<LONG>(w);
    bi.bmiHeader.biHeight = -static_cast<LONG>(h);
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    auto picture = std::make_shared<Win32Picture>();
    picture->bitmap.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture->bitmap || FAILED(source->CopyPixels(nullptr, w * 4, w * h * 4, static_cast<BYTE*>(bits))))
        return nullptr;
    // Premultiplied pixels over the ground: each channel plus what the pixel lets through of it.
    const unsigned groundChannel[3] = {GetBValue(ground), GetGValue(ground), GetRValue(ground)};
    auto* pixel = static_cast<BYTE*>(bits);
    for (std::size_t i = 0, n = std::size_t(w) * h; i < n; ++i, pixel += 4) {
        const unsigned through = 255u - pixel[3];
        for (int c = 0; c < 3; ++c) pixel[c] = static_cast<BYTE>(pixel[c] + (groundChannel[c] * through + 127) / 255);
        pixel[3] = 255;
    }
    picture->width = static_cast<int>(w);
    picture->height = static_cast<int>(h);
    picture->opaque = true;
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
