#pragma once

#include <string>
#include <vector>

// A file that cannot be tested now is not a file that is gone: shares, mapped and removable
// drives come and go, and a drive may refuse access for a while.
enum class FileState { Present, Absent, OutOfReach };

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The state of each path, in order. Absent only when the system says the file or its folder
    // does not exist on a drive or share that answers. The tests of one call hold the caller for
    // about a second at most; a test still running then counts as out of reach.
    virtual std::vector<FileState> Probe(const std::vector<std::string>& paths) = 0;
};

// The drive or share that holds a path: "C:\" for "C:\x\y", "\\server\share\" for a UNC path,
// "\" for a path rooted on the current drive, "" for a relative one.
std::string PathRoot(const std::string& path);
