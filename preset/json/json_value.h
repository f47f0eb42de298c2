// SPDX-License-Identifier: GPL-3.0-or-later
// One node of a JSON tree. Names and string values point into the parsed text or into the arena
// the node came from; the tree lives exactly as long as that arena.
#pragma once

#include "preset/json/block_allocator.h"

#include <cstdint>
#include <new>

namespace padloom {

enum json_kind : int32_t {
    json_null = 0,
    json_object = 1,
    json_array = 2,
    json_string = 3,
    json_int = 4,
    json_float = 5,
    json_bool = 6,
};

struct json_value {
    json_value* parent;       // the containing object or array; null for the root
    json_value* next_sibling; // the next member or element of the same container
    json_value* first_child;  // objects and arrays
    json_value* last_child;   // kept for constant-time appending
    char* name;               // the member's key; null for elements, the root and keyless values
    union {
        char* string_value; // json_string
        int32_t int_value;  // json_int; json_bool holds 1 or 0
        float float_value;  // json_float
    };
    json_kind kind;
};

// A node from the allocator with every field zero: no links, no name, kind json_null.
inline json_value* new_json_value(block_allocator* allocator) {
    return new (allocator->allocate(sizeof(json_value), alignof(json_value))) json_value{};
}

// Makes child the last member or element of container.
inline void append_child(json_value* container, json_value* child) {
    child->parent = container;
    if (container->last_child != nullptr) {
        container->last_child->next_sibling = child;
    } else {
        container->first_child = child;
    }
    container->last_child = child;
}

} // namespace padloom
