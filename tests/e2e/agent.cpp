// e2e_agent.dll: loaded into the program under test by the driver; see agent.h. Its exports are
// listed in agent.def.
#include "agent.h"

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
