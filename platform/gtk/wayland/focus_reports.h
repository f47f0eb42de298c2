// SPDX-License-Identifier: GPL-3.0-or-later
// Presets that follow the focused program, told by a helper inside the desktop (Padloom's KWin
// script, its GNOME Shell extension, or any program of the user's) over the session bus. The app
// offers, on its own connection and object path (/io/github/padloom/Padloom):
//   io.github.padloom.Padloom.FocusFollowing
//     WindowFocused(s app_id, s title)  a window of that program got the focus (an XWayland
//                                       window: its WM_CLASS class name); the title is not used yet
//     FocusGone()                       no window has the focus
// Reports go through the same rules as the X11 session's own: they switch presets that name the
// program, and no other. A caller is a program of the same user (it is the session bus); it can
// make Padloom believe any program has the focus, and so switch between the presets that name
// programs, but it can name no file and learns nothing back.
#pragma once

#include "app/ui/focus_monitor.h"

#include <memory>
#include <string>

typedef struct _GDBusConnection GDBusConnection;

namespace padloom {

// The desktop's side: what makes the reports come, and what the editor says about it.
class DesktopHelper {
public:
    virtual ~DesktopHelper() = default;
    // Following starts (after the interface is on the bus) or ends (the app quits).
    virtual void start() {}
    virtual void stop() {}
    // reported: a report has come since the app started.
    virtual FollowerState state(bool reported) const = 0;
    // Sets the helper up where state() offers it; done runs on the main thread afterwards.
    virtual void enable(std::function<void()> done) { done(); }
};

class FocusReports : public FocusMonitor {
public:
    // bus: the application's connection (none: nothing can report); objectPath: its object path.
    FocusReports(GDBusConnection* bus, std::string objectPath, std::unique_ptr<DesktopHelper> helper);
    ~FocusReports() override;
    FocusReports(const FocusReports&) = delete;
    FocusReports& operator=(const FocusReports&) = delete;

    bool available() const override { return bus_ != nullptr; }
    FollowerState state() const override;
    void enableHelper(std::function<void()> done) override;
    void install(std::function<void(const FocusedWindow&)> onFocus) override;
    void remove() override;

private:
    struct Calls;

    GDBusConnection* bus_;
    std::string objectPath_;
    std::unique_ptr<DesktopHelper> helper_;
    std::function<void(const FocusedWindow&)> onFocus_;
    unsigned registration_ = 0;
    std::string refused_; // why the bus did not take the interface, if it did not
    bool reported_ = false;
};

} // namespace padloom
