#pragma once
// Windows' dialogs for choosing a file or a folder, as the item editor and the copy onto the
// medium open them. Each is modal to its owner (a form's Handle()) and returns the chosen path,
// or nullopt when the user cancelled. A program that chooses no files (the medium checker) keeps
// this class as it is, which chooses nothing.
#include <cstdint>
#include <optional>
#include <string>

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // Opens the dialog in `folder` with `title` as its caption; returns the file's full path.
    virtual std::optional<std::string> ChooseFile(std::intptr_t /*owner*/, const std::string& /*title*/,
                                                  const std::string& /*folder*/) {
        return std::nullopt;
    }
    // The same for a folder.
    virtual std::optional<std::string> ChooseFolder(std::intptr_t /*owner*/, const std::string& /*title*/,
                                                    const std::string& /*folder*/) {
        return std::nullopt;
    }
    // Where to save a new file: opens in `folder` with `name` proposed; the dialog itself asks
    // before an existing file is replaced. `extension` ("iso") is added to a name without one.
    virtual std::optional<std::string> SaveFile(std::intptr_t /*owner*/, const std::string& /*title*/,
                                                const std::string& /*folder*/, const std::string& /*name*/,
                                                const std::string& /*extension*/) {
        return std::nullopt;
    }
};

inline FileDialogs& NoFileDialogs() {
    static FileDialogs none;
    return none;
}
