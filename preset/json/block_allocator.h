// An arena: hands out memory from large blocks and frees them all at once. The JSON tree and the
// preset text it points into live in one of these.
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

    // Every allocation starts at a multiple of this, so any object type may be placed in it.
    static constexpr std::size_t alignment = alignof(std::max_align_t);

    explicit block_allocator(uint32_t block_size);
    ~block_allocator();
    block_allocator(const block_allocator&) = delete;
    block_allocator& operator=(const block_allocator&) = delete;

    // Memory that lives until release_all or destruction. Only the newest block is served from;
    // a request that does not fit there gets a new block of at least block_size bytes.
    void* allocate(std::size_t n);
    // Frees every block; the allocator is empty afterwards.
    void release_all();

    block* head = nullptr;
    uint32_t block_size;

private:
    bool head_fits(std::size_t n) const;
};

} // namespace padloom
