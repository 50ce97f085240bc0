#pragma once

#include <optional>
#include <string>
#include <vector>

// A file that cannot be tested now is not a file that is gone: shares, mapped and removable
// drives come and go, and a drive may refuse access for a while.
enum class FileState { Present, Absent, OutOfReach };

struct FileCheck {
    FileState state = FileState::OutOfReach;
    // Why a file is out of reach, in the system's words where it has some.
    std::string reason;
    bool operator==(const FileCheck& o) const { return state == o.state && reason == o.reason; }
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The check of each path, in order. Absent only when the system says the file or its folder
    // does not exist on a drive or share that answers. The tests of one call hold the caller for
    // about a second at most; a test still running then counts as out of reach.
    virtual std::vector<FileCheck> Probe(const std::vector<std::string>& paths) = 0;
};

// The drive or share that holds a path: "C:\" for "C:\x\y", "\\server\share\" for a UNC path,
// "\" for a path rooted on the current drive, "" for a relative one.
std::string PathRoot(const std::string& path);

// The folders whose files a program under file virtualization writes into the user's
// VirtualStore instead, and where that store is.
struct VirtualStore {
    std::vector<std::string> virtualizedFolders;
    std::string root;
};

constexpr char kOnlyInVirtualStoreReason[] =
    "It is only in this user's VirtualStore: start Vantrel Monitor without administrator rights.";

// Where the VirtualStore would hold a copy of the file: the store's root followed by the path
// without its drive, for a path inside a virtualized folder; nothing for any other path.
std::optional<std::string> VirtualStoreCopy(const std::string& path, const VirtualStore& store);

// A program run elevated sees no virtualization: a file that the standard-user client wrote into
// a protected folder is then only in the VirtualStore. Such a file is not gone, but this program
// cannot use it: it is out of reach. `copy` is the check of the VirtualStore copy.
FileCheck WithVirtualStoreCopy(const FileCheck& original, const FileCheck& copy);
