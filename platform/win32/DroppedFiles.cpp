#include "platform/win32/DroppedFiles.h"

#include <shellapi.h>

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Text.h"

void AcceptDroppedFiles(HWND window) {
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
}

DroppedFiles TakeDroppedFiles(HDROP drop) {
    static const auto query = SystemFunction<decltype(&DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
    static const auto point = SystemFunction<decltype(&DragQueryPoint)>(L"shell32.dll", "DragQueryPoint");
    static const auto finish = SystemFunction<decltype(&DragFinish)>(L"shell32.dll", "DragFinish");
    DroppedFiles dropped;
    if (!query || !point || !finish) return dropped;
    const UINT count = query(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(query(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(query(drop, i, path.data(), static_cast<UINT>(path.size())));
        if (!path.empty()) dropped.paths.push_back(Utf8(path));
    }
    point(drop, &dropped.at);
    finish(drop);
    return dropped;
}

HWND ChildAt(HWND window, POINT at) {
    HWND child = ChildWindowFromPointEx(window, at, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    return child == window ? nullptr : child;
}
