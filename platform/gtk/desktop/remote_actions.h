// The running app's remote control on the session bus, as application actions (so desktop
// hotkeys can run e.g. `gapplication action io.github.padloom.Padloom activate "'Racing'"`):
//   activate (s)  switch on the preset of that file name or preset name
//   deactivate    switch off the active preset
//   status        no effect; its state (ss) holds the active preset's file name ("" when none) and
//                 the answer to the last activate or deactivate ("" when it was done, else why not)
// An action's activation runs inside the bus call that asked for it, so the state read after
// that call holds the answer to it. The actions' parameters come from any program of the session:
// they name presets only, inside the preset folder.
#pragma once

#include "app/desktop/remote_control.h"

#include <memory>
#include <string>

typedef struct _GApplication GApplication;
typedef struct _GSimpleAction GSimpleAction;

namespace padloom {

class TesselAppDelegate;

class RemoteActions {
public:
    // Adds the actions to the application; until attach, they answer that the app is starting.
    explicit RemoteActions(GApplication* application);
    ~RemoteActions();
    RemoteActions(const RemoteActions&) = delete;
    RemoteActions& operator=(const RemoteActions&) = delete;

    // The controller the actions drive from now on (null: none, as before start-up).
    void attach(TesselAppDelegate* controller);

private:
    struct Signals;
    void answer(std::string problem);
    void publish();

    GApplication* application_;
    GSimpleAction* activate_;
    GSimpleAction* deactivate_;
    GSimpleAction* status_;
    TesselAppDelegate* controller_ = nullptr;
    std::unique_ptr<RemoteControl> control_;
    std::string lastAnswer_;
};

} // namespace padloom
