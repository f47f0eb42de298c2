// Binding capture: waits on the main thread for the next input of one joystick and hands its
// bind text to the configuration page.
#include "app/capture/capture_rules.h"
#include "app/controller/tessel_app_delegate.h"
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

struct TesselAppDelegate::CaptureState {
    int index = 0;
    int bindNo = 0;
    SDL_JoystickID instance = -1;
    BindInput result;
    bool received = false;
    bool scanning = true;
    uint32_t lastAcceptedAt = 0; // on the capture's clock
};

void TesselAppDelegate::scanJoystickInput(int index, int bindNo) {
    if (captureRunning_) {
        return;
    }
    if (runner.active()) {
        evaluateConfig(config_page::stopModal());
        showAlert("A preset is active. Deactivate it before detecting a joystick input.");
        return;
    }
    initJoystickSubSystem();
    updatelblJoysticksConnected();
    updateConfigWindowJoysticks();
    if (SDL_NumJoysticks() <= index) {
        deinitJoystickSubSystem();
        evaluateConfig(config_page::stopModal());
        showAlert("There is no joystick connected at slot #" + std::to_string(index));
        return;
    }
    // Runs once the page's call has returned; until it has ended there is no second capture
    // and no activation. The joystick watch rests at once: the live view clears what it shows.
    captureRunning_ = true;
    if (joystickWatch_) {
        joystickWatch_->look();
    }
    operations.post([this, index, bindNo] { scanJoystickInputTask(index, bindNo); });
}

void TesselAppDelegate::escapeCapture() {
    if (!captureRunning_) {
        return;
    }
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    event.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&event);
}

void TesselAppDelegate::scanJoystickInputTask(int index, int bindNo) {
    captureRunning_ = true;
    disableDangerousOptions();
    runner.joystickPollingTaskRunning = true;
    runner.joystickPollingEnabled = true;
    CaptureState capture;
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
    while (captureEvents_->pollEvent(discarded)) {
        capture.scanning = capture.scanning && !cancelsCapture(discarded);
    }
    runCapture(capture);
    endCapture(capture);
}

// Counts down until the first input, then listens for another 500 ms after each accepted input.
// Both are measured on the clock, so events that are not taken (a jittery stick) neither hold the
// capture up nor stretch it: it ends 5 s after it began at the latest.
void TesselAppDelegate::runCapture(CaptureState& c) {
    CaptureEvents& events = *captureEvents_;
    const uint32_t began = events.nowMs();
    const auto msSince = [&events](uint32_t time) { return static_cast<int32_t>(events.nowMs() - time); };
    int shownSeconds = 0;
    while (c.scanning && runner.joystickPollingEnabled) {
        const int32_t remaining = countdownMs - msSince(began);
        if (remaining <= 0) {
            readCaptureEvents(c); // what arrived as the time ran out still counts
            break;
        }
        int32_t wait = 0;
        if (!c.received) {
            const int seconds = (remaining + 999) / 1000;
            if (seconds != shownSeconds) {
                evaluateConfig(config_page::showCountdown(seconds));
                shownSeconds = seconds;
            }
            wait = remaining - (seconds - 1) * 1000; // until the number changes
        } else {
            wait = std::min(listenAfterInputMs - msSince(c.lastAcceptedAt), remaining);
            if (wait <= 0) {
                break;
            }
        }
        if (events.waitForEvent(static_cast<uint32_t>(wait))) {
            readCaptureEvents(c);
            events.sleepMs(1);
        }
    }
}

void TesselAppDelegate::readCaptureEvents(CaptureState& c) {
    bool accepted = false;
    SDL_Event event;
    while (captureEvents_->pollEvent(event)) {
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
        evaluateConfig(config_page::showInputReceived());
    }
    c.received = true;
    c.lastAcceptedAt = captureEvents_->nowMs();
}

void TesselAppDelegate::endCapture(CaptureState& c) {
    evaluateConfig(config_page::resetInputReceived());
    const std::string text = c.result.kind == InputKind::none ? std::string() : inputToText(c.result);
    evaluateConfig(config_page::selectInputInBind(c.index, c.bindNo, text));
    closeCapture();
}

// Stops listening to the joystick, closes the capture dialog and gives the menus back.
void TesselAppDelegate::closeCapture() {
    deinitJoystickSubSystem();
    runner.joystickPollingTaskRunning = false;
    runner.joystickPollingEnabled = false;
    evaluateConfig(config_page::stopModal());
    restoreMenuState();
    captureRunning_ = false;
}

} // namespace padloom
