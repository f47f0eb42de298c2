// SPDX-License-Identifier: GPL-3.0-or-later
// check FILE...: load each preset as the app does; format FILE: print what saving it would write.
#include "engine/key_code_table.h"
#include "engine/mouse_state.h"
#include "preset/output_kinds.h"
#include "preset/vantry_document.h"
#include "tools/padloomctl/commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace padloom::ctl {
namespace {

// A temporary file, removed when it goes out of scope. The writer steps back over line feeds to
// place commas, so it cannot write straight to a pipe.
class TemporaryFile {
public:
    TemporaryFile() {
        std::error_code error;
        std::string pattern = std::filesystem::temp_directory_path(error).string();
        if (error || pattern.empty() || pattern[0] != '/') {
            pattern = "/tmp";
        }
        pattern += "/padloomctl-format-XXXXXX";
        const int fd = mkstemp(pattern.data());
        if (fd >= 0) {
            close(fd);
            path_ = pattern;
        }
    }
    ~TemporaryFile() {
        if (!path_.empty()) {
            std::remove(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

bool copyToStdout(const std::string& path) {
    FILE* in = std::fopen(path.c_str(), "rb");
    if (in == nullptr) {
        return false;
    }
    char chunk[65536];
    std::size_t count = 0;
    bool ok = true;
    while ((count = std::fread(chunk, 1, sizeof chunk, in)) > 0) {
        ok = std::fwrite(chunk, 1, count, stdout) == count && ok;
    }
    ok = std::ferror(in) == 0 && ok;
    std::fclose(in);
    return std::fflush(stdout) == 0 && ok;
}

int failed(const std::string& message) {
    std::fprintf(stderr, "padloomctl: %s\n", message.c_str());
    return exitFailed;
}

// A warning is about a file that reads: what it holds that does nothing.
void warn(const std::string& file, const std::string& message) {
    std::fprintf(stderr, "padloomctl: %s: warning: %s\n", file.c_str(), message.c_str());
}

void warnAboutIgnoredMembers(const std::string& file, const VantryDocument& document) {
    for (const VantryDocument::IgnoredMember& member : document.ignoredMembers) {
        const std::string rule = member.section != 0 ? std::string(" (") + sectionReadingRule + ")" : "";
        warn(file, describeIgnoredMember(member) + " is ignored" + rule);
    }
}

// What an output that reads but does nothing when it fires lacks; empty for every other output.
std::string missingTarget(const BindOutput& output) {
    const OutputKindRow* row = outputKindRow(output.kind);
    if (row == nullptr) {
        return {};
    }
    switch (row->codes) {
    case OutputCodes::keyNumber:
        return keyNumberHasKey(output.code) ? "" : "names no key";
    case OutputCodes::mouseButton:
        if (output.code < static_cast<uint32_t>(mouseButtonCount)) {
            return {};
        }
        return "names no mouse button (0 to " + std::to_string(mouseButtonCount - 1) + ")";
    case OutputCodes::axis:
        return {};
    }
    return {};
}

void warnAboutIdleOutputs(const std::string& file, const VantryDocument& document) {
    if (!document.joysticks) {
        return;
    }
    std::size_t section = 0;
    for (const VantryDocument::JoystickData& joystick : *document.joysticks) {
        ++section;
        for (const VantryDocument::BindData& bind : joystick.binds) {
            for (const BindOutput& output : bind.outputs) {
                const std::string lacks = missingTarget(output);
                if (!lacks.empty()) {
                    warn(file, "joystick section " + std::to_string(section) + ", bind \"" +
                                   inputToText(bind.input) + "\": \"" + outputToText(output) + "\" " + lacks +
                                   ", so it does nothing");
                }
            }
        }
    }
}

} // namespace

int checkCommand(const Args& args) {
    if (args.empty()) {
        return usageError("check needs at least one preset file");
    }
    int status = exitOk;
    for (const std::string& file : args) {
        VantryDocument document;
        const bool loaded = document.load(file.c_str());
        std::printf("%s %s\n", loaded ? "ok" : "failed", file.c_str());
        if (loaded) {
            std::fflush(stdout);
            warnAboutIgnoredMembers(file, document);
            warnAboutIdleOutputs(file, document);
        } else {
            // A schema error prints nothing on its own; every failure gets its reason here.
            std::fflush(stdout);
            std::fprintf(stderr, "padloomctl: %s: %s\n", file.c_str(), document.lastError().c_str());
            status = exitFailed;
        }
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        return failed(std::string("can't write the results: ") + std::strerror(errno));
    }
    return status;
}

int formatCommand(const Args& args) {
    if (args.size() != 1) {
        return usageError("format needs exactly one preset file");
    }
    VantryDocument document;
    if (!document.load(args[0].c_str())) {
        std::fflush(stdout);
        return exitFailed;
    }
    // Always an absolute path, so the document's "~" expansion never applies to it.
    const TemporaryFile temporary;
    if (temporary.path().empty()) {
        return failed("can't create a temporary file");
    }
    if (!document.save(temporary.path().c_str())) {
        return failed(document.lastError());
    }
    if (!copyToStdout(temporary.path())) {
        return failed("can't write the formatted preset to standard output");
    }
    return exitOk;
}

} // namespace padloom::ctl
