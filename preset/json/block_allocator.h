// SPDX-License-Identifier: GPL-3.0-or-later
// An arena: hands out memory from large blocks and frees them all at once. The JSON tree and the
// preset text it points into live in one of these. Released blocks wait, up to a bound, for the next
// arena of the same thread: loading one preset after another then reuses warm memory rather than
// asking the system for fresh pages each time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace padloom {

class block_allocator {
public:
    // Header at the start of every block.
    struct block {
        std::size_t size; // bytes of the whole block, header included
        std::size_t used; // bytes handed out so far, header included
        char* data;       // start of the block
        block* next;      // the previous, older block
    };

    // Unless asked otherwise, every allocation starts at a multiple of this, so any object type may
    // be placed in it.
    static constexpr std::size_t alignment = alignof(std::max_align_t);

    explicit block_allocator(uint32_t block_size);
    ~block_allocator();
    block_allocator(const block_allocator&) = delete;
    block_allocator& operator=(const block_allocator&) = delete;

    // Memory that lives until release_all or destruction, starting at a multiple of align (a power
    // of two, at most alignment). Only the newest block is served from; a request that does not fit
    // there gets a new block of at least block_size bytes, and of at least the bytes held so far, so
    // that a large tree takes a few blocks rather than thousands.
    void* allocate(std::size_t n, std::size_t align = alignment) {
        if (head != nullptr) {
            const std::size_t start = (head->used + align - 1) & ~(align - 1);
            if (start <= head->size && n <= head->size - start) {
                head->used = start + n;
                return head->data + start;
            }
        }
        return allocate_in_new_block(n);
    }
    // Frees every block; the allocator is empty afterwards.
    void release_all();
    // Exchanges the blocks of the two allocators.
    void swap(block_allocator& other);

    block* head = nullptr;
    uint32_t block_size;

private:
    void* allocate_in_new_block(std::size_t n);

    std::size_t held_ = 0; // bytes of all blocks
};

} // namespace padloom
