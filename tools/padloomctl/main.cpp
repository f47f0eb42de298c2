// padloomctl: check and format preset files, list joysticks, replay a preset on scripted input,
// run a preset without the desktop app, and switch presets in the running app.
#include "tools/padloomctl/commands.h"

#include <cstdio>
#include <cstring>

namespace padloom::ctl {
namespace {

struct Command {
    const char* name;
    int (*run)(const Args&);
    const char* usage;
};

const Command commands[] = {
    {"check", checkCommand, "check FILE...                 load each preset file; print ok FILE or failed FILE"},
    {"format", formatCommand, "format FILE                   print the file that saving the preset would write"},
    {"joysticks", joysticksCommand, "joysticks                     list the connected joysticks"},
    {"replay", replayCommand, "replay [--explain] PRESET SCRIPT   print the events a preset posts for scripted input (- reads stdin);\n"
                              "                                --explain shows the script line and a plain reading of each event"},
    {"run", runCommand, "run PRESET [--output auto|x11|uinput|print]   activate a preset until interrupted"},
    {"activate", activateCommand, "activate NAME                 switch on a preset (file name or preset name) in the running app"},
    {"deactivate", deactivateCommand, "deactivate                    switch off the active preset in the running app"},
    {"status", statusCommand, "status                        print the running app's active preset file, or none"},
};

void printUsage(FILE* out) {
    std::fputs("usage: padloomctl <command> ...\n\ncommands:\n", out);
    for (const Command& c : commands) {
        std::fprintf(out, "  %s\n", c.usage);
    }
    std::fputs("\nexit status: 0 success, 1 the work failed, 2 a usage error\n", out);
}

} // namespace

int usageError(const std::string& message) {
    std::fprintf(stderr, "padloomctl: %s\n", message.c_str());
    std::fputs("run 'padloomctl --help' for usage\n", stderr);
    return exitUsage;
}

} // namespace padloom::ctl

int main(int argc, char** argv) {
    using namespace padloom::ctl;
    if (argc < 2) {
        printUsage(stderr);
        return exitUsage;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "help") == 0) {
        printUsage(stdout);
        return exitOk;
    }
    for (const Command& c : commands) {
        if (std::strcmp(argv[1], c.name) == 0) {
            return c.run(Args(argv + 2, argv + argc));
        }
    }
    return usageError(std::string("unknown command '") + argv[1] + "'");
}
