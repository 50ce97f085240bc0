#include "app/Win32FileSystem.h"

#include <algorithm>
#include <cctype>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>

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

// What one call waits for: each path's state as its test ends.
struct Batch {
    explicit Batch(size_t paths) : states(paths, FileState::OutOfReach) {}
    std::mutex lock;
    std::condition_variable done;
    std::vector<FileState> states;
    size_t rootsLeft = 0;
};

// The paths of one drive or share, by their place in the call.
struct RootGroup {
    std::string key;
    std::vector<std::string> paths;
    std::vector<size_t> places;
};

// A file is gone only when the system says so on a drive or share that answers: anything else
// (not ready, no network path, access refused) is a file that cannot be tested now.
FileState ProbeOne(Query query, const std::string& path, std::optional<bool>& rootAnswers) {
    if (query(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        return FileState::Present;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        return FileState::OutOfReach;
    }
    if (!rootAnswers) {
        const std::string root = PathRoot(path);
        rootAnswers = query(root.empty() ? "." : root.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    return *rootAnswers ? FileState::Absent : FileState::OutOfReach;
}

// One drive's or share's tests, run by a thread of the system's pool; it outlives the call that
// queued it when the drive does not answer, and so holds what it writes to.
struct GroupTest {
    Query query;
    std::shared_ptr<RootsUnderTest> roots;
    std::shared_ptr<Batch> batch;
    RootGroup group;
};

void EndGroup(const GroupTest& test) {
    test.roots->End(test.group.key);
    std::lock_guard<std::mutex> counting(test.batch->lock);
    --test.batch->rootsLeft;
    test.batch->done.notify_all();
}

DWORD WINAPI RunGroupTest(LPVOID parameter) {
    const std::unique_ptr<GroupTest> test(static_cast<GroupTest*>(parameter));
    std::optional<bool> rootAnswers;
    for (size_t at = 0; at < test->group.paths.size(); ++at) {
        const FileState state = ProbeOne(test->query, test->group.paths[at], rootAnswers);
        std::lock_guard<std::mutex> storing(test->batch->lock);
        test->batch->states[test->group.places[at]] = state;
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

}  // namespace

Win32FileSystem::Win32FileSystem(AttributesQuery query, DWORD waitMs)
    : query_(query), waitMs_(waitMs), busyRoots_(std::make_shared<RootsUnderTest>()) {}

std::vector<FileState> Win32FileSystem::Probe(const std::vector<std::string>& paths) {
    const auto batch = std::make_shared<Batch>(paths.size());
    for (auto& [key, group] : GroupByRoot(paths)) {
        if (!busyRoots_->Begin(key)) {
            continue;  // still being tested since an earlier call
        }
        {
            std::lock_guard<std::mutex> counting(batch->lock);
            ++batch->rootsLeft;
        }
        // The pool's threads are kept for the next pass: none is made and ended at every tick.
        auto test =
            std::make_unique<GroupTest>(GroupTest{query_, busyRoots_, batch, std::move(group)});
        if (QueueUserWorkItem(RunGroupTest, test.get(), WT_EXECUTELONGFUNCTION)) {
            test.release();  // NOLINT(bugprone-unused-return-value): RunGroupTest owns it now
        } else {
            EndGroup(*test);  // its files count as out of reach
        }
    }
    std::unique_lock<std::mutex> waiting(batch->lock);
    batch->done.wait_for(waiting, std::chrono::milliseconds(waitMs_),
                         [&] { return batch->rootsLeft == 0; });
    return batch->states;
}
