// Shared between the driver and e2e_agent.dll, the helper the driver loads
// into a program under test to read what only that process can read: Wine
// keeps menus and icons per process, so GetMenuItemInfo on another
// process's menu fails there. The driver copies one of these blocks into the
// target, runs the named export on a thread there and copies the block back.
#pragma once

#include <windows.h>

namespace e2e::agent {

constexpr int kMaxMenuItems = 64;
constexpr int kMaxMenuText = 256;

struct MenuItem {
    UINT type;   // MFT_*
    UINT state;  // MFS_*
    UINT id;
    RECT rect;   // screen coordinates
    wchar_t text[kMaxMenuText];
};

// In: menu, window (the "#32768" pop-up showing it). Out: count, items.
struct MenuBlock {
    HMENU menu;
    HWND window;
    int count;
    MenuItem items[kMaxMenuItems];
};
constexpr char kReadMenu[] = "E2eAgentReadMenu";

// In: icon. Out: which, the IDI_* resource id of the standard icon whose
// shared handle it is, or 0.
struct IconBlock {
    HICON icon;
    ULONG_PTR which;
};
constexpr char kIdentifyIcon[] = "E2eAgentIdentifyIcon";

// In: window, dpi, suggested. Sends the window WM_DPICHANGED as Windows does when the window
// moves to a monitor of another scale (X11 has one scale for all, so Wine never sends it).
// The message carries a pointer, so it must come from inside the window's process.
struct DpiBlock {
    HWND window;
    UINT dpi;
    RECT suggested;
};
constexpr char kChangeDpi[] = "E2eAgentChangeDpi";

// In: control. Out: height, the lfHeight of the font the control draws with (WM_GETFONT);
// 0 when it has none.
struct FontBlock {
    HWND control;
    LONG height;
};
constexpr char kReadFont[] = "E2eAgentReadFont";

// In: control, wrapWidth, text. Out: what the text measures in the font the control draws with:
// `line` on one line, `wrapped` broken at words within wrapWidth pixels (as a label wraps),
// both from DrawText's DT_CALCRECT; `face` is the font face GDI really chose (a missing face
// falls back to another).
struct TextBlock {
    HWND control;
    int wrapWidth;
    SIZE line;
    SIZE wrapped;
    wchar_t face[LF_FACESIZE];
    wchar_t text[512];
};
constexpr char kMeasureText[] = "E2eAgentMeasureText";

// In: control, caption, text. Out: whether each character of `text` has a glyph in the font that
// draws it in the control (WM_GETFONT; with `caption`, the title bar's font of a top-level window)
// or, failing that, in a face that font links to (FontLink\SystemLink, whose value Wine names by
// the full name of the face it draws with and Windows by the face asked for: both are read).
// `face` is the full name of the face GDI chose; `checked` the characters looked at (control
// characters are not drawn); `linked` those only a linked face has, whose names are in
// `linkedFaces` ("; " between); `missing` those no face has, the first ones in `missingChars`.
struct GlyphBlock {
    HWND control;
    BOOL caption;
    wchar_t text[512];
    wchar_t face[LF_FULLFACESIZE];
    int checked;
    int linked;
    wchar_t linkedFaces[256];
    int missing;
    wchar_t missingChars[32];
};
constexpr char kCheckGlyphs[] = "E2eAgentCheckGlyphs";
// In: window, at (a point of its client area), paths (each ended by a NUL, the list by a second
// NUL). Posts the window WM_DROPFILES with a DROPFILES block of those paths, made in the window's
// process as a drop from Explorer makes it; the window frees it, as it frees Explorer's.
struct DropBlock {
    HWND window;
    POINT at;
    wchar_t paths[8192];
};
constexpr char kDropFiles[] = "E2eAgentDropFiles";

// In: delay. From then on each of the exe's own ReadFile calls waits `delay` ms first, as reads
// from a slow disc do; 0 makes them as fast as the disk again. Out: patched, the import slots
// rerouted (0: the exe does not import ReadFile, and nothing is slowed).
struct SlowReadBlock {
    DWORD delay;
    int patched;
};
constexpr char kSlowReads[] = "E2eAgentSlowReads";

// Makes the program behave as on Windows 7 SP1 without KB2533623 (agent_windows7.cpp): its own
// imports of GetProcAddress and LoadLibrary* refuse what that Windows lacks. Called while the
// program's first thread is still suspended, before any of its code has run. Out: patched, the
// number of the exe's import slots rerouted; major, minor, the Windows version the process is told.
struct Windows7Block {
    int patched;
    DWORD major;
    DWORD minor;
};
constexpr char kActAsWindows7[] = "E2eAgentActAsWindows7";

// Out: what the Windows 7 stand-ins have refused so far, in order: `count` NUL-terminated names
// ("GetDpiForWindow", "LoadLibraryExW with LOAD_LIBRARY_SEARCH_*") in `names`, `used` bytes.
struct RefusalBlock {
    int count;
    int used;
    char names[4096];
};
constexpr char kWindows7Refusals[] = "E2eAgentWindows7Refusals";

}  // namespace e2e::agent
