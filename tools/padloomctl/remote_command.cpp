// SPDX-License-Identifier: GPL-3.0-or-later
// activate, deactivate, status: drive the running desktop app over the session bus.
#include "app/pages/shown_text.h"
#include "platform/gtk/desktop/remote_client.h"
#include "tools/padloomctl/commands.h"

#include <cstdio>

namespace padloom::ctl {
namespace {

int finish(const remote::Reply& reply) {
    if (!reply.done) {
        std::fprintf(stderr, "padloomctl: %s\n", terminalText(reply.done.problem(), true).c_str());
        return exitFailed;
    }
    return exitOk;
}

} // namespace

int activateCommand(const Args& args) {
    if (args.size() != 1) {
        return usageError("activate takes one preset: a file name or a preset name");
    }
    return finish(remote::activate(args[0]));
}

int deactivateCommand(const Args& args) {
    if (!args.empty()) {
        return usageError("deactivate takes no arguments");
    }
    return finish(remote::deactivate());
}

int statusCommand(const Args& args) {
    if (!args.empty()) {
        return usageError("status takes no arguments");
    }
    const remote::Reply reply = remote::status();
    if (reply.done) {
        std::printf("%s\n", reply.activeFile.empty() ? "none" : terminalText(reply.activeFile).c_str());
    }
    return finish(reply);
}

} // namespace padloom::ctl
