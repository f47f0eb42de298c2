// SPDX-License-Identifier: GPL-3.0-or-later
// The in-place JSON reader: decodes every string inside the given text and builds a tree of
// json_value nodes from the allocator whose names and strings point into that same text.
#pragma once

#include "preset/json/block_allocator.h"
#include "preset/json/json_value.h"

#include <vector>

namespace padloom {

// Parses the whole zero-terminated, writable text. Returns the root (always an object or an array),
// or null: on the first error, with error_pos, error_desc and error_line set; for an empty text,
// with the three left as the caller set them. The text must stay in place while the tree is used.
// When decoded_line_feeds is given, it receives the position of each line feed that an escape
// ("\n", "\u000a") wrote into the text, which the file did not hold: a line can then be told from a
// position in the text by the line feeds before it, less those.
json_value* parse_json_in_place(char* source, char** error_pos, const char** error_desc, int* error_line,
                                block_allocator* allocator,
                                std::vector<const char*>* decoded_line_feeds = nullptr);

} // namespace padloom
