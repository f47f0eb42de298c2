// SPDX-License-Identifier: GPL-3.0-or-later
// Binding capture: while the user edits a bind, waits on the main thread for the next button,
// axis or hat input of one joystick and hands its bind text to the configuration page, with a
// countdown; Escape cancels. A capture and an active preset never overlap: each refuses to start
// while the other runs.
#pragma once

#include "app/capture/capture_events.h"
#include "app/controller/menu_entries.h"
#include "app/controller/operation_queue.h"
#include "app/running/preset_runner.h"
#include "app/ui/dialogs.h"
#include "app/ui/script_page.h"

#include <functional>
#include <memory>

namespace padloom {

class BindingCapture {
public:
    struct Hooks {
        // Shows the connected joysticks (the label, the editor's names) before a capture is asked
        // for; SDL's joystick subsystem is up.
        std::function<void()> listJoysticks;
        // A capture has been queued: what reads SDL's joystick events otherwise rests now.
        std::function<void()> queued;
    };

    // events: where the capture waits; null for SDL's own queue and clock.
    BindingCapture(ScriptPage& configPage, Dialogs& dialogs, PresetRunner& runner, const MenuOutlets& menu,
                   OperationQueue& operations, CaptureEvents* events, Hooks hooks);
    BindingCapture(const BindingCapture&) = delete;
    BindingCapture& operator=(const BindingCapture&) = delete;

    // The page's request for joystick index's next input, for the input numbered bindNo: a bind
    // row's, or one of the section's other inputs (resources/gui/capture.js numbers them), which
    // the capture hands back unchanged. Returns at once; the capture runs as the next operation.
    void scanJoystickInput(int index, int bindNo);
    // The capture itself; it keeps the main thread until it ends.
    void scanJoystickInputTask(int index, int bindNo);
    // Escape in either window: ends a running or queued capture (no effect otherwise).
    void escapeCapture();
    // From the request until the capture has ended.
    bool running() const { return running_; }
    // From the moment the capture has dropped what came before it until it ends: an input now is
    // the one it takes.
    bool listening() const { return listening_; }

private:
    struct State;
    void runCapture(State& capture);
    void readCaptureEvents(State& capture);
    void endCapture(State& capture);
    void closeCapture();

    ScriptPage& configPage_;
    Dialogs& dialogs_;
    PresetRunner& runner_;
    const MenuOutlets& menu_;
    OperationQueue& operations_;
    std::unique_ptr<SdlCaptureEvents> ownEvents_;
    CaptureEvents& events_;
    Hooks hooks_;
    bool running_ = false;
    bool listening_ = false;
};

} // namespace padloom
