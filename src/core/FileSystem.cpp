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

}  // namespace

std::string PathRoot(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
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
