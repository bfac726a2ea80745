/* Holds Wine's desktop open for a whole test session.
 *
 *   desktop-keeper.exe [READY-FILE]
 *
 * When the last ordinary process leaves a desktop, wineserver closes it after
 * one second and its explorer.exe quits; a test program starting in that
 * moment waits ten seconds for a new desktop. A program arriving while the
 * desktop is still starting up can wait as long. So this process opens the
 * desktop first, creates READY-FILE once its own window exists (the desktop
 * answers by then) and stays, with a hidden window, until the session's
 * wineserver is killed. with-wine builds and starts it. */
#include <windows.h>

static LRESULT CALLBACK keeper_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_CLOSE) return 0;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE prev, LPWSTR cmd, int show)
{
    WNDCLASSW wc = {0};
    MSG msg;
    int argc = 0;
    LPWSTR *argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    (void)prev; (void)cmd; (void)show;

    wc.lpfnWndProc = keeper_proc;
    wc.hInstance = instance;
    wc.lpszClassName = L"OrvelundE2EDesktopKeeper";
    RegisterClassW(&wc);
    /* Hidden and never activated: it must not take the foreground from tests. */
    CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, L"", WS_POPUP,
                    0, 0, 1, 1, NULL, NULL, instance, NULL);
    if (argv && argc > 1)
        CloseHandle(CreateFileW(argv[1], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));

    while (GetMessageW(&msg, NULL, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
