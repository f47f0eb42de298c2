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

constexpr std::size_t header = 64; // no header is this large; used to tell small blocks from big ones

struct BlockCase {
    const char* what;
    std::vector<std::size_t> requests;
    std::size_t expectedBlocks;
};

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

TEST(BlockAllocator, BigRequestGetsABlockOfItsOwnSize) {
    block_allocator allocator(1024);
    allocator.allocate(5000);
    ASSERT_NE(allocator.head, nullptr);
    EXPECT_GE(allocator.head->size, 5000u);
    EXPECT_LT(allocator.head->size, 5000u + header);
    EXPECT_EQ(allocator.head->used, allocator.head->size);
}

TEST(BlockAllocator, NodesAfterTextsOfAnyLengthAreAligned) {
    block_allocator allocator(1024);
    for (std::size_t textLength = 1; textLength < 40; ++textLength) {
        allocator.allocate(textLength);
        json_value* node = new_json_value(&allocator);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(node) % alignof(std::max_align_t), 0u) << textLength;
    }
}

TEST(BlockAllocator, AllocationsDoNotOverlap) {
    block_allocator allocator(64);
    std::vector<std::pair<unsigned char*, std::size_t>> pieces;
    for (std::size_t n = 1; n < 200; n += 7) {
        auto* p = static_cast<unsigned char*>(allocator.allocate(n));
        std::memset(p, static_cast<int>(n), n);
        pieces.emplace_back(p, n);
    }
    for (const auto& [p, n] : pieces) {
        for (std::size_t i = 0; i < n; ++i) {
            ASSERT_EQ(p[i], static_cast<unsigned char>(n));
        }
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

TEST(JsonValue, NewNodeIsEmptyAndAppendingKeepsOrder) {
    block_allocator allocator(1024);
    json_value* array = new_json_value(&allocator);
    EXPECT_EQ(array->kind, json_null);
    EXPECT_EQ(array->first_child, nullptr);
    EXPECT_EQ(array->name, nullptr);
    array->kind = json_array;
    json_value* children[3];
    for (json_value*& child : children) {
        child = new_json_value(&allocator);
        append_child(array, child);
    }
    EXPECT_EQ(array->first_child, children[0]);
    EXPECT_EQ(children[0]->next_sibling, children[1]);
    EXPECT_EQ(children[1]->next_sibling, children[2]);
    EXPECT_EQ(children[2]->next_sibling, nullptr);
    EXPECT_EQ(array->last_child, children[2]);
    EXPECT_EQ(children[1]->parent, array);
}

} // namespace
} // namespace padloom
