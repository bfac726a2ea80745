#pragma once
#include "platform/FileCopier.h"

class Win32FileCopier : public FileCopier {
public:
    CopyResult Copy(const std::string& from, const std::string& to, const Progressed& progressed) override;
    CopyResult CopyFolder(const std::string& from, const std::string& to, const Progressed& progressed) override;
};
