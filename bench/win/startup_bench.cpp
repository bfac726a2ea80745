// Start-up timings under Wine, printed as rows of the benchmark table:
//   figure|value|baseline|ratio|target|met
// Start-up is measured from CreateProcess to the window shown with its controls painted (the
// window answers a message after showing, so its first paint is done); each figure is the median
// of several runs.
//   startup_bench ORVELUND_EXE BASELINE_EXE [PHOTO_JPG]
// PHOTO_JPG, a 6000 x 4000 camera-sized JPEG, adds the memory row for ten such button pictures.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Run {
    double ms = -1;
    SIZE_T peakWorkingSet = 0;
    SIZE_T workingSet = 0;  // when the window has painted: what the process keeps
};

HWND FindShown(DWORD pid, const std::wstring& caption) {
    struct Search {
        DWORD pid;
        const std::wstring* caption;
        HWND found;
    } s{pid, &caption, nullptr};
    // A lambda has no WINAPI calling convention, which the 32-bit callback needs.
    struct Each {
        static BOOL CALLBACK Window(HWND hwnd, LPARAM lp) {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            wchar_t text[512] = L"";
            if (owner == s->pid && IsWindowVisible(hwnd) && GetWindowTextW(hwnd, text, 512) && *s->caption == text) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        }
    };
    EnumWindows(&Each::Window, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// Starts exe in its folder and waits until a window with this caption is shown and has
// answered a message (so its first paint is behind it).
Run Time(const std::wstring& exe, const std::wstring& args, const std::wstring& caption, const wchar_t* listClass) {
    std::wstring command = L"\"" + exe + L"\" " + args;
    const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
    STARTUPINFOW si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    Run run;
    const double start = Now();
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return run;
    HWND window = nullptr;
    while (Now() - start < 60000 && !(window = FindShown(pi.dwProcessId, caption))) Sleep(1);
    if (window) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 60000, &answer);
        if (listClass) {  // the editor: its list answers with its row count
            HWND list = FindWindowExW(window, nullptr, listClass, nullptr);
            SendMessageTimeoutW(list, 0x1004 /* LVM_GETITEMCOUNT */, 0, 0, SMTO_BLOCK, 60000, &answer);
        }
        run.ms = Now() - start;
        PROCESS_MEMORY_COUNTERS pmc{sizeof(pmc)};
        if (GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof(pmc))) {
            run.peakWorkingSet = pmc.PeakWorkingSetSize;
            run.workingSet = pmc.WorkingSetSize;
        }
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return run;
}

Run Median(const std::wstring& exe, const std::wstring& args, const std::wstring& caption, const wchar_t* list,
           int runs = 7) {
    std::vector<Run> all;
    Time(exe, args, caption, list);  // a first, cold run is not counted
    for (int i = 0; i < runs; ++i) all.push_back(Time(exe, args, caption, list));
    std::sort(all.begin(), all.end(), [](const Run& a, const Run& b) { return a.ms < b.ms; });
    return all[all.size() / 2];
}

void WriteMenu(const std::wstring& folder, int entries) {
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"\\content").c_str(), nullptr);
    std::string text = "## ** Orvelund - CONFIGURATION FILE **\r\n## >> Configuration\r\nTITLE:Bench\r\n"
                       "BTCOLOR:16435132\r\nBGCOLOR:16777215\r\nHIDESETUP:0\r\n7\r\n8\r\n";
    for (int i = 1; i <= entries; ++i)
        text += "Entry" + std::to_string(i) + ",Label " + std::to_string(i) + ",file" + std::to_string(i) + ".pdf,open\r\n";
    HANDLE f = CreateFileW((folder + L"\\content\\config.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD done = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
    CloseHandle(f);
}

std::wstring Prepare(const std::wstring& exe, const std::wstring& name, int entries) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"orvelund-bench-" + name;
    WriteMenu(folder, entries);
    CopyFileW(exe.c_str(), (folder + L"\\Orvelund.exe").c_str(), FALSE);
    Time(folder + L"\\Orvelund.exe", L"", L"Bench", nullptr);  // writes the missing app.jpg once
    return folder + L"\\Orvelund.exe";
}

// A menu of ten entries, each with a copy of `photo` as its button picture.
std::wstring PreparePhotos(const std::wstring& exe, const std::wstring& photo) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"orvelund-bench-photos";
    WriteMenu(folder, 10);
    for (int i = 1; i <= 10; ++i)
        CopyFileW(photo.c_str(), (folder + L"\\content\\Entry" + std::to_wstring(i) + L".jpg").c_str(), FALSE);
    CopyFileW(exe.c_str(), (folder + L"\\Orvelund.exe").c_str(), FALSE);
    Time(folder + L"\\Orvelund.exe", L"", L"Bench", nullptr);  // writes the missing app.jpg once
    return folder + L"\\Orvelund.exe";
}

void Row(const char* figure, double value, double baseline, double target, const char* unit) {
    const double ratio = baseline > 0 ? value / baseline : 0;
    std::printf("%s|%.1f %s|%.1f %s|%.2f|<= %.1f x|%s\n", figure, value, unit, baseline, unit, ratio, target,
                value > 0 && ratio <= target ? "yes" : "no");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_bench ORVELUND_EXE BASELINE_EXE\n");
        return 2;
    }
    const std::wstring orvelund = argv[1], baseline = argv[2];
    const Run empty = Median(baseline, L"", L"Baseline", nullptr);
    const std::wstring small = Prepare(orvelund, L"4", 4), large = Prepare(orvelund, L"1000", 1000),
                       huge = Prepare(orvelund, L"32766", 32766);
    const Run start4 = Median(small, L"", L"Bench", nullptr);
    const Run start1000 = Median(large, L"", L"Bench", nullptr);
    const Run editor4 = Median(small, L"-setup", L"Bench - Menu Editor", L"SysListView32");
    const Run editor32766 = Median(huge, L"-setup", L"Bench - Menu Editor", L"SysListView32");

    Row("start-up, 4 entries (vs empty window)", start4.ms, empty.ms, 1.5, "ms");
    Row("start-up, 1,000 entries (vs empty window)", start1000.ms, empty.ms, 1.5, "ms");
    Row("editor open, 32,766 entries (vs 4 entries)", editor32766.ms, editor4.ms, 3.0, "ms");
    std::printf("peak working set at start, 4 entries|%.1f MiB|%.1f MiB|%.2f|-|-\n", start4.peakWorkingSet / 1048576.0,
                empty.peakWorkingSet / 1048576.0,
                empty.peakWorkingSet ? double(start4.peakWorkingSet) / double(empty.peakWorkingSet) : 0.0);
    if (argc >= 4) {
        const Run photos = Median(PreparePhotos(orvelund, argv[3]), L"", L"Bench", nullptr, 3);
        const double mib = 1048576.0, over = (double(photos.peakWorkingSet) - double(empty.peakWorkingSet)) / mib;
        std::printf("peak working set, ten 6000 x 4000 button pictures|%.1f MiB|%.1f MiB|+%.1f MiB|<= +20 MiB|%s\n",
                    photos.peakWorkingSet / mib, empty.peakWorkingSet / mib, over, over <= 20 ? "yes" : "no");
        const double kept = (double(photos.workingSet) - double(empty.workingSet)) / mib;
        std::printf("working set once shown, ten 6000 x 4000 button pictures|%.1f MiB|%.1f MiB|+%.1f MiB|<= +20 MiB|%s\n",
                    photos.workingSet / mib, empty.workingSet / mib, kept, kept <= 20 ? "yes" : "no");
    }
    return 0;
}
