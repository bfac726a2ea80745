// GUI test driver for the end-to-end tests: starts Orvelund.exe, finds its
// windows and controls, reads them from outside and operates them with real
// mouse and keyboard input, the way a person at the machine would.
//
// Strings are UTF-8; paths may be Windows paths or Linux paths of the build
// machine ("/work/..."), which are mapped onto Wine's Z: drive.
// Timeouts are in milliseconds. Functions that wait poll every 20-50 ms.
//
// A new probe is declared here, in the section it belongs to, and defined in that section's file:
// strings, waiting and processes in driver.cpp; windows, controls and the screen in
// driver_windows.cpp; mouse, keyboard and the agent in driver_input.cpp; message boxes, pop-up
// menus and list views in driver_dialogs.cpp; files and the shell recorder in driver_files.cpp.
// Helpers the files share (raw input, remote memory) are in driver_internal.h.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// ---------------------------------------------------------------- strings

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);

// "/work/main/x.exe" -> "Z:\work\main\x.exe"; anything else is returned as is.
std::string WinPathFromUnix(const std::string& path);

// Polls pred until it returns true or timeoutMs passes; returns the last result.
bool WaitUntil(const std::function<bool()>& pred, int timeoutMs, int pollMs = 25);
void Sleep(int ms);

// ---------------------------------------------------------------- faults

// A fault of the test set-up itself (a missing agent export, say), as opposed to something the
// program under test did. The handler gets a message saying what is wrong; the scenarios' main()
// makes each one fail the running test. Without a handler the message goes to stderr.
void OnDriverFault(std::function<void(const std::string&)> handler);

// ---------------------------------------------------------------- processes

// A started process. The destructor kills it if it is still running, so a
// failing test leaves nothing behind.
class Process {
public:
    Process() = default;
    Process(HANDLE process, DWORD id) : handle_(process), id_(id) {}
    Process(Process&& other) noexcept;
    Process& operator=(Process&& other) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    explicit operator bool() const { return handle_ != nullptr; }
    DWORD Id() const { return id_; }
    HANDLE Handle() const { return handle_; }
    bool Running() const;
    bool WaitForExit(int timeoutMs);
    // STILL_ACTIVE (259) while running, -1 (as DWORD) without a process.
    DWORD ExitCode() const;
    void Kill();

private:
    HANDLE handle_ = nullptr;
    DWORD id_ = 0;
};

// Starts exePath with the command line `"exePath" args` in workDir (empty:
// the exe's own folder). Returns an empty Process if CreateProcess fails.
// In a Windows 7 run (below) the program starts as on Windows 7.
Process Start(const std::string& exePath, const std::string& args = "",
              const std::string& workDir = "");

// A Windows 7 run: E2E_AS_WINDOWS7=1 in the environment, which CTest sets for the scenarios
// whose names hold "win7". Then Wine reports Windows 7 (SP1) to every program started from here
// on, and Start runs the program's first thread only after e2e_agent.dll has made its own
// lookups of functions and DLLs newer than Windows 7 fail, as they fail there (agent.h,
// kActAsWindows7). A start whose stand-in cannot be put in place is a driver fault.
bool AsWindows7();
// What the Windows 7 stand-ins refused the program so far ("GetDpiForWindow", ...), in order.
std::vector<std::string> RefusedAsWindows7(DWORD pid);

// Ids of all running processes whose image is exePath (compared as full
// paths, case-insensitive).
std::vector<DWORD> ProcessesOf(const std::string& exePath);
// Waits for a process of exePath other than the ones in `except`; returns its id or 0.
DWORD WaitForProcessOf(const std::string& exePath, int timeoutMs,
                       const std::vector<DWORD>& except = {});
// Kills every process of exePath and waits for them to end; returns how many.
int KillAll(const std::string& exePath);
bool WaitForNoProcessOf(const std::string& exePath, int timeoutMs);
// Full paths of the modules (the exe and every DLL) loaded in process pid.
std::vector<std::string> ModulesOf(DWORD pid);
// The folders system DLLs are loaded from, without a trailing backslash: System32, SysWOW64 on
// 64-bit Windows (a 32-bit process sees System32 redirected there) and WinSxS.
std::vector<std::string> SystemFolders();

// ---------------------------------------------------------------- windows

std::string TextOf(HWND hwnd);    // WM_GETTEXT, works across processes
std::string ClassOf(HWND hwnd);
DWORD ProcessOf(HWND hwnd);

// Visible top-level windows, of one process (pid != 0) or of all.
std::vector<HWND> TopLevelWindows(DWORD pid = 0);
// A visible top-level window with exactly this caption (and class, when
// given), or nullptr.
HWND FindWindowByCaption(const std::string& caption, DWORD pid = 0,
                         const std::string& className = "");
HWND WaitForWindow(const std::string& caption, int timeoutMs, DWORD pid = 0,
                   const std::string& className = "");
// True once no visible top-level window has this caption.
bool WaitForNoWindow(const std::string& caption, int timeoutMs, DWORD pid = 0);

