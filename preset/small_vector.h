// SPDX-License-Identifier: GPL-3.0-or-later
// A vector of plain records that holds up to N of them inside itself and moves them to the heap
// only past that: a bind's short list of outputs then costs no allocation to build or to free.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <new>
#include <type_traits>

namespace padloom {

template <class T, std::size_t N> class SmallVector {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                  "items are copied as plain bytes and never destroyed");
    static_assert(N > 0);

public:
    using value_type = T;
    using size_type = std::size_t;
    using iterator = T*;
    using const_iterator = const T*;

    SmallVector() noexcept {}
    SmallVector(std::initializer_list<T> items) { append(items.begin(), items.size()); }
    SmallVector(const SmallVector& other) { append(other.data(), other.size()); }
    SmallVector(SmallVector&& other) noexcept { take(other); }
    ~SmallVector() { release(); }

    SmallVector& operator=(const SmallVector& other) {
        if (this != &other) {
            clear();
            append(other.data(), other.size());
        }
        return *this;
    }
    SmallVector& operator=(SmallVector&& other) noexcept {
        if (this != &other) {
            release();
            take(other);
        }
        return *this;
    }

    T* data() noexcept { return onHeap() ? storage_.heap : storage_.items; }
    const T* data() const noexcept { return onHeap() ? storage_.heap : storage_.items; }
    size_type size() const noexcept { return size_; }
    size_type capacity() const noexcept { return capacity_; }
    bool empty() const noexcept { return size_ == 0; }

    T& operator[](size_type i) noexcept { return data()[i]; }
    const T& operator[](size_type i) const noexcept { return data()[i]; }
    iterator begin() noexcept { return data(); }
    iterator end() noexcept { return data() + size_; }
    const_iterator begin() const noexcept { return data(); }
    const_iterator end() const noexcept { return data() + size_; }

    void clear() noexcept { size_ = 0; }
    void reserve(size_type count) {
        if (count > capacity_) {
            grow(count);
        }
    }
    void push_back(const T& item) {
        const T copy = item; // item may live in the storage that grow releases
        if (size_ == capacity_) {
            grow(2 * size_type{capacity_});
        }
        ::new (static_cast<void*>(data() + size_)) T(copy);
        ++size_;
    }

    friend bool operator==(const SmallVector& a, const SmallVector& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    bool onHeap() const noexcept { return capacity_ > N; }

    void append(const T* items, size_type count) {
        reserve(size_ + count);
        std::uninitialized_copy_n(items, count, data() + size_);
        size_ += static_cast<uint32_t>(count);
    }

    void grow(size_type count) {
        T* fresh = static_cast<T*>(::operator new(count * sizeof(T)));
        std::uninitialized_copy_n(data(), size_, fresh);
        release();
        storage_.heap = fresh;
        capacity_ = static_cast<uint32_t>(count);
    }

    // Frees the heap block, if any, and goes back to the storage inside.
    void release() noexcept {
        if (onHeap()) {
            ::operator delete(storage_.heap);
            capacity_ = N;
        }
    }

    // Copies the storage whole: the heap block's address, or the items inside (a fixed size, which
    // is cheaper than a copy of only the items in use).
    void take(SmallVector& other) noexcept {
        storage_ = other.storage_;
        size_ = other.size_;
        capacity_ = other.capacity_;
        other.size_ = 0;
        other.capacity_ = N;
    }

    union Storage {
        Storage() noexcept {}
        T* heap;
        T items[N];
    } storage_;
    uint32_t size_ = 0;
    uint32_t capacity_ = N;
};

} // namespace padloom
