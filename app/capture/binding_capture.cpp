// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/capture/binding_capture.h"

#include "app/capture/capture_rules.h"
#include "app/pads/joystick_listing.h"
#include "app/pages/page_scripts.h"
#include "preset/vantry_document.h"

#include <SDL.h>
#include <algorithm>

namespace padloom {
namespace {

constexpr int32_t countdownMs = 5000;
constexpr int32_t listenAfterInputMs = 500;

} // namespace

struct BindingCapture::State {
    int index = 0;
    int bindNo = 0;
    SDL_JoystickID instance = -1;
    BindInput result;
    bool received = false;
    bool scanning = true;
    uint32_t lastAcceptedAt = 0; // on the capture's clock
};

BindingCapture::BindingCapture(ScriptPage& configPage, Dialogs& dialogs, PresetRunner& runner,
                               const MenuOutlets& menu, OperationQueue& operations, CaptureEvents* events,
                               Hooks hooks)
    : configPage_(configPage), dialogs_(dialogs), runner_(runner), menu_(menu), operations_(operations),
      events_(events ? *events : *(ownEvents_ = std::make_unique<SdlCaptureEvents>())),
      hooks_(std::move(hooks)) {}

void BindingCapture::scanJoystickInput(int index, int bindNo) {
    if (running_) {
        return;
    }
    if (runner_.active()) {
        configPage_.evaluate(config_page::stopModal());
        dialogs_.showAlert("A preset is active. Deactivate it before detecting a joystick input.");
        return;
    }
    initJoystickSubSystem();
    hooks_.listJoysticks();
    if (SDL_NumJoysticks() <= index) {
        deinitJoystickSubSystem();
        configPage_.evaluate(config_page::stopModal());
        dialogs_.showAlert("There is no joystick connected at slot #" + std::to_string(index));
        return;
    }
    // Runs once the page's call has returned; until it has ended there is no second capture
    // and no activation.
    running_ = true;
    hooks_.queued();
    operations_.post([this, index, bindNo] { scanJoystickInputTask(index, bindNo); });
}

void BindingCapture::escapeCapture() {
    if (!running_) {
        return;
    }
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    event.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&event);
}

void BindingCapture::scanJoystickInputTask(int index, int bindNo) {
    running_ = true;
    menu_.disableDangerousOptions();
    runner_.joystickPollingTaskRunning = true;
    runner_.joystickPollingEnabled = true;
    State capture;
    capture.index = index;
    capture.bindNo = bindNo;
    SDL_Joystick* joystick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
    if (joystick == nullptr || bindNo < 0) {
        closeCapture();
        return;
    }
    capture.instance = SDL_JoystickInstanceID(joystick);
    SDL_JoystickEventState(SDL_ENABLE);
    SDL_EventState(SDL_MOUSEMOTION, SDL_IGNORE);
    SDL_EventState(SDL_KEYUP, SDL_IGNORE);
    // What came before the capture is dropped, except an Escape pressed while it was queued.
    SDL_Event discarded;
    while (events_.pollEvent(discarded)) {
        capture.scanning = capture.scanning && !cancelsCapture(discarded);
    }
    listening_ = true;
    runCapture(capture);
    endCapture(capture);
}

// Counts down until the first input, then listens for another 500 ms after each accepted input.
// Both are measured on the clock, so events that are not taken (a jittery stick) neither hold the
// capture up nor stretch it: it ends 5 s after it began at the latest. Clearing the polling flag
// (closing the editor) ends it too.
void BindingCapture::runCapture(State& c) {
    const uint32_t began = events_.nowMs();
    const auto msSince = [this](uint32_t time) { return static_cast<int32_t>(events_.nowMs() - time); };
    int shownSeconds = 0;
    while (c.scanning && runner_.joystickPollingEnabled) {
        const int32_t remaining = countdownMs - msSince(began);
        if (remaining <= 0) {
            readCaptureEvents(c); // what arrived as the time ran out still counts
            break;
        }
        int32_t wait = 0;
        if (!c.received) {
            const int seconds = (remaining + 999) / 1000;
            if (seconds != shownSeconds) {
                configPage_.evaluate(config_page::showCountdown(seconds));
                shownSeconds = seconds;
            }
            wait = remaining - (seconds - 1) * 1000; // until the number changes
        } else {
            wait = std::min(listenAfterInputMs - msSince(c.lastAcceptedAt), remaining);
            if (wait <= 0) {
                break;
            }
        }
        if (events_.waitForEvent(static_cast<uint32_t>(wait))) {
            readCaptureEvents(c);
            events_.sleepMs(1);
        }
    }
}

void BindingCapture::readCaptureEvents(State& c) {
    bool accepted = false;
    SDL_Event event;
    while (events_.pollEvent(event)) {
        switch (captureEventEffect(event, c.instance, c.result)) {
        case CaptureEffect::accepted:
            accepted = true;
            break;
        case CaptureEffect::cancel:
            c.scanning = false;
            break;
        case CaptureEffect::ignored:
            break;
        }
    }
    if (!accepted) {
        return;
    }
    if (!c.received) {
        configPage_.evaluate(config_page::showInputReceived());
    }
    c.received = true;
    c.lastAcceptedAt = events_.nowMs();
}

void BindingCapture::endCapture(State& c) {
    configPage_.evaluate(config_page::resetInputReceived());
    const std::string text = c.result.kind == InputKind::none ? std::string() : inputToText(c.result);
    configPage_.evaluate(config_page::selectInputInBind(c.index, c.bindNo, text));
    closeCapture();
}

// Stops listening to the joystick, closes the capture dialog and gives the menus back.
void BindingCapture::closeCapture() {
    deinitJoystickSubSystem();
    runner_.joystickPollingTaskRunning = false;
    runner_.joystickPollingEnabled = false;
    configPage_.evaluate(config_page::stopModal());
    menu_.restoreMenuState(runner_.active());
    listening_ = false;
    running_ = false;
}

} // namespace padloom
