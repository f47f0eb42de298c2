// SPDX-License-Identifier: GPL-3.0-or-later
// The text of a small preset, laid out as saving it writes it.
#pragma once

#include <string>

namespace padloom::test {

// One joystick section, tagged "Pad", whose button 0 presses the key of that number (by default 44,
// the space bar, virtual key code 49).
inline std::string presetText(const std::string& name, const std::string& tag = "tag", int key = 44) {
    return "{\n\t\"name\" : \"" + name + "\",\n\t\"tag\" : \"" + tag +
           "\",\n\t\"joysticks\" : [\n\t\t{\n\t\t\t\"tag\" : \"Pad\",\n\t\t\t\"binds\" : {\n"
           "\t\t\t\t\"btn 0\" : [\n\t\t\t\t\t\"key " +
           std::to_string(key) + "\"\n\t\t\t\t]\n\t\t\t}\n\t\t}\n\t]\n}\n";
}

} // namespace padloom::test
