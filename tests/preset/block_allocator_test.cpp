#include "preset/json/block_allocator.h"
#include "preset/json/json_value.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace padloom {
namespace {

std::vector<std::size_t> blockSizes(const block_allocator& allocator) {
    std::vector<std::size_t> sizes;
    for (const block_allocator::block* b = allocator.head; b != nullptr; b = b->next) {
        sizes.push_back(b->size);
    }
    return sizes;
}

struct BlockCase {
    const char* what;
    std::vector<std::size_t> requests;
    std::size_t expectedBlocks;
};

void PrintTo(const BlockCase& c, std::ostream* os) {
    *os << c.what;
}

class BlockList : public ::testing::TestWithParam<BlockCase> {};

TEST_P(BlockList, OnlyTheNewestBlockServesAndBigRequestsGetTheirOwn) {
    block_allocator allocator(1024);
    for (std::size_t n : GetParam().requests) {
        std::memset(allocator.allocate(n), 0xAB, n);
    }
    EXPECT_EQ(blockSizes(allocator).size(), GetParam().expectedBlocks);
}

INSTANTIATE_TEST_SUITE_P(Requests, BlockList,
                         ::testing::Values(BlockCase{"none", {}, 0},
                                           BlockCase{"two small ones share", {10, 10}, 1},
                                           BlockCase{"a full block starts another", {900, 200}, 2},
                                           BlockCase{"a big one, then a small one", {4000, 10}, 2},
                                           BlockCase{"older room is not reused", {10, 4000, 10, 10}, 3}),
                         [](const auto& info) {
                             std::string name = info.param.what;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST(BlockAllocator, NodesAfterTextsOfAnyLengthAreAligned) {
    block_allocator allocator(1024);
    for (std::size_t textLength = 1; textLength < 40; ++textLength) {
        allocator.allocate(textLength);
        json_value* node = new_json_value(&allocator);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(node) % alignof(json_value), 0u) << textLength;
    }
}

TEST(BlockAllocator, ReleaseAllEmptiesItAndItServesAgain) {
    block_allocator allocator(1024);
    allocator.allocate(100);
    allocator.allocate(3000);
    allocator.release_all();
    EXPECT_EQ(allocator.head, nullptr);
    std::memset(allocator.allocate(10), 0, 10);
    EXPECT_EQ(blockSizes(allocator).size(), 1u);
}

} // namespace
} // namespace padloom
