// SPDX-License-Identifier: GPL-3.0-or-later
// padloomctl: check and format preset files, list joysticks, replay a preset on scripted input,
// run a preset without the desktop app, and switch presets in the running app.
#include "tools/padloomctl/commands.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace padloom::ctl {
namespace {

struct Command {
    const char* name;
    int (*run)(const Args&);
    const char* synopsis; // after "padloomctl "
    const char* summary;  // one line for the list of commands
    const char* details;  // for the command's own --help; may be empty
};

const Command commands[] = {
    {"check", checkCommand, "check FILE...", "load each preset file; print ok FILE or failed FILE",
     "Loads each file as the app does; exit status 1 when any failed.\n"},
    {"format", formatCommand, "format FILE", "print the file that saving the preset would write", ""},
    {"joysticks", joysticksCommand, "joysticks", "list the connected joysticks", ""},
    {"replay", replayCommand, "replay [--explain] PRESET SCRIPT",
     "print the events a preset posts for scripted input",
     "SCRIPT - reads the script from standard input.\n"
     "--explain  show each script line before its events and a plain reading of each event\n"},
    {"run", runCommand, "run PRESET [--output auto|x11|uinput|print]",
     "activate a preset without the app until stopped",
     "Stops on SIGINT (Ctrl+C), SIGTERM or SIGHUP, releasing what is held first; a signal that\n"
     "was ignored when it started (nohup) stays ignored.\n"
     "--output  where the events go; by default PADLOOM_OUTPUT's choice (auto)\n"},
    {"activate", activateCommand, "activate NAME",
     "switch on a preset (its file name or name) in the running app", ""},
    {"deactivate", deactivateCommand, "deactivate", "switch off the active preset in the running app", ""},
    {"status", statusCommand, "status", "print the running app's active preset file, or none", ""},
};

constexpr char exitStatusText[] = "exit status: 0 success, 1 the work failed, 2 a usage error\n";

void printUsage(FILE* out) {
    std::fputs("usage: padloomctl <command> ...\n       padloomctl <command> --help\n"
               "       padloomctl --version\n\ncommands:\n",
               out);
    constexpr int column = 30; // a longer synopsis has its summary on the next line
    for (const Command& c : commands) {
        if (std::strlen(c.synopsis) < column) {
            std::fprintf(out, "  %-*s%s\n", column, c.synopsis, c.summary);
        } else {
            std::fprintf(out, "  %s\n  %-*s%s\n", c.synopsis, column, "", c.summary);
        }
    }
    std::fprintf(out, "\n%s", exitStatusText);
}

void printCommandUsage(const Command& c) {
    std::printf("usage: padloomctl %s\n\n%s.\n%s\n%s", c.synopsis, c.summary, c.details, exitStatusText);
}

bool isHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

// The command's arguments without the first "--", which ends the options: after it, "--help"
// is an argument like any other (a file or a preset of that name).
Args withoutEndOfOptions(Args args, bool& helpAsked) {
    const auto end = std::find(args.begin(), args.end(), "--");
    helpAsked = std::any_of(args.begin(), end, isHelp);
    if (end != args.end()) {
        args.erase(end);
    }
    return args;
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
    if (isHelp(argv[1]) || std::strcmp(argv[1], "help") == 0) {
        printUsage(stdout);
        return exitOk;
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("padloomctl %s\n", PADLOOM_VERSION);
        return exitOk;
    }
    for (const Command& c : commands) {
        if (std::strcmp(argv[1], c.name) == 0) {
            bool helpAsked = false;
            const Args args = withoutEndOfOptions(Args(argv + 2, argv + argc), helpAsked);
            if (helpAsked) {
                printCommandUsage(c);
                return exitOk;
            }
            return c.run(args);
        }
    }
    return usageError(std::string("unknown command '") + argv[1] + "'");
}
