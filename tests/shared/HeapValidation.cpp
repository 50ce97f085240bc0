// Each test of a Wine suite ends by validating every heap of its process. Under the heap check of
// cmake/wine-env.sh a freed block stays filled and out of use for a while and every block ends in
// a filled tail, so a validation finds a write into a freed block or past a block's end, and Wine
// names the block (err:heap). Validating at every heap call instead (trace+heap) costs six to
// twenty times the suites' run time.

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<HANDLE> ProcessHeaps() {
    std::vector<HANDLE> heaps;
    DWORD count = GetProcessHeaps(0, nullptr);
    // The count changes when a heap is made or destroyed between two calls.
    while (count != heaps.size()) {
        heaps.resize(count);
        count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    }
    return heaps;
}

bool EveryHeapIsValid() {
    bool valid = true;
    for (HANDLE heap : ProcessHeaps()) {
        valid = HeapValidate(heap, 0, nullptr) && valid;
    }
    return valid;
}

class HeapValidation : public testing::EmptyTestEventListener {
    // End events reach the listeners last added first: a failure here is the test's own. A heap
    // stays corrupted, so only the first test that leaves it so is named.
    void OnTestEnd(const testing::TestInfo&) override {
        if (!corrupted_) {
            corrupted_ = !EveryHeapIsValid();
            EXPECT_FALSE(corrupted_) << "the test left a heap corrupted";
        }
    }

    bool corrupted_ = false;
};

const bool kRegistered =
    (testing::UnitTest::GetInstance()->listeners().Append(new HeapValidation), true);

}  // namespace
