// SPDX-License-Identifier: GPL-3.0-or-later
#include "preset/json/block_allocator.h"

#include <algorithm>
#include <new>
#include <utility>

namespace padloom {
namespace {

// The header takes a whole number of alignment units, so the first allocation of a block is aligned
// as the block itself is (operator new aligns to max_align_t).
constexpr std::size_t headerSize = (sizeof(block_allocator::block) + block_allocator::alignment - 1) /
                                   block_allocator::alignment * block_allocator::alignment;

// Growth stops doubling here: beyond it a block is as big as its request needs, or this.
constexpr std::size_t largestGrowth = std::size_t{4} << 20;

using block = block_allocator::block;

// Large blocks are whole multiples of this, so that loading presets of similar sizes asks for the
// same block sizes again, and released large blocks wait in a list of the thread for the next arena
// that asks for exactly their size. Only large blocks are kept: it is their memory the C library
// gives back to the system at once and has to fault in again, page by page, for the next preset.
constexpr std::size_t largeBlockStep = std::size_t{64} << 10;
constexpr std::size_t mostSpareBytes = std::size_t{16} << 20;
constexpr int mostSpareBlocks = 32;

std::size_t blockSizeFor(std::size_t size) {
    return size < largeBlockStep ? size : (size + largeBlockStep - 1) / largeBlockStep * largeBlockStep;
}

// Newest first. It has no destructor, so an arena released after the thread's end (a static one,
// at exit) still finds it, closed, and frees its blocks at once.
struct SpareBlocks {
    block* first;
    std::size_t bytes;
    int count;
    bool closed;
};
thread_local SpareBlocks spares{};

void freeBlock(block* b) {
    ::operator delete(b->data);
}

// Frees the list when the thread ends.
struct SpareBlocksCloser {
    ~SpareBlocksCloser() {
        spares.closed = true;
        while (spares.first != nullptr) {
            block* next = spares.first->next;
            freeBlock(spares.first);
            spares.first = next;
        }
        spares.bytes = 0;
        spares.count = 0;
    }
};
thread_local SpareBlocksCloser closer;

block* takeSpare(std::size_t size) {
    for (block** link = &spares.first; *link != nullptr; link = &(*link)->next) {
        block* found = *link;
        if (found->size == size) {
            *link = found->next;
            spares.bytes -= found->size;
            --spares.count;
            return found;
        }
    }
    return nullptr;
}

// Keeps a large block, dropping the oldest ones beyond the bounds.
void keepSpare(block* b) {
    if (spares.closed || b->size < largeBlockStep || b->size > mostSpareBytes) {
        freeBlock(b);
        return;
    }
    (void)&closer; // registers the list's release at the thread's end
    b->next = spares.first;
    spares.first = b;
    spares.bytes += b->size;
    ++spares.count;
    while (spares.bytes > mostSpareBytes || spares.count > mostSpareBlocks) {
        block** last = &spares.first;
        while ((*last)->next != nullptr) {
            last = &(*last)->next;
        }
        spares.bytes -= (*last)->size;
        --spares.count;
        freeBlock(*last);
        *last = nullptr;
    }
}

} // namespace

block_allocator::block_allocator(uint32_t block_size) : block_size(block_size) {}

block_allocator::~block_allocator() {
    release_all();
}

// Requests keep their size; it is the start of each one that is moved up to the next aligned offset,
// so a node can follow a text of any length.
void* block_allocator::allocate_in_new_block(std::size_t n) {
    if (n > SIZE_MAX - headerSize - largeBlockStep) {
        throw std::bad_alloc();
    }
    const std::size_t growth = std::min(held_, largestGrowth);
    const std::size_t size = blockSizeFor(std::max({n + headerSize, std::size_t{block_size}, growth}));
    block* fresh = takeSpare(size);
    if (fresh == nullptr) {
        char* memory = static_cast<char*>(::operator new(size));
        fresh = new (memory) block{size, 0, memory, nullptr};
    }
    fresh->used = headerSize + n;
    fresh->next = head;
    head = fresh;
    held_ += fresh->size;
    return fresh->data + headerSize;
}

void block_allocator::release_all() {
    while (head != nullptr) {
        block* older = head->next;
        keepSpare(head);
        head = older;
    }
    held_ = 0;
}

void block_allocator::swap(block_allocator& other) {
    std::swap(head, other.head);
    std::swap(block_size, other.block_size);
    std::swap(held_, other.held_);
}

} // namespace padloom
