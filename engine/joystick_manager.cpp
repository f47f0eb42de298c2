#include "engine/joystick_manager.h"

#include "engine/motion_timer.h"
#include "engine/mouse_motion.h"
#include "engine/mouse_state.h"
#include "preset/vantry_document.h"

namespace padloom {
namespace {

constexpr float defaultDeadZone = 0.15f;

bool needsMotionTimer(const BindOutput& output) {
    return output.kind == OutputKind::mouseMotion || output.kind == OutputKind::wheel;
}

void discardQueuedEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event) == 1) {
    }
}

} // namespace

JoystickManager::~JoystickManager() {
    deinit();
}

bool JoystickManager::init(const VantryDocument* document) {
    if (wasInit) {
        deinit();
    }
    joystickCount = SDL_NumJoysticks();
    if (joystickCount <= 0) {
        return false;
    }
    joystickMap = std::make_unique<JoystickMap[]>(static_cast<size_t>(joystickCount));
    SDL_JoystickEventState(SDL_ENABLE);
    for (int32_t i = 0; i < joystickCount; ++i) {
        joystickMap[i].open(i);
    }
    for (int32_t i = 0; i < joystickCount; ++i) {
        for (int32_t axis = 0; axis < joystickMap[i].axisCount; ++axis) {
            joystickMap[i].setAxisDeadZone(static_cast<uint32_t>(axis), defaultDeadZone);
        }
    }

    // Sections drive devices by position; the name a section carries is not compared.
    bool timerNeeded = false;
    if (document && document->joysticks) {
        const auto& sections = *document->joysticks;
        for (size_t j = 0; j < sections.size() && j < static_cast<size_t>(joystickCount); ++j) {
            for (const VantryDocument::BindData& bind : sections[j].binds) {
                for (const BindOutput& output : bind.outputs) {
                    joystickMap[j].attachBind(bind.input, output);
                    timerNeeded = timerNeeded || needsMotionTimer(output);
                }
            }
        }
    }

    // Input that arrived while the devices were opened is not evaluated.
    discardQueuedEvents();
    if (timerNeeded) {
        startMouseTimer(mouseTimerIntervalMs);
    }
    wasInit = true;
    return true;
}

void JoystickManager::deinit() {
    // SDL's queue exists only while some subsystem runs (the manager may outlive SDL_Quit).
    const bool sdlRunning = SDL_WasInit(SDL_INIT_EVERYTHING) != 0;
    if (sdlRunning) {
        SDL_JoystickEventState(SDL_IGNORE);
    }
    // The timer goes first: once it is stopped no tick reads the state reset below.
    stopMouseTimer();
    mouseState.reset();
    if (sdlRunning) {
        SDL_Event event;
        while (SDL_PollEvent(&event) == 1) {
            handleEvent(event);
        }
    }
    // delete[] destroys the maps from the last to the first; each closes its device.
    joystickMap.reset();
    wasInit = false;
}

void JoystickManager::startMouseTimer(uint32_t intervalMs) {
    mouseTimerEnabled = startMotionTimer(intervalMs); // replaces a running one
}

void JoystickManager::stopMouseTimer() {
    if (mouseTimerEnabled) {
        mouseTimerEnabled = false;
        stopMotionTimer();
    }
}

} // namespace padloom
