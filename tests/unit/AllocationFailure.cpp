#include "AllocationFailure.h"

#include <cstdlib>
#include <new>

namespace {

size_t failingBytes = 0;
int allocationsUntilFailure = 0;

}  // namespace

void* operator new(size_t bytes) {
    if (failingBytes != 0 && bytes >= failingBytes && --allocationsUntilFailure == 0) {
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(bytes == 0 ? 1 : bytes)) {
        return block;
    }
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, size_t) noexcept {
    std::free(block);
}

AllocationFailure::AllocationFailure(size_t bytes, int nth) {
    failingBytes = bytes;
    allocationsUntilFailure = nth;
}

AllocationFailure::~AllocationFailure() {
    failingBytes = 0;
}
