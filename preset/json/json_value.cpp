#include "preset/json/json_value.h"

#include <new>

namespace padloom {

json_value* new_json_value(block_allocator* allocator) {
    return new (allocator->allocate(sizeof(json_value))) json_value{};
}

void append_child(json_value* container, json_value* child) {
    child->parent = container;
    if (container->last_child != nullptr) {
        container->last_child->next_sibling = child;
    } else {
        container->first_child = child;
    }
    container->last_child = child;
}

} // namespace padloom
