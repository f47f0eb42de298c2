// SPDX-License-Identifier: GPL-3.0-or-later
// The section members of preset/section_members.h in the JSON tree: read by the interpreter,
// written by save; and the two small helpers the readers of the tree share.
#pragma once

#include "preset/vantry_document.h"

#include <cstddef>
#include <cstring>
#include <string>

namespace padloom {

// True when node is a member under key.
inline bool hasKey(const json_value* node, const char* key) {
    return node->name != nullptr && std::strcmp(node->name, key) == 0;
}

// A key or text of the file between double quotes, as the reader's messages show it: escaped as
// JSON writes it, so that no control character of the file reaches a terminal or a panel.
inline std::string quoted(const char* text) {
    return quotedText(text != nullptr ? text : "");
}

// True for a member this build reads between a section's "tag" and its "binds".
bool isSectionMember(const json_value* node);

// Reads such a member of section number section (counted from 1) into joystick, replacing what an
// earlier member of the same key gave. False, with error set ("Error at line 12: ..."), when it has
// the wrong type or holds a text that does not read.
bool readSectionMember(const VantryDocument& document, std::size_t section, const json_value* node,
                       VantryDocument::JoystickData& joystick, std::string& error);

// Appends to section the members joystick holds, in the writer's order, each only when not empty.
void appendSectionMembers(VantryDocument& document, json_value* section,
                          const VantryDocument::JoystickData& joystick);

// One member of a "binds" object read into data; the problem ("not a joystick input", ...) when it
// does not read, else empty. The interpreter reads a section's binds with it, and a layer's.
std::string readBind(const json_value* member, VantryDocument::BindData& data);

} // namespace padloom
