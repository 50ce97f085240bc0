#include "app/Win32FileSystem.h"

#include <shlobj.h>

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "app/SystemMessage.h"

// The drives and shares whose tests are running, by their root in capitals.
struct RootsUnderTest {
    bool Begin(const std::string& key) {
        std::lock_guard<std::mutex> guard(lock);
        return testing.insert(key).second;
    }
    void End(const std::string& key) {
        std::lock_guard<std::mutex> guard(lock);
        testing.erase(key);
    }

    std::mutex lock;
    std::set<std::string> testing;
};

namespace {

using Query = Win32FileSystem::AttributesQuery;

constexpr char kNoAnswerReason[] = "The drive or share did not answer within a second.";

// What one call waits for: each path's check as its test ends.
struct Batch {
    explicit Batch(size_t paths)
        : checks(paths, FileCheck{FileState::OutOfReach, kNoAnswerReason}) {}
    std::mutex lock;
    std::condition_variable done;
    std::vector<FileCheck> checks;
    size_t rootsLeft = 0;
};

// The paths of one drive or share, by their place in the call.
struct RootGroup {
    std::string key;
    std::vector<std::string> paths;
    std::vector<size_t> places;
};

// Whether a drive or share answers, asked once per drive and call.
class RootAnswer {
public:
    explicit RootAnswer(Query query) : query_(query) {}
    // The system's reason when it does not answer; nothing when it does.
    const std::optional<std::string>& Refusal(const std::string& path) {
        if (!asked_) {
            asked_ = true;
            const std::string root = PathRoot(path);
            if (query_(root.empty() ? "." : root.c_str()) == INVALID_FILE_ATTRIBUTES) {
                refusal_ = SystemMessage(GetLastError());
            }
        }
        return refusal_;
    }

private:
    Query query_;
    bool asked_ = false;
    std::optional<std::string> refusal_;
};

// A file is gone only when the system says so on a drive or share that answers: anything else
// (not ready, no network path, access refused) is a file that cannot be tested now.
FileCheck ProbeOne(Query query, const std::string& path, RootAnswer& root) {
    if (query(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return {FileState::Present, {}};
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        return {FileState::OutOfReach, SystemMessage(error)};
    }
    if (const std::optional<std::string>& refusal = root.Refusal(path)) {
        return {FileState::OutOfReach, *refusal};
    }
    return {FileState::Absent, {}};
}

// One drive's or share's tests, run by a thread of the system's pool; it outlives the call that
// queued it when the drive does not answer, and so holds what it writes to.
struct GroupTest {
    Query query;
    std::shared_ptr<RootsUnderTest> roots;
    std::shared_ptr<Batch> batch;
    std::shared_ptr<const VirtualStore> virtualStore;
    RootGroup group;
};

void ProbeGroup(const GroupTest& test) {
    RootAnswer root(test.query);
    for (size_t at = 0; at < test.group.paths.size(); ++at) {
        const std::string& path = test.group.paths[at];
        FileCheck check = ProbeOne(test.query, path, root);
        if (const auto copy = VirtualStoreCopy(path, *test.virtualStore);
            copy && check.state == FileState::Absent) {
            RootAnswer copyRoot(test.query);
            check = WithVirtualStoreCopy(check, ProbeOne(test.query, *copy, copyRoot));
        }
        std::lock_guard<std::mutex> storing(test.batch->lock);
        test.batch->checks[test.group.places[at]] = std::move(check);
    }
}

void EndGroup(const GroupTest& test) {
    test.roots->End(test.group.key);
    std::lock_guard<std::mutex> counting(test.batch->lock);
    --test.batch->rootsLeft;
    test.batch->done.notify_all();
}

DWORD WINAPI RunGroupTest(LPVOID parameter) {
    const std::unique_ptr<GroupTest> test(static_cast<GroupTest*>(parameter));
    // Windows raises "There is no disk in the drive" for a card reader or an optical drive without
    // its medium, and the pool thread would wait for a person. The thread's own mode, given back
    // to the pool afterwards; the process's mode stays, since the companions inherit it.
    DWORD poolMode = 0;
    const bool modeSet =
        SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &poolMode) != FALSE;
    try {
        ProbeGroup(*test);
    } catch (...) {
        // Out of memory: an exception must not end the program from a pool thread. The files
        // not tested yet count as out of reach.
    }
    if (modeSet) {
        SetThreadErrorMode(poolMode, nullptr);
    }
    EndGroup(*test);
    return 0;
}

std::map<std::string, RootGroup> GroupByRoot(const std::vector<std::string>& paths) {
    std::map<std::string, RootGroup> groups;
    for (size_t place = 0; place < paths.size(); ++place) {
        std::string key = PathRoot(paths[place]);
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        RootGroup& group = groups[key];
        group.key = key;
        group.paths.push_back(paths[place]);
        group.places.push_back(place);
    }
    return groups;
}

std::optional<std::string> ShellFolder(int folder) {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return std::nullopt;
    }
    return std::string(path);
}

}  // namespace

VirtualStore SystemVirtualStore() {
    VirtualStore store;
    for (const int folder :
         {CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86, CSIDL_COMMON_APPDATA, CSIDL_WINDOWS}) {
        if (const std::optional<std::string> path = ShellFolder(folder)) {
            store.virtualizedFolders.push_back(*path);
        }
    }
    // A 32-bit program's Program Files folder is the 32-bit one; Windows names the other here.
    char programFiles64[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("ProgramW6432", programFiles64, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        store.virtualizedFolders.emplace_back(programFiles64, length);
    }
    if (const std::optional<std::string> localAppData = ShellFolder(CSIDL_LOCAL_APPDATA)) {
        store.root = *localAppData + "\\VirtualStore";
    }
    return store;
}

Win32FileSystem::Win32FileSystem(AttributesQuery query, DWORD waitMs)
    : query_(query), waitMs_(waitMs), busyRoots_(std::make_shared<RootsUnderTest>()) {}

std::vector<FileCheck> Win32FileSystem::Probe(const std::vector<std::string>& paths) {
    if (!virtualStore_) {
        virtualStore_ = std::make_shared<const VirtualStore>(SystemVirtualStore());
    }
    const auto batch = std::make_shared<Batch>(paths.size());
    for (auto& root : GroupByRoot(paths)) {
        // Made before the drive is marked: an allocation that fails leaves no drive marked.
        auto test = std::make_unique<GroupTest>(
            GroupTest{query_, busyRoots_, batch, virtualStore_, std::move(root.second)});
        if (!busyRoots_->Begin(test->group.key)) {
            continue;  // still being tested since an earlier call
        }
        {
            std::lock_guard<std::mutex> counting(batch->lock);
            ++batch->rootsLeft;
        }
        // The pool's threads are kept for the next pass: none is made and ended at every tick.
        if (QueueUserWorkItem(RunGroupTest, test.get(), WT_EXECUTELONGFUNCTION)) {
            test.release();  // NOLINT(bugprone-unused-return-value): RunGroupTest owns it now
        } else {
            EndGroup(*test);  // its files count as out of reach
        }
    }
    std::unique_lock<std::mutex> waiting(batch->lock);
    batch->done.wait_for(waiting, std::chrono::milliseconds(waitMs_),
                         [&] { return batch->rootsLeft == 0; });
    return batch->checks;
}
