// e2e_agent.dll: loaded into the program under test by the driver; see agent.h. Its exports are
// listed in agent.def.
#include "agent.h"

#include <string>
#include <vector>
#include <shlobj.h>

#include <cstring>

using namespace e2e::agent;

namespace {

volatile DWORD readDelay = 0;

BOOL WINAPI SlowReadFile(HANDLE file, void* buffer, DWORD size, DWORD* read, OVERLAPPED* overlapped) {
    if (readDelay) Sleep(readDelay);
    return ReadFile(file, buffer, size, read, overlapped);
}

}  // namespace

extern "C" DWORD WINAPI E2eAgentDropFiles(void* param) {
    auto* block = static_cast<DropBlock*>(param);
    size_t chars = 0;
    while (chars + 1 < sizeof(block->paths) / sizeof(wchar_t) && (block->paths[chars] || block->paths[chars + 1])) ++chars;
    chars += 2;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* drop = memory ? static_cast<DROPFILES*>(GlobalLock(memory)) : nullptr;
    if (!drop) return 0;
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = block->at;
    drop->fNC = FALSE;
    drop->fWide = TRUE;
    std::memcpy(drop + 1, block->paths, chars * sizeof(wchar_t));
    GlobalUnlock(memory);
    if (PostMessageW(block->window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0)) return 1;
    GlobalFree(memory);
    return 0;
}

// Reroutes the exe's own import of kernel32's ReadFile (not Wine's, not the test's).
extern "C" DWORD WINAPI E2eAgentSlowReads(void* param) {
    auto* block = static_cast<SlowReadBlock*>(param);
    readDelay = block->delay;
    block->patched = 0;
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); dir.VirtualAddress && d->Name; ++d) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), "kernel32.dll") != 0 || !d->OriginalFirstThunk) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "ReadFile") != 0) continue;
            DWORD old = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &old)) continue;
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(&SlowReadFile);
            VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), old, &old);
            ++block->patched;
        }
    }
    return block->patched ? 1 : 0;
}

extern "C" DWORD WINAPI E2eAgentReadMenu(void* param) {
    auto* block = static_cast<MenuBlock*>(param);
    const int count = GetMenuItemCount(block->menu);
    if (count < 0) return 0;
    block->count = count < kMaxMenuItems ? count : kMaxMenuItems;
    for (int i = 0; i < block->count; ++i) {
        MenuItem& item = block->items[i];
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = item.text;
        info.cch = kMaxMenuText;
        item.text[0] = 0;
        if (!GetMenuItemInfoW(block->menu, i, TRUE, &info)) continue;
        item.type = info.fType;
        item.state = info.fState;
        item.id = info.wID;
        GetMenuItemRect(block->window, block->menu, i, &item.rect);
    }
    return 1;
}

extern "C" DWORD WINAPI E2eAgentChangeDpi(void* param) {
    auto* block = static_cast<DpiBlock*>(param);
    SendMessageW(block->window, WM_DPICHANGED, MAKEWPARAM(block->dpi, block->dpi),
                 reinterpret_cast<LPARAM>(&block->suggested));
    return 1;
}

extern "C" DWORD WINAPI E2eAgentReadFont(void* param) {
    auto* block = static_cast<FontBlock*>(param);
    block->height = 0;
    LOGFONTW font{};
    auto handle = reinterpret_cast<HFONT>(SendMessageW(block->control, WM_GETFONT, 0, 0));
    if (handle && GetObjectW(handle, sizeof(font), &font)) block->height = font.lfHeight;
    return 1;
}

