// SPDX-License-Identifier: GPL-3.0-or-later
#include "preset/vantry_document.h"

#include "preset/json/json_reader.h"
#include "preset/json/json_writer.h"
#include "preset/path_expansion.h"
#include "preset/section_members_tree.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace padloom {
namespace {

constexpr uint32_t documentBlockSize = 1024;

// Presets are a few kilobytes; a file beyond this is not one, and reading it would only exhaust memory.
constexpr off_t largestPresetFile = off_t{64} << 20;

// A path whose expansion is too long is refused before any file is touched.
bool expandForOpening(const char* path, std::string& expanded) {
    expanded = expandPath(path);
    return expanded.size() <= maxExpandedPathLength;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Why a file that opened is still not read, or null when it may be.
const char* refusal(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) {
        return "it is a folder";
    }
    if (!S_ISREG(info.st_mode)) {
        return "it is not a regular file";
    }
    if (info.st_size > largestPresetFile) {
        return "it is larger than 64 MiB";
    }
    return nullptr;
}

// Reads up to size bytes; fewer when the file shrank meanwhile. False on a read error.
bool readUpTo(int fd, char* text, std::size_t size, std::size_t& count) {
    count = 0;
    while (count < size) {
        const ssize_t got = read(fd, text + count, size - count);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            break;
        }
        count += static_cast<std::size_t>(got);
    }
    return true;
}

} // namespace

VantryDocument::VantryDocument() : allocator(documentBlockSize) {}

VantryDocument::~VantryDocument() = default;

bool VantryDocument::load(const char* path) {
    return readFile(path) && interpret();
}

// Only a regular file of at most 64 MiB is read: a device or a FIFO could be read without end, or
// never. The text goes straight into a fresh arena, which replaces the document's only once the
// whole file has been read, so a file that can't be read leaves the document as it was.
bool VantryDocument::readFile(const char* path) {
    std::string expanded;
    // A FIFO opens without waiting for a writer, so that it can be refused.
    const FileDescriptor file(
        expandForOpening(path, expanded) ? open(expanded.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1);
    struct stat info {};
    if (file.get() < 0 || fstat(file.get(), &info) != 0) {
        return cantRead("Can't open", expanded, nullptr);
    }
    if (const char* why = refusal(info)) {
        return cantRead("Can't open", expanded, why);
    }
    block_allocator incoming(documentBlockSize);
    const auto size = static_cast<std::size_t>(info.st_size);
    char* text = static_cast<char*>(incoming.allocate(size + 1));
    std::size_t count = 0;
    if (!readUpTo(file.get(), text, size, count)) {
        return cantRead("Can't read", expanded, std::strerror(errno));
    }
    text[count] = '\0';
    allocator.swap(incoming);
    root = nullptr;
    return parseText(text, count);
}

bool VantryDocument::cantRead(const char* what, const std::string& path, const char* why) {
    std::printf("Can't open %s\n", path.c_str());
    lastError_ = std::string(what) + " " + path;
    if (why != nullptr) {
        lastError_ += std::string(": ") + why;
    }
    return false;
}

bool VantryDocument::readText(std::string_view text) {
    allocator.release_all();
    text_ = nullptr;
    root = nullptr;
    char* buffer = static_cast<char*>(allocator.allocate(text.size() + 1));
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return parseText(buffer, text.size());
}

bool VantryDocument::parseText(char* text, std::size_t size) {
    char* errorPos = nullptr;
    const char* errorDesc = nullptr;
    int errorLine = 0;
    decodedLineFeeds_.clear();
    text_ = text;
    textEnd_ = text + size;
    root = parse_json_in_place(text, &errorPos, &errorDesc, &errorLine, &allocator, &decodedLineFeeds_);
    if (root != nullptr) {
        lastError_.clear();
        return true;
    }
    if (errorDesc == nullptr) {
        // The reader reports nothing when there is no text at all.
        errorDesc = "Empty file";
        errorPos = text + size;
    }
    std::printf("Error at line %d: %s\n%s\n\n", errorLine, errorDesc, errorPos);
    lastError_ = "Error at line " + std::to_string(errorLine) + ": " + errorDesc;
    return false;
}

bool VantryDocument::save(const char* path) {
    allocator.release_all();
    text_ = nullptr; // released with the allocator; the new tree's texts are copies
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
            appendSectionMembers(*this, section, joystick);
            if (!joystick.sticks.empty()) {
                append_child(section, sticksMember(*this, joystick.sticks));
            }
            append_child(section, newBindsMember(joystick.binds));
            append_child(sections, section);
        }
        append_child(root, sections);
    }
    if (!activateFor.empty()) {
        json_value* programs = newArrayMember("activateFor");
        for (const std::string& program : activateFor) {
            append_child(programs, newStringElement(program.c_str()));
        }
        append_child(root, programs);
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

json_value* VantryDocument::newBindsMember(const std::vector<BindData>& binds) {
    json_value* member = newObjectMember("binds");
    for (const BindData& bind : binds) {
        json_value* outputs = newArrayMember(inputToText(bind.input).c_str());
        for (const BindOutput& output : bind.outputs) {
            append_child(outputs, newStringElement(outputToText(output).c_str()));
        }
        append_child(member, outputs);
    }
    return member;
}

// Keys and texts point into the parsed text, which holds the file's line feeds where they were.
int VantryDocument::lineOf(const json_value* node) const {
    const char* at = nullptr;
    for (; node != nullptr && at == nullptr; node = node->first_child) {
        at = node->name != nullptr ? node->name : (node->kind == json_string ? node->string_value : nullptr);
    }
    if (text_ == nullptr || at == nullptr || at < text_ || at > textEnd_) {
        return 0;
    }
    const auto decoded = std::count_if(decodedLineFeeds_.begin(), decodedLineFeeds_.end(),
                                       [at](const char* feed) { return feed < at; });
    return static_cast<int>(1 + std::count(text_, at, '\n') - decoded);
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
