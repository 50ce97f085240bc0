#include "core/FileSystem.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// The end of the part that starts at `from` and runs to the next separator.
size_t PartEnd(const std::string& path, size_t from) {
    while (from < path.size() && !IsSeparator(path[from])) {
        ++from;
    }
    return from;
}

// As Windows compares names: either separator, letters in either case.
bool SameNameCharacter(char a, char b) {
    return (IsSeparator(a) && IsSeparator(b)) || std::tolower(static_cast<unsigned char>(a)) ==
                                                     std::tolower(static_cast<unsigned char>(b));
}

// Whether the path names something inside the folder.
bool IsInside(const std::string& path, std::string folder) {
    while (!folder.empty() && IsSeparator(folder.back())) {
        folder.pop_back();
    }
    return !folder.empty() && path.size() > folder.size() + 1 && IsSeparator(path[folder.size()]) &&
           std::equal(folder.begin(), folder.end(), path.begin(), SameNameCharacter);
}

bool HasDrive(const std::string& path) {
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

}  // namespace

std::string PathRoot(const std::string& path) {
    if (HasDrive(path)) {
        return path.substr(0, 2) + "\\";
    }
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        const size_t serverEnd = PartEnd(path, 2);
        const size_t shareStart = std::min(serverEnd + 1, path.size());
        const size_t shareEnd = PartEnd(path, shareStart);
        return "\\\\" + path.substr(2, serverEnd - 2) + "\\" +
               path.substr(shareStart, shareEnd - shareStart) + "\\";
    }
    if (!path.empty() && IsSeparator(path[0])) {
        return "\\";
    }
    return {};
}

std::optional<std::string> VirtualStoreCopy(const std::string& path, const VirtualStore& store) {
    if (!HasDrive(path) || store.root.empty()) {
        return std::nullopt;
    }
    for (const std::string& folder : store.virtualizedFolders) {
        if (IsInside(path, folder)) {
            return store.root + path.substr(2);
        }
    }
    return std::nullopt;
}

FileCheck WithVirtualStoreCopy(const FileCheck& original, const FileCheck& copy) {
    if (original.state != FileState::Absent) {
        return original;
    }
    switch (copy.state) {
        case FileState::Present:
            return {FileState::OutOfReach, kOnlyInVirtualStoreReason};
        case FileState::Absent:
            return original;
        case FileState::OutOfReach:
            break;
    }
    return copy;
}
