// The common item dialog (IFileOpenDialog and IFileSaveDialog, Windows Vista and later): files,
// with FOS_PICKFOLDERS folders, and where to save a new file, in one dialog that Windows 7 has and that Wine implements and lets a
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

// CLSID_FileOpenDialog and CLSID_FileSaveDialog, written out: the import library that defines
// them would bring every GUID Windows has (40 KiB) into the exe.
constexpr CLSID kFileOpenDialog = {0xdc1c5a9c, 0xe88a, 0x4dde, {0xa5, 0xa1, 0x60, 0xf8, 0x2a, 0x20, 0xae, 0xf7}};
constexpr CLSID kFileSaveDialog = {0xc0b4e2f3, 0xba21, 0x4773, {0x8d, 0xba, 0x33, 0x5e, 0xc9, 0x46, 0xeb, 0x8b}};

enum class Kind { File, Folder, Save };

// `name` and `extension`: the file name proposed and the extension added to a name without one.
std::optional<std::string> Choose(std::intptr_t owner, const std::string& title, const std::string& folder, Kind kind,
                                  const std::string& name = "", const std::string& extension = "") {
    EnsureCom();
    static const auto create = SystemFunction<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
    static const auto release = SystemFunction<decltype(&CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    static const auto itemAt =
        SystemFunction<decltype(&SHCreateItemFromParsingName)>(L"shell32.dll", "SHCreateItemFromParsingName");
    ComPtr<IFileDialog> dialog;
    const bool save = kind == Kind::Save;
    if (!create || !release ||
        FAILED(create(save ? kFileSaveDialog : kFileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                      save ? __uuidof(IFileSaveDialog) : __uuidof(IFileOpenDialog), reinterpret_cast<void**>(dialog.put())))) {
        Trace("The file dialog could not be made");
        return std::nullopt;
    }
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    options |= FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR | FOS_PATHMUSTEXIST;
    options |= kind == Kind::Folder ? FOS_PICKFOLDERS : kind == Kind::File ? FOS_FILEMUSTEXIST : FOS_OVERWRITEPROMPT;
    dialog->SetOptions(options);
    dialog->SetTitle(Wide(title).c_str());
    if (save) {
        dialog->SetFileName(Wide(name).c_str());
        dialog->SetDefaultExtension(Wide(extension).c_str());
    }
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
    return Choose(owner, title, folder, Kind::File);
}

std::optional<std::string> Win32FileDialogs::ChooseFolder(std::intptr_t owner, const std::string& title,
                                                          const std::string& folder) {
    return Choose(owner, title, folder, Kind::Folder);
}

std::optional<std::string> Win32FileDialogs::SaveFile(std::intptr_t owner, const std::string& title,
                                                      const std::string& folder, const std::string& name,
                                                      const std::string& extension) {
    return Choose(owner, title, folder, Kind::Save, name, extension);
}
