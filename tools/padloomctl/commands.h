// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of padloomctl. Each takes the arguments after its own name and returns the exit
// status: 0 success, 1 the work failed, 2 a usage error (message on standard error).
#pragma once

#include <string>
#include <vector>

namespace padloom::ctl {

using Args = std::vector<std::string>;

constexpr int exitOk = 0;
constexpr int exitFailed = 1;
constexpr int exitUsage = 2;

int checkCommand(const Args& args);
int formatCommand(const Args& args);
int joysticksCommand(const Args& args);
int replayCommand(const Args& args);
int runCommand(const Args& args);
int activateCommand(const Args& args);
int deactivateCommand(const Args& args);
int statusCommand(const Args& args);

// Prints "padloomctl: <message>" and a line pointing to 'padloomctl --help' on standard error;
// returns exitUsage.
int usageError(const std::string& message);

} // namespace padloom::ctl
