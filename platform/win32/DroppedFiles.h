#pragma once
// Files dropped from Explorer (WM_DROPFILES).
#include <windows.h>

#include <string>
#include <vector>

// Lets Explorer drop files on the window: the style that shell32's DragAcceptFiles sets, set
// without loading shell32 each time an editor opens.
void AcceptDroppedFiles(HWND window);

struct DroppedFiles {
    std::vector<std::string> paths;  // in the order Explorer hands them
    POINT at{};                      // where, in the client area of the window that got the drop
};
// The paths and point of a drop, through shell32's functions; the drop is freed.
DroppedFiles TakeDroppedFiles(HDROP drop);

// The control of `window` under a point of its client area: a direct child, nullptr for none.
HWND ChildAt(HWND window, POINT at);
