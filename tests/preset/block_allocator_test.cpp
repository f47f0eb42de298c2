// SPDX-License-Identifier: GPL-3.0-or-later
#include "preset/json/block_allocator.h"
#include "preset/json/json_value.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace padloom {
namespace {

std::size_t blockCount(const block_allocator& allocator) {
    std::size_t count = 0;
    for (const block_allocator::block* b = allocator.head; b != nullptr; b = b->next) {
        ++count;
    }
    return count;
}

TEST(BlockAllocator, OnlyTheNewestBlockServesAndBigRequestsGetTheirOwn) {
    struct Row {
        const char* what;
        std::vector<std::size_t> requests;
        std::size_t expectedBlocks;
    };
    const Row rows[] = {
        {"none", {}, 0},
        {"two small ones share", {10, 10}, 1},
        {"a full block starts another", {900, 200}, 2},
        {"a big one, then a small one", {4000, 10}, 2},
        {"older room is not reused", {10, 4000, 10, 10}, 3},
    };
    for (const Row& row : rows) {
        block_allocator allocator(1024);
        for (std::size_t n : row.requests) {
            std::memset(allocator.allocate(n), 0xAB, n);
        }
        EXPECT_EQ(blockCount(allocator), row.expectedBlocks) << row.what;
        allocator.release_all();
        EXPECT_EQ(allocator.head, nullptr) << row.what;
        std::memset(allocator.allocate(10), 0, 10);
        EXPECT_EQ(blockCount(allocator), 1u) << row.what << ": it serves again once released";
    }
}

TEST(BlockAllocator, NodesAfterTextsOfAnyLengthAreAligned) {
    block_allocator allocator(1024);
    for (std::size_t textLength = 1; textLength < 40; ++textLength) {
        allocator.allocate(textLength);
        json_value* node = new_json_value(&allocator);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(node) % alignof(json_value), 0u) << textLength;
    }
}

} // namespace
} // namespace padloom
