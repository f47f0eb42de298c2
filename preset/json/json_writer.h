// SPDX-License-Identifier: GPL-3.0-or-later
// The JSON writer: one value per line, one tab per level of nesting, a comma at the end of the last
// line of every member or element that has a following sibling.
#pragma once

#include "preset/json/json_value.h"

#include <cstdio>

namespace padloom {

// Writes node (may be null: then only the indentation) and everything below it, indented by level
// tabs. Commas are placed by stepping back over the previous child's line feed, so the stream must
// allow repositioning. Returns false when a write or a step back failed.
bool print_json(const json_value* node, FILE* out, int level);

} // namespace padloom
