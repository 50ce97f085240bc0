#pragma once

#include <cstddef>

// While one lives, the nth allocation of at least `bytes` bytes throws std::bad_alloc: the
// out-of-memory paths, natively.
class AllocationFailure {
public:
    AllocationFailure(size_t bytes, int nth);
    ~AllocationFailure();
    AllocationFailure(const AllocationFailure&) = delete;
    AllocationFailure& operator=(const AllocationFailure&) = delete;
};
