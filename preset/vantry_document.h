// SPDX-License-Identifier: GPL-3.0-or-later
// One preset in memory: loaded from a preset file into a JSON tree, interpreted into plain
// fields, and saved back in the preset layout.
#pragma once

#include "preset/bind_records.h"
#include "preset/json/block_allocator.h"
#include "preset/json/json_value.h"
#include "preset/section_members.h"
#include "preset/small_vector.h"
#include "preset/stick_settings.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace padloom {

class VantryDocument {
public:
    using BindInput = padloom::BindInput;
    using BindOutput = padloom::BindOutput;
    // Most binds have one to three outputs, which then take no allocation of their own.
    using BindOutputs = SmallVector<BindOutput, 3>;

    struct BindData {
        BindInput input;
        BindOutputs outputs; // in file order; may be empty
    };

    // Binds that act instead of the section's while the input "while" is on.
    struct LayerData {
        BindInput whileInput;
        std::vector<BindData> binds;
    };

    struct JoystickData {
        std::string name; // the section's "tag"; display only
        std::vector<BindData> binds;
        std::vector<StickSettings> sticks{}; // saved between "tag" and "binds", only when not empty
        // Members beyond the base format (preset/section_members.h), in file order; empty in most
        // presets, and then not written.
        std::vector<InputMode> modes = {};
        std::vector<LayerData> layers = {};
        std::vector<InputSequence> sequences = {};
        std::vector<PresetSwitch> switches = {};
    };

    // A member the reader passes over, whose content saving therefore drops: at the top level any
    // but "name", "tag", "joysticks" and "activateFor"; in a joystick section any but a first
    // member "tag" holding a text and a last member "binds" holding an object.
    struct IgnoredMember {
        std::size_t section = 0;        // the joystick section, counted from 1; 0 for the top level
        std::optional<std::string> key; // none for a member without a key
        bool extension = false;         // a member this build reads that the editor does not write
    };

    VantryDocument();
    ~VantryDocument();
    VantryDocument(const VantryDocument&) = delete;
    VantryDocument& operator=(const VantryDocument&) = delete;

    // readFile, then interpret; true when both succeeded.
    bool load(const char* path);
    // Reads and parses the file into root. Prints "Can't open %s\n" or the syntax error on stdout.
    // Only a regular file of at most 64 MiB is read; on any failure to read, the document is unchanged.
    bool readFile(const char* path);
    // Parses a preset text held in memory, exactly as readFile parses a file's bytes.
    bool readText(std::string_view text);
    // Fills name, tag and joysticks from root.
    bool interpret();
    // Builds a fresh tree from the fields and writes it with writeFile.
    bool save(const char* path);
    // Writes the tree under root; false when the file can't be opened or any write fails.
    bool writeFile(const char* path);

    // What the last failed readFile, readText, interpret or writeFile reported, for showing to a
    // person ("Error at line 3: Unexpected character", "Can't open ..."); empty after a successful
    // read or interpret.
    const std::string& lastError() const { return lastError_; }

    // Tree builders: each returns a new, unattached node whose texts are copied into the allocator.
    json_value* newStringMember(const char* key, const char* text);
    json_value* newArrayMember(const char* key);
    json_value* newObjectMember(const char* key);
    json_value* newStringElement(const char* text);
    // A member "binds" holding these binds, each an array of output texts under its input text.
    json_value* newBindsMember(const std::vector<BindData>& binds);

    // The line of the file where a node of the tree stands (its key, else its text, else its
    // first member's), counted from 1; 0 when that can't be told.
    int lineOf(const json_value* node) const;

    block_allocator allocator;
    json_value* root = nullptr;
    std::string name;
    std::string tag;
    std::unique_ptr<std::vector<JoystickData>> joysticks; // absent when the file had no sections
    // The programs whose windows switch this preset on when they get the focus: window classes,
    // where "*" stands for any run of characters. Saved after "joysticks", and only when not empty,
    // so that a preset that names no program is written as it always was.
    std::vector<std::string> activateFor;
    // What interpret passed over, in file order. Members of sections that a later "joysticks"
    // replaced are not listed.
    std::vector<IgnoredMember> ignoredMembers;

private:
    char* copyText(const char* text);
    bool parseText(char* text, std::size_t size);
    bool cantRead(const char* what, const std::string& path, const char* why);

    std::string lastError_;
    // For lineOf: the parsed text, and where its escapes wrote line feeds that the file did not hold.
    const char* text_ = nullptr;
    const char* textEnd_ = nullptr;
    std::vector<const char*> decodedLineFeeds_;
};

// "member "x" at the top level", "member "x" of joystick section 2", with the key's control
// characters written as JSON escapes.
std::string describeIgnoredMember(const VantryDocument::IgnoredMember& member);
// How a joystick section is read, for saying why its members were ignored. The members of
// preset/section_members.h, read between the two, are left out so that what check says of a preset
// without them stays as it was.
inline constexpr const char* sectionReadingRule =
    "a joystick section is read only from a first member \"tag\" and a last member \"binds\"";

// A text between double quotes as JSON would write it, with DEL escaped too, so that no control
// character of a file reaches a terminal or a panel.
std::string quotedText(const std::string& text);
// A number as bind texts write amounts: six significant digits, no trailing zeros, a decimal point
// in every locale ("6", "0.15", "1e-05").
std::string amountText(float amount);

// Conversions between bind records and bind texts ("btn 3", "axi 1 -", "mou 0 + 6").
std::string inputToText(const BindInput& input);
std::string outputToText(const BindOutput& output);
BindInput inputFromText(const char* text);   // kind none when the text does not parse
BindOutput outputFromText(const char* text); // kind none when the text does not parse

} // namespace padloom
