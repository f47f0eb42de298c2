// Preset texts the integration tests write into the temporary preset folder.
#pragma once

#include <string>

namespace padloom::test {

// One joystick section; "btn 0" presses key number 4 (the letter A, virtual key code 0).
inline std::string presetText(const std::string& name, const std::string& tag) {
    return "{\n\t\"name\" : \"" + name + "\",\n\t\"tag\" : \"" + tag +
           "\",\n\t\"joysticks\" : [\n\t\t{\n\t\t\t\"tag\" : \"Pad\",\n\t\t\t\"binds\" : {\n"
           "\t\t\t\t\"btn 0\" : [\n\t\t\t\t\t\"key 4\"\n\t\t\t\t]\n\t\t\t}\n\t\t}\n\t]\n}\n";
}

} // namespace padloom::test
