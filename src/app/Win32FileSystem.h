#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "core/FileSystem.h"

struct RootsUnderTest;

// Tests files on threads of the system's pool, one per drive or share, so that a share that does
// not answer holds up neither the program nor the files on other drives. A drive whose tests are
// still running from an earlier call is not tested again until they end: its files are out of
// reach meanwhile. A file that looks gone is looked for in the user's VirtualStore too.
class Win32FileSystem : public FileSystem {
public:
    // The attribute query behind every test; tests put one that blocks in its place.
    using AttributesQuery = DWORD(WINAPI*)(LPCSTR path);
    static constexpr DWORD kProbeWaitMs = 1000;

    explicit Win32FileSystem(AttributesQuery query = GetFileAttributesA,
                             DWORD waitMs = kProbeWaitMs);

    std::vector<FileCheck> Probe(const std::vector<std::string>& paths) override;

private:
    AttributesQuery query_;
    DWORD waitMs_;
    std::shared_ptr<RootsUnderTest> busyRoots_;
    std::shared_ptr<const VirtualStore> virtualStore_;  // read from the system at the first call
};

// The folders Windows virtualizes and the user's VirtualStore, as this system places them.
VirtualStore SystemVirtualStore();
