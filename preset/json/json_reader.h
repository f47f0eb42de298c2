// The in-place JSON reader: decodes every string inside the given text and builds a tree of
// json_value nodes from the allocator whose names and strings point into that same text.
#pragma once

#include "preset/json/block_allocator.h"
#include "preset/json/json_value.h"

namespace padloom {

// Parses the whole zero-terminated, writable text. Returns the root (always an object or an array),
// or null: on the first error, with error_pos, error_desc and error_line set; for an empty text,
// with the three left as the caller set them. The text must stay in place while the tree is used.
json_value* parse_json_in_place(char* source, char** error_pos, const char** error_desc, int* error_line,
                                block_allocator* allocator);

} // namespace padloom
