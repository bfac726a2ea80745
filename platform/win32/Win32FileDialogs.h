#pragma once
// Windows' dialogs for choosing a file or a folder.
#include "platform/FileDialogs.h"

class Win32FileDialogs : public FileDialogs {
public:
    std::optional<std::string> ChooseFile(std::intptr_t owner, const std::string& title,
                                          const std::string& folder) override;
    std::optional<std::string> ChooseFolder(std::intptr_t owner, const std::string& title,
                                            const std::string& folder) override;
    std::optional<std::string> SaveFile(std::intptr_t owner, const std::string& title, const std::string& folder,
                                        const std::string& name, const std::string& extension) override;
};
