// The common item dialog (IFileOpenDialog, Windows Vista and later): files, and with
// FOS_PICKFOLDERS folders, in one dialog that Windows 7 has and that Wine implements and lets a
// test type a path into, as a person can. Its functions are looked up in System32 when first
// used, so that nothing of it loads before the author asks for it.
#include "platform/win32/Win32FileDialogs.h"

#include <windows.h>
#include <shobjidl.h>

#include "platform/win32/Handles.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Text.h"
#include "platform/win32/Trace.h"

namespace {

// CLSID_FileOpenDialog, written out: the import library that defines it would bring every GUID
// Windows has (40 KiB) into the exe.
constexpr CLSID kFileOpenDialog = {0xdc1c5a9c, 0xe88a, 0x4dde, {0xa5, 0xa1, 0x60, 0xf8, 0x2a, 0x20, 0xae, 0xf7}};

std::optional<std::string> Choose(std::intptr_t owner, const std::string& title, const std::string& folder,
                                  bool folders) {
    EnsureCom();
    static const auto create = SystemFunction<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
    static const auto release = SystemFunction<decltype(&CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    static const auto itemAt =
        SystemFunction<decltype(&SHCreateItemFromParsingName)>(L"shell32.dll", "SHCreateItemFromParsingName");
    ComPtr<IFileOpenDialog> dialog;
    if (!create || !release ||
        FAILED(create(kFileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IFileOpenDialog),
                      reinterpret_cast<void**>(dialog.put())))) {
        Trace("The file dialog could not be made");
        return std::nullopt;
    }
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    options |= FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR | FOS_PATHMUSTEXIST | (folders ? FOS_PICKFOLDERS : FOS_FILEMUSTEXIST);
    dialog->SetOptions(options);
    dialog->SetTitle(Wide(title).c_str());
    // SetFolder, not SetDefaultFolder: the program's folder every time, not the last one used.
    ComPtr<IShellItem> start;
    if (itemAt && SUCCEEDED(itemAt(Wide(folder).c_str(), nullptr, __uuidof(IShellItem), reinterpret_cast<void**>(start.put()))))
        dialog->SetFolder(start.get());
    ComPtr<IShellItem> chosen;
    PWSTR path = nullptr;
    if (FAILED(dialog->Show(reinterpret_cast<HWND>(owner))) || FAILED(dialog->GetResult(chosen.put())) ||
        FAILED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path)))
        return std::nullopt;  // cancelled, or nothing with a path
    std::string result = Utf8(path);
    release(path);
    return result;
}

}  // namespace

std::optional<std::string> Win32FileDialogs::ChooseFile(std::intptr_t owner, const std::string& title,
                                                        const std::string& folder) {
    return Choose(owner, title, folder, false);
}

std::optional<std::string> Win32FileDialogs::ChooseFolder(std::intptr_t owner, const std::string& title,
                                                          const std::string& folder) {
    return Choose(owner, title, folder, true);
}