struct Control {
    HWND hwnd = nullptr;
    HWND parent = nullptr;
    std::string className;
    std::string text;
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    bool visible = false;     // IsWindowVisible: it and all its parents are shown
    bool ownVisible = false;  // its own WS_VISIBLE bit
    bool enabled = false;
    RECT rect{};              // in the parent's client coordinates, pixels
    RECT screenRect{};
    // Bitmap of a BS_BITMAP button / SS_BITMAP static, icon of an SS_ICON
    // static, as the handle value; 0 when it holds none.
    uintptr_t image = 0;
};

// All descendants of a window, depth first in z order (for controls created
// in sequence with default z order that is creation order).
std::vector<Control> Controls(HWND window);
Control Describe(HWND control);
// First descendant with this control id / text (and class, when given).
HWND FindControl(HWND window, int id);
HWND FindControlByText(HWND window, const std::string& text,
                       const std::string& className = "");

SIZE ClientSize(HWND hwnd);
RECT ScreenRectOf(HWND hwnd);
// Logical pixels per inch of the screen (96 at 100 %).
int ScreenDpi();

// Brings a top-level window (or the one holding a control) to the
// foreground and waits until it is there.
bool Activate(HWND hwnd);

// ---------------------------------------------------------------- input

// Real mouse input via SendInput at a point of hwnd's client area (default:
// its centre). The top-level window (or the box it is waiting on) is
// activated first; false if another window covers the point. A click at
// the spot of the previous one waits out the double-click time, so two
// Click()s stay two clicks.
bool Click(HWND hwnd);
bool ClickAt(HWND hwnd, POINT client);
bool DoubleClickAt(HWND hwnd, POINT client);
bool RightClick(HWND hwnd);
bool RightClickAt(HWND hwnd, POINT client);
// BM_CLICK: presses a plain push button without the mouse.
void PressButton(HWND button);

// Keyboard input via SendInput to whatever has the focus.
enum Modifier : unsigned { kNone = 0, kShift = 1, kCtrl = 2, kAlt = 4 };
void PressKey(WORD vk, unsigned modifiers = kNone);
// KEYEVENTF_UNICODE, one character at a time; use PressKey for Enter, Tab.
void TypeChars(const std::string& text);
// Focuses the control (activating its window) and waits until it has the focus.
bool FocusControl(HWND control);
// Focuses an edit control, puts the caret at the end and types text.
bool TypeText(HWND edit, const std::string& text);
// Same, but selects the current content first so the typing replaces it.
bool ReplaceEditText(HWND edit, const std::string& text);

// ---------------------------------------------------------------- message boxes

enum class Icon { None, Information, Exclamation, Critical, Question, Unknown };
const char* IconName(Icon icon);

struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::string title;
    std::string text;
    std::vector<std::pair<int, std::string>> buttons;  // id, caption ("&Yes"), left to right
    Icon icon = Icon::None;
    explicit operator bool() const { return hwnd != nullptr; }
    std::vector<std::string> ButtonCaptions() const;   // without '&'
};

// A message box of pid, or of any process: a "#32770" dialog holding only
// the message static (id 0xFFFF), an icon and buttons with standard ids.
// Empty when none appears in time. The icon is told by handing the box's
// icon handle to e2e_agent.dll inside the box's process (see agent.h).
MessageBoxInfo WaitForMessageBox(int timeoutMs, DWORD pid = 0);
MessageBoxInfo ReadMessageBox(HWND dialog);  // empty if it is no message box
// Clicks the button with this id (IDYES, IDNO, ...) and waits for the box to close.
bool Answer(const MessageBoxInfo& box, int buttonId);
// Closes the box from its title bar (SC_CLOSE) and waits for it to close.
bool CloseBox(const MessageBoxInfo& box);

// ---------------------------------------------------------------- pop-up menus

struct MenuItem {
    std::string text;      // as shown, with '&' and "\tShortcut"
    bool separator = false;
    bool enabled = true;
    bool checked = false;
    UINT id = 0;
};
struct PopupMenu {
    HWND hwnd = nullptr;
    std::vector<MenuItem> items;
    explicit operator bool() const { return hwnd != nullptr; }
    // Item texts without separators, '&' and shortcut part: "Open", "Edit..."
    std::vector<std::string> Texts() const;
};
// The topmost visible pop-up menu ("#32768"), read through e2e_agent.dll in
// the menu's process: Wine cannot read another process's menu.
PopupMenu WaitForPopupMenu(int timeoutMs);
// Clicks the item whose text (compared as by Texts()) is `text`; false
// if there is none, it is greyed, or the menu stays open.
bool ChooseMenuItem(const PopupMenu& menu, const std::string& text);
// Escape until no pop-up is open.
bool DismissMenus(int timeoutMs = 2000);

// ---------------------------------------------------------------- file dialogs

