// SPDX-License-Identifier: GPL-3.0-or-later
// The running app's remote control on the session bus, at the application's object path.
//
// Its own interface (platform/gtk/desktop/remote_client.h names it), which padloomctl and
// padloom --activate use: each method call is answered when its request has run, with the
// active preset's file name, or with an error that says why it was not done:
//   Activate(s name) -> (s file)   switch on the preset of that file name or preset name
//   Deactivate() -> (s file)       switch off the active preset
//   Status() -> (s file)           the active preset's file name ("" when none)
// And the application actions, for `gapplication action io.github.padloom.Padloom activate "'Racing'"`:
//   activate (s), deactivate       the same requests, unanswered
//   status                         no effect; its state (ss) holds the active preset's file name
//                                  and the answer to the last activate or deactivate that ran
//                                  ("" when it was done, else why not)
// Requests come from any program of the session: they name presets only, inside the preset folder.
// How they wait, run and are refused: app/desktop/remote_requests.h.
#pragma once

#include "app/desktop/remote_requests.h"

#include <memory>
#include <string>

typedef struct _GApplication GApplication;
typedef struct _GDBusConnection GDBusConnection;
typedef struct _GSimpleAction GSimpleAction;

namespace padloom {

class GlibMainLoop;
class PresetSwitching;

class RemoteActions {
public:
    // Adds the actions to the application and offers the interface on the session bus (before
    // the application takes its name there, so a caller never finds the name without it). Until
    // attach, requests wait.
    explicit RemoteActions(GApplication* application);
    ~RemoteActions(); // answers the requests still waiting
    RemoteActions(const RemoteActions&) = delete;
    RemoteActions& operator=(const RemoteActions&) = delete;

    // The controller the requests run on from now on (null: none, as the app quits).
    void attach(PresetSwitching* presets);
    // Where this process's own requests go (padloom --activate in the first instance).
    RemoteRequests& requests() { return *requests_; }

private:
    struct Signals;
    void offerInterface();
    void answer(const RemoteAnswer& answer);
    void publish();

    GApplication* application_;
    GSimpleAction* activate_;
    GSimpleAction* deactivate_;
    GSimpleAction* status_;
    GDBusConnection* bus_ = nullptr;
    unsigned registration_ = 0;
    PresetSwitching* presets_ = nullptr;
    std::unique_ptr<GlibMainLoop> loop_;
    std::unique_ptr<RemoteRequests> requests_;
    std::string lastAnswer_;
};

} // namespace padloom
