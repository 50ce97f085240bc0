#pragma once

#include "core/Companions.h"

class Win32FileSystem : public FileSystem {
public:
    bool FileExists(const std::string& path) override;
};
