#include "preset/json/block_allocator.h"

#include <algorithm>
#include <new>

namespace padloom {
namespace {

constexpr std::size_t roundUp(std::size_t n) {
    return (n + block_allocator::alignment - 1) / block_allocator::alignment * block_allocator::alignment;
}

// The header takes a whole number of alignment units, so the first allocation of a block is aligned
// as the block itself is (operator new aligns to max_align_t).
constexpr std::size_t headerSize = roundUp(sizeof(block_allocator::block));

} // namespace

block_allocator::block_allocator(uint32_t block_size) : block_size(block_size) {}

block_allocator::~block_allocator() {
    release_all();
}

bool block_allocator::head_fits(std::size_t n) const {
    if (head == nullptr) {
        return false;
    }
    const std::size_t start = roundUp(head->used);
    return start <= head->size && n <= head->size - start;
}

void* block_allocator::allocate(std::size_t n) {
    // Requests keep their size; it is the start of each one that is moved up to the next aligned
    // offset, so a node can follow a text of any length.
    if (!head_fits(n)) {
        if (n > SIZE_MAX - headerSize) {
            throw std::bad_alloc();
        }
        const std::size_t size = std::max<std::size_t>(n + headerSize, block_size);
        char* memory = static_cast<char*>(::operator new(size));
        head = new (memory) block{size, headerSize, memory, head};
    }
    const std::size_t start = roundUp(head->used);
    head->used = start + n;
    return head->data + start;
}

void block_allocator::release_all() {
    while (head != nullptr) {
        block* older = head->next;
        ::operator delete(head->data);
        head = older;
    }
}

} // namespace padloom
