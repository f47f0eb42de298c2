// The client side of the running app's remote control, for padloomctl and padloom --activate:
// GIO only. The app (platform/gtk/desktop/remote_actions.h) offers its application actions "activate"
// (a preset's file name or preset name), "deactivate" and "status" on the session bus; a request
// activates one, then reads the state of "status" for the outcome.
#pragma once

#include <optional>
#include <string>

namespace padloom::remote {

inline constexpr char applicationId[] = "io.github.padloom.Padloom";

struct Reply {
    bool done = false;      // the app took the request and did it
    std::string activeFile; // the active preset's file name afterwards; empty when none
    std::string problem;    // why not, when !done
};

// Activates the app's action (with text as its parameter when given) and reads the outcome.
// Not done, with a problem that says so, when no app runs on the session bus.
Reply request(const std::string& action, const std::optional<std::string>& text = std::nullopt);
// The app's status alone.
Reply status();

} // namespace padloom::remote