extern "C" DWORD WINAPI E2eAgentMeasureText(void* param) {
    auto* block = static_cast<TextBlock*>(param);
    const int length = lstrlenW(block->text);
    HDC dc = GetDC(block->control);
    if (!dc) return 0;
    auto font = reinterpret_cast<HFONT>(SendMessageW(block->control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    GetTextFaceW(dc, LF_FACESIZE, block->face);
    RECT line{0, 0, 0, 0};
    DrawTextW(dc, block->text, length, &line, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    RECT wrapped{0, 0, block->wrapWidth, 0};
    DrawTextW(dc, block->text, length, &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(block->control, dc);
    block->line = {line.right - line.left, line.bottom - line.top};
    block->wrapped = {wrapped.right - wrapped.left, wrapped.bottom - wrapped.top};
    return 1;
}

extern "C" DWORD WINAPI E2eAgentIdentifyIcon(void* param) {
    auto* block = static_cast<IconBlock*>(param);
    // LoadIcon hands out one shared handle per standard icon and process,
    // the one a message box of this process shows.
    const ULONG_PTR ids[] = {(ULONG_PTR)IDI_HAND, (ULONG_PTR)IDI_QUESTION, (ULONG_PTR)IDI_EXCLAMATION,
                             (ULONG_PTR)IDI_ASTERISK, (ULONG_PTR)IDI_APPLICATION, (ULONG_PTR)IDI_WINLOGO,
                             (ULONG_PTR)IDI_SHIELD};
    block->which = 0;
    for (ULONG_PTR id : ids)
        if (LoadIconW(nullptr, MAKEINTRESOURCEW(id)) == block->icon) block->which = id;
    return 1;
}

namespace {

// The faces a face links to: the "file,face" lines of its FontLink\SystemLink value.
std::vector<std::wstring> LinkedFaces(const wchar_t* face) {
    std::vector<std::wstring> faces;
    wchar_t data[4096] = {};
    DWORD size = sizeof(data) - 2 * sizeof(wchar_t);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink",
                     face, RRF_RT_REG_MULTI_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return faces;
    for (const wchar_t* line = data; *line; line += lstrlenW(line) + 1) {
        std::wstring name(line);
        const size_t comma = name.find(L',');
        if (comma == std::wstring::npos) continue;  // a file alone: nothing to ask GDI for
        name = name.substr(comma + 1);
        name = name.substr(0, name.find(L','));
        while (!name.empty() && name[0] == L' ') name.erase(0, 1);
        faces.push_back(name);
    }
    return faces;
}

// Whether the face of the font selected into dc has a glyph for ch (0xFFFF marks a missing one,
// and 0x1F in a bitmap font on some Windows).
bool HasGlyph(HDC dc, wchar_t ch) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    WORD glyph = 0xFFFF;
    if (GetGlyphIndicesW(dc, &ch, 1, &glyph, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) return false;
    return glyph != 0xFFFF && ((metrics.tmPitchAndFamily & TMPF_TRUETYPE) || glyph != 0x1F);
}

void Append(wchar_t* to, int capacity, const wchar_t* what) {
    if (lstrlenW(to) + lstrlenW(what) < capacity) lstrcatW(to, what);
}

}  // namespace

extern "C" DWORD WINAPI E2eAgentCheckGlyphs(void* param) {
    auto* block = static_cast<GlyphBlock*>(param);
    block->text[511] = 0;
    block->face[0] = block->linkedFaces[0] = block->missingChars[0] = 0;
    block->checked = block->linked = block->missing = 0;
    LOGFONTW logFont{};
    HFONT own = nullptr;
    HFONT font = nullptr;
    if (block->caption) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof(metrics);
        if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return 0;
        logFont = metrics.lfCaptionFont;
        font = own = CreateFontIndirectW(&logFont);
    } else {
        font = reinterpret_cast<HFONT>(SendMessageW(block->control, WM_GETFONT, 0, 0));
        if (!font) font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
        GetObjectW(font, sizeof(logFont), &logFont);
    }
    HDC dc = GetDC(nullptr);
    if (!dc || !font) return 0;
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t family[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, family);
    lstrcpynW(block->face, family, LF_FULLFACESIZE);
    std::vector<std::wstring> links;
    if (const UINT size = GetOutlineTextMetricsW(dc, 0, nullptr)) {
        std::vector<BYTE> buffer(size);
        auto* outline = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer.data());
        if (GetOutlineTextMetricsW(dc, size, outline)) {
            const auto* full = reinterpret_cast<const wchar_t*>(buffer.data() + reinterpret_cast<UINT_PTR>(outline->otmpFaceName));
            lstrcpynW(block->face, full, LF_FULLFACESIZE);
            links = LinkedFaces(full);
        }
    }
    for (const std::wstring& face : LinkedFaces(family)) links.push_back(face);

    for (const wchar_t* c = block->text; *c; ++c) {
        if (*c < L' ') continue;
        ++block->checked;
        if (HasGlyph(dc, *c)) continue;
        const wchar_t* by = nullptr;
        for (const std::wstring& face : links) {
            LOGFONTW linked = logFont;
            lstrcpynW(linked.lfFaceName, face.c_str(), LF_FACESIZE);
            linked.lfCharSet = DEFAULT_CHARSET;  // a link names a face, whatever code pages it has
            HFONT other = CreateFontIndirectW(&linked);
            SelectObject(dc, other);
            const bool has = HasGlyph(dc, *c);
            SelectObject(dc, font);
            DeleteObject(other);
            if (has) {
                by = face.c_str();
                break;
            }
        }
        if (by) {
            ++block->linked;
            if (!wcsstr(block->linkedFaces, by)) {
                if (block->linkedFaces[0]) Append(block->linkedFaces, 256, L"; ");
                Append(block->linkedFaces, 256, by);
            }
        } else {
            ++block->missing;
            const wchar_t one[2] = {*c, 0};
            Append(block->missingChars, 32, one);
        }
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    if (own) DeleteObject(own);
    return 1;
}
