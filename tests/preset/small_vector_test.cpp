// SPDX-License-Identifier: GPL-3.0-or-later
#include "preset/small_vector.h"

#include <gtest/gtest.h>

#include <vector>

namespace padloom::test {
namespace {

using Vector = SmallVector<int, 3>;

std::vector<int> items(const Vector& v) {
    return {v.begin(), v.end()};
}

// Up to three items stay inside, past that they move to the heap; every copy and move keeps them
// in order, and an item pushed from the vector itself survives the move to the heap.
TEST(SmallVector, KeepsItsItemsInsideAndOnTheHeap) {
    for (int count = 0; count <= 7; ++count) {
        SCOPED_TRACE(count);
        Vector built;
        std::vector<int> expected;
        for (int i = 0; i < count; ++i) {
            built.push_back(i * 10 + 1);
            expected.push_back(i * 10 + 1);
        }
        const Vector copy = built;
        Vector assigned{9};
        assigned = copy;
        Vector moveAssigned{1, 2, 3, 4};
        moveAssigned = Vector(std::move(built));
        for (const Vector* v : std::initializer_list<const Vector*>{&copy, &assigned, &moveAssigned}) {
            EXPECT_EQ(items(*v), expected);
            EXPECT_TRUE(*v == copy);
        }
        assigned.push_back(count > 0 ? assigned[0] : 5);
        expected.push_back(count > 0 ? expected[0] : 5);
        EXPECT_EQ(items(assigned), expected);
        EXPECT_FALSE(assigned == copy);
    }
}

} // namespace
} // namespace padloom::test
