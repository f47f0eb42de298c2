// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's side of focus reports (FocusReports): what makes KWin and GNOME Shell report the
// focused window to Padloom, and what the editor says about each.
#pragma once

#include "app/desktop/focus_session.h"
#include "platform/gtk/wayland/focus_reports.h"

#include <string>

namespace padloom {

// KDE Plasma: Padloom's KWin script, loaded over KWin's scripting interface (org.kde.KWin,
// /Scripting) while following runs, so that no trace of it stays in KWin when Padloom quits.
class KWinScript : public DesktopHelper {
public:
    // script: the script file's path; bus: the session bus (kept by the caller).
    KWinScript(GDBusConnection* bus, std::string script) : bus_(bus), script_(std::move(script)) {}
    ~KWinScript() override;

    void start() override;
    void stop() override;
    FollowerState state(bool reported) const override;

private:
    GDBusConnection* bus_;
    std::string script_;
    bool loaded_ = false;
    std::string whyNot_ = "not loaded yet";
};

// GNOME Shell: Padloom's extension, which the user enables once. Its state comes from the shell
// (org.gnome.Shell.Extensions) and from the shell's settings each time the editor asks.
class GnomeExtension : public DesktopHelper {
public:
    explicit GnomeExtension(GDBusConnection* bus);
    ~GnomeExtension() override;

    FollowerState state(bool reported) const override;
    // As `gnome-extensions enable` does, in the shell's settings: it works too for an extension that
    // the shell has not read yet (installed while the session runs), which the command refuses.
    void enable(std::function<void()> done) override;
    // The extension's id for this shell: its format changed with GNOME Shell 45.
    const std::string& uuid() const { return uuid_; }

private:
    struct Waiting;
    GnomeExtensionFacts facts() const;

    GDBusConnection* bus_;
    std::string uuid_;
    unsigned waiting_ = 0; // the timer that waits for the shell to take the extension up
};

// Any other Wayland desktop: a program of the user's may still report.
class NoDesktopHelper : public DesktopHelper {
public:
    FollowerState state(bool reported) const override;
};

} // namespace padloom
