// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {
thread_local int64_t allocations = 0;
#if defined(__SANITIZE_ADDRESS__)
constexpr bool counting = false;
#else
constexpr bool counting = true;
#endif
} // namespace

#if !defined(__SANITIZE_ADDRESS__)

// The replacements forward to malloc and free, which GCC cannot see pair up.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

// Every form of operator new reaches one of these two; the array and nothrow forms call them.
void* operator new(std::size_t size) {
    ++allocations;
    if (void* block = std::malloc(size ? size : 1)) {
        return block;
    }
    throw std::bad_alloc();
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    ++allocations;
    const auto align = static_cast<std::size_t>(alignment);
    if (void* block = std::aligned_alloc(align, (size + align - 1) / align * align)) {
        return block;
    }
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
    std::free(block);
}
#endif

namespace padloom::test {

bool allocationsCounted() {
    return counting;
}

int64_t allocationsOnThisThread() {
    return allocations;
}

} // namespace padloom::test
