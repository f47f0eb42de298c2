// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's one entry object: builds a map per joystick from a preset, evaluates joystick
// events against it, and runs the motion timer while the preset needs one.
//
// Pads may come and go while a preset is active. A pad that goes has its held controls released
// and its section waits for it; a pad that comes takes the first waiting section whose last pad
// had its GUID, else the first section no pad has had, else none.
#pragma once

#include "engine/joystick_map.h"

#include <SDL.h>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace padloom {

class Engine;
class VantryDocument;

// A pad that came or went while a preset was active. section is the preset section it took or
// left (0 for the first), -1 when it had none.
struct PadChange {
    enum class Kind { connected, reconnected, disconnected };
    Kind kind;
    int section;
};
using PadListener = std::function<void(const PadChange&)>;

class JoystickManager {
public:
    // The maps post through engine, and the motion timer is engine's.
    explicit JoystickManager(Engine& engine) : engine_(engine) {}
    ~JoystickManager(); // runs deinit
    JoystickManager(const JoystickManager&) = delete;
    JoystickManager& operator=(const JoystickManager&) = delete;

    // Opens every device SDL reports and gives section i of the document to device i.
    // False only when no joystick is connected. The document may be null; it is not kept.
    bool init(const VantryDocument* document);
    // Stops the timer, evaluates what is still queued, releases every pad's held controls (pads in
    // section order), resets the mouse state, closes the devices.
    void deinit();
    void startMouseTimer(uint32_t intervalMs);
    void stopMouseTimer();
    // Evaluates one SDL event; a device added or removed opens or closes its pad. Events of other
    // types or of unknown devices are ignored.
    void handleEvent(const SDL_Event& event);

    // The map of the device an event names, or null.
    JoystickMap* mapForInstance(SDL_JoystickID instanceId);

    // Told of each pad that comes or goes while initialised, on the thread that handles its event.
    PadListener padListener;
    // Told of each switch a pad completes, on the polling thread, with the inputs' events
    // evaluated; it must not call back into the manager.
    SwitchListener switchListener;

    int32_t joystickCount = 0;                             // pads open
    std::vector<std::unique_ptr<JoystickMap>> joystickMap; // in the order the pads were opened
    bool mouseTimerEnabled = false;                        // the preset runs the motion timer, which may rest
    bool wasInit = false;

private:
    struct Section {
        enum class State { free, taken, waiting };
        std::vector<std::pair<BindInput, BindOutput>> binds; // in preset order
        std::vector<StickSettings> sticks;
        SectionRoles roles;
        bool needsTimer = false;
        State state = State::free;
        SDL_JoystickGUID lastGuid{}; // of the pad that took it last
    };

    JoystickMap* attachedMap(SDL_JoystickID instanceId);
    void evaluate(const SDL_Event& event);
    // Held while turbo or sequences may post from the motion tick (Engine::inputRolesLock).
    std::unique_lock<std::mutex> rolesLock();
    // Opens the device and gives it the section's binds; answers the section it took, or -1.
    int openPad(int deviceIndex, int section);
    void openNewPads();
    void closePad(SDL_JoystickID instanceId);
    int sectionFor(const SDL_JoystickGUID& guid) const;
    void releaseHeldControls();

    Engine& engine_;
    std::vector<Section> sections_;
};

} // namespace padloom
