// The engine's one entry object: builds a map per joystick from a preset, evaluates joystick
// events against it, and runs the motion timer while the preset needs one.
#pragma once

#include "engine/joystick_map.h"

#include <SDL.h>
#include <cstdint>
#include <memory>

namespace padloom {

class VantryDocument;

class JoystickManager {
public:
    JoystickManager() = default;
    ~JoystickManager(); // runs deinit
    JoystickManager(const JoystickManager&) = delete;
    JoystickManager& operator=(const JoystickManager&) = delete;

    // Opens every device SDL reports and attaches the document's sections to them by position.
    // False only when no joystick is connected. The document may be null; it is not kept.
    bool init(const VantryDocument* document);
    // Stops the timer, resets the mouse state, evaluates what is still queued, closes the devices.
    void deinit();
    void startMouseTimer(uint32_t intervalMs);
    void stopMouseTimer();
    // Evaluates one SDL event; events of other types or of unknown devices are ignored.
    void handleEvent(const SDL_Event& event);

    // The map of the device an event names, or null.
    JoystickMap* mapForInstance(SDL_JoystickID instanceId);

    int32_t joystickCount = 0;
    std::unique_ptr<JoystickMap[]> joystickMap;
    bool mouseTimerEnabled = false; // the preset runs the motion timer, which may rest
    bool wasInit = false;
};

} // namespace padloom
