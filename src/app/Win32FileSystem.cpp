#include "app/Win32FileSystem.h"

#include <windows.h>

bool Win32FileSystem::FileExists(const std::string& path) {
    return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