// Windows' file or folder dialog (the common item dialog, a "#32770" window) of pid with this
// caption, or nullptr when none appears in time.
HWND WaitForFileDialog(const std::string& caption, int timeoutMs, DWORD pid = 0);
// Types `path` into the dialog's file name box (a full path, or a name in the folder it shows)
// and presses Open, as a person can; true once the dialog has closed.
bool ChooseInFileDialog(HWND dialog, const std::string& path);

// ---------------------------------------------------------------- list views

int ListRowCount(HWND list);
std::vector<std::string> ListColumns(HWND list);
std::string ListCell(HWND list, int row, int column);
std::vector<std::vector<std::string>> ListRows(HWND list);
int ListSelectedRow(HWND list);  // -1: none
bool ListSelectRow(HWND list, int row);       // by a click on the row
bool ListDoubleClickRow(HWND list, int row);  // real double click
RECT ListRowRect(HWND list, int row);         // list's client coordinates

// ---------------------------------------------------------------- accessibility

// What a screen reader learns of a window: the name of its client object, read through
// AccessibleObjectFromWindow. `ok` is false when the object could not be had.
struct AccessibleInfo {
    bool ok = false;
    std::string name;
};
AccessibleInfo Accessible(HWND hwnd);

// ---------------------------------------------------------------- DPI

// Sends a top-level window WM_DPICHANGED for `dpi`, suggesting its current top left corner
// and its size scaled from the window's present DPI; false if the agent could not run.
bool SendDpiChanged(HWND window, int dpi, int fromDpi);
// The lfHeight of the font a control draws with (negative: the character height in pixels),
// read inside its process; 0 when it has none or it cannot be read.
long FontHeightOf(HWND control);

// What a control's window text measures in the font the control draws with, read inside its
// process: on one line, and broken at words within wrapWidth pixels. `ok` is false when it
// could not be read.
struct TextExtent {
    bool ok = false;
    std::string text;
    std::string face;  // the face GDI chose, which differs from the one asked for when that is missing
    SIZE line{};
    SIZE wrapped{};
};
TextExtent MeasureText(HWND control, int wrapWidth);

// Which face draws each character of `text` in a control, read inside its process by the fonts'
// glyph indices: the control's own font (WM_GETFONT), or a face that font links to
// (FontLink\SystemLink), as Windows links fonts. A character neither has is drawn as the
// missing-glyph box. `ok` is false when it could not be read.
struct GlyphCheck {
    bool ok = false;
    std::string face;         // the full name of the face GDI chose for the font
    int checked = 0;          // characters looked at (control characters are never drawn)
    int linked = 0;           // of them drawn by a linked face
    std::string linkedFaces;  // those faces, "; " between
    int missing = 0;          // of them no face has
    std::string missingChars; // the first of those
};
GlyphCheck CheckGlyphs(HWND control, const std::string& text);
// The same for a top-level window's caption in the title bar's font.
GlyphCheck CheckCaptionGlyphs(HWND window);

// ---------------------------------------------------------------- screen

COLORREF PixelAt(HWND hwnd, POINT client);
// The whole screen, or only the given window as it stands on the screen, as a BMP file.
bool SaveScreenshot(const std::string& bmpPath, HWND window = nullptr);

// ---------------------------------------------------------------- files

// A fresh, empty folder %TEMP%\orvelund-e2e\<name>; returns its Windows path.
std::string MakeTestFolder(const std::string& name);
bool CopyFileTo(const std::string& from, const std::string& to);
std::optional<std::string> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
bool DeleteTree(const std::string& path);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
std::string JoinPath(const std::string& folder, const std::string& name);

// ---------------------------------------------------------------- drops and slow media

// Drops files on a window as Explorer does: a real WM_DROPFILES, whose DROPFILES block
// e2e_agent.dll makes in the window's process, at a point of the window's client area.
bool DropFiles(HWND window, POINT client, const std::vector<std::string>& paths);
// The same at a point of one of its controls (by default the control's centre).
bool DropFilesOn(HWND control, const std::vector<std::string>& paths);
bool DropFilesOn(HWND control, POINT client, const std::vector<std::string>& paths);
// Makes each of the program's own file reads wait delayMs first, as reads from a slow disc do;
// 0 makes them fast again.
bool SlowReads(DWORD pid, DWORD delayMs);

// ---------------------------------------------------------------- shell recorder

// Points the shell's open/explore/edit/print verbs for http(s) addresses,
// .htm(l), .jp(e)g, .pdf and .iso files and folders at recorder.exe, which logs each call
// to recorder.log beside itself; remembers the recorder for the calls below
// and clears its log. Under Wine 8 a bare "www.example.com" arrives as
// "http://www.example.com", a folder with a trailing backslash keeps it,
// and "\" (the current drive's root), which Wine cannot open, starts the
// recorder without arguments: ("", "").
bool InstallRecorder(const std::string& recorderExe);
// (verb, target) in the order the shell started the recorder.
std::vector<std::pair<std::string, std::string>> RecordedCalls();
// Waits until at least `count` calls are recorded.
std::vector<std::pair<std::string, std::string>> WaitForRecordedCalls(size_t count, int timeoutMs);
void ClearRecorder();

}  // namespace e2e
