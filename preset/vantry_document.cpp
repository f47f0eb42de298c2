#include "preset/vantry_document.h"

#include "preset/json/json_reader.h"
#include "preset/json/json_writer.h"
#include "preset/path_expansion.h"

#include <cstdio>
#include <cstring>

namespace padloom {
namespace {

constexpr uint32_t documentBlockSize = 1024;

// Reads the whole stream; false on a read error (a folder, an I/O error).
bool readAll(FILE* file, std::string& bytes) {
    char chunk[65536];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.append(chunk, count);
    }
    return std::ferror(file) == 0;
}

// A path whose expansion is too long is refused before any file is touched.
bool expandForOpening(const char* path, std::string& expanded) {
    expanded = expandPath(path);
    return expanded.size() <= maxExpandedPathLength;
}

} // namespace

VantryDocument::VantryDocument() : allocator(documentBlockSize) {}

VantryDocument::~VantryDocument() = default;

bool VantryDocument::load(const char* path) {
    return readFile(path) && interpret();
}

bool VantryDocument::readFile(const char* path) {
    std::string expanded;
    FILE* file = expandForOpening(path, expanded) ? std::fopen(expanded.c_str(), "rb") : nullptr;
    if (file == nullptr) {
        std::printf("Can't open %s\n", expanded.c_str());
        lastError_ = "Can't open " + expanded;
        return false;
    }
    std::string bytes;
    const bool read = readAll(file, bytes);
    std::fclose(file);
    if (!read) {
        std::printf("Can't open %s\n", expanded.c_str());
        lastError_ = "Can't read " + expanded;
        return false;
    }
    return readText(bytes);
}

bool VantryDocument::readText(std::string_view text) {
    allocator.release_all();
    root = nullptr;
    char* buffer = static_cast<char*>(allocator.allocate(text.size() + 1));
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';

    char* errorPos = nullptr;
    const char* errorDesc = nullptr;
    int errorLine = 0;
    root = parse_json_in_place(buffer, &errorPos, &errorDesc, &errorLine, &allocator);
    if (root != nullptr) {
        lastError_.clear();
        return true;
    }
    if (errorDesc == nullptr) {
        // The reader reports nothing when there is no text at all.
        errorDesc = "Empty file";
        errorPos = buffer + text.size();
    }
    std::printf("Error at line %d: %s\n%s\n\n", errorLine, errorDesc, errorPos);
    lastError_ = "Error at line " + std::to_string(errorLine) + ": " + errorDesc;
    return false;
}

bool VantryDocument::save(const char* path) {
    allocator.release_all();
    root = new_json_value(&allocator);
    root->kind = json_object;
    append_child(root, newStringMember("name", name.c_str()));
    append_child(root, newStringMember("tag", tag.c_str()));
    if (joysticks) {
        json_value* sections = newArrayMember("joysticks");
        for (const JoystickData& joystick : *joysticks) {
            json_value* section = new_json_value(&allocator);
            section->kind = json_object;
            append_child(section, newStringMember("tag", joystick.name.c_str()));
            json_value* binds = newObjectMember("binds");
            for (const BindData& bind : joystick.binds) {
                json_value* outputs = newArrayMember(inputToText(bind.input).c_str());
                for (const BindOutput& output : bind.outputs) {
                    append_child(outputs, newStringElement(outputToText(output).c_str()));
                }
                append_child(binds, outputs);
            }
            append_child(section, binds);
            append_child(sections, section);
        }
        append_child(root, sections);
    }
    return writeFile(path);
}

bool VantryDocument::writeFile(const char* path) {
    std::string expanded;
    FILE* file = expandForOpening(path, expanded) ? std::fopen(expanded.c_str(), "w") : nullptr;
    if (file == nullptr) {
        std::printf("Can't open %s\n", expanded.c_str());
        lastError_ = "Can't open " + expanded;
        return false;
    }
    // Buffered writes fail late: a full disk may only show at the flush or the close.
    bool written = print_json(root, file, 0);
    written = std::fflush(file) == 0 && written;
    written = std::ferror(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    if (!written) {
        lastError_ = "Can't write " + expanded;
        return false;
    }
    return true;
}

json_value* VantryDocument::newStringMember(const char* key, const char* text) {
    json_value* node = newStringElement(text);
    node->name = copyText(key);
    return node;
}

json_value* VantryDocument::newArrayMember(const char* key) {
    json_value* node = new_json_value(&allocator);
    node->kind = json_array;
    node->name = copyText(key);
    return node;
}

json_value* VantryDocument::newObjectMember(const char* key) {
    json_value* node = new_json_value(&allocator);
    node->kind = json_object;
    node->name = copyText(key);
    return node;
}

json_value* VantryDocument::newStringElement(const char* text) {
    json_value* node = new_json_value(&allocator);
    node->kind = json_string;
    node->string_value = copyText(text);
    return node;
}

// The copies live in the allocator, so they last exactly as long as the tree.
char* VantryDocument::copyText(const char* text) {
    const std::size_t length = std::strlen(text);
    char* copy = static_cast<char*>(allocator.allocate(length + 1));
    std::memcpy(copy, text, length + 1);
    return copy;
}

} // namespace padloom
