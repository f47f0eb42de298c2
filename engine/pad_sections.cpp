// SPDX-License-Identifier: GPL-3.0-or-later
// Which pad drives which section of the active preset, as pads come and go.
#include "engine/joystick_manager.h"
#include "engine/motion_timer.h"

#include <algorithm>
#include <cstring>

namespace padloom {
namespace {

constexpr float defaultDeadZone = 0.15f;

bool sameGuid(const SDL_JoystickGUID& a, const SDL_JoystickGUID& b) {
    return std::memcmp(a.data, b.data, sizeof a.data) == 0;
}

// Layer k's binds go in as set k.
void attachLayers(JoystickMap& map, const SectionRoles& roles) {
    for (size_t layer = 0; layer < roles.layers.size() && layer < mostLayerSets; ++layer) {
        for (const VantryDocument::BindData& bind : roles.layers[layer].binds) {
            for (const BindOutput& output : bind.outputs) {
                map.attachBind(bind.input, output, static_cast<uint8_t>(layer + 1));
            }
        }
    }
}

} // namespace

int JoystickManager::openPad(int deviceIndex, int section) {
    auto map = std::make_unique<JoystickMap>(engine_);
    map->open(deviceIndex);
    for (int32_t axis = 0; axis < map->axisCount; ++axis) {
        map->setAxisDeadZone(static_cast<uint32_t>(axis), defaultDeadZone);
    }
    if (section >= 0 && map->joystick) { // a device SDL cannot open takes no section
        Section& taken = sections_[static_cast<size_t>(section)];
        map->setSticks(taken.sticks);
        for (const auto& [input, output] : taken.binds) {
            map->attachBind(input, output);
        }
        attachLayers(*map, taken.roles);
        if (taken.roles.any()) {
            map->roles = std::make_unique<InputRoles>(engine_, *map, taken.roles, &switchListener);
        }
        taken.state = Section::State::taken;
        taken.lastGuid = map->guid;
        map->section = section;
    }
    const int taken = map->section;
    joystickMap.push_back(std::move(map));
    joystickCount = static_cast<int32_t>(joystickMap.size());
    return taken;
}

int JoystickManager::sectionFor(const SDL_JoystickGUID& guid) const {
    for (size_t i = 0; i < sections_.size(); ++i) {
        if (sections_[i].state == Section::State::waiting && sameGuid(sections_[i].lastGuid, guid)) {
            return static_cast<int>(i);
        }
    }
    for (size_t i = 0; i < sections_.size(); ++i) {
        if (sections_[i].state == Section::State::free) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// SDL numbers devices anew as they come and go, so every device without a pad is looked at.
void JoystickManager::openNewPads() {
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
        if (id < 0 ||
            std::any_of(joystickMap.begin(), joystickMap.end(),
                        [id](const std::unique_ptr<JoystickMap>& map) { return map->instanceId == id; })) {
            continue;
        }
        const int wanted = sectionFor(SDL_JoystickGetDeviceGUID(i));
        const bool returning =
            wanted >= 0 && sections_[static_cast<size_t>(wanted)].state == Section::State::waiting;
        const int section = openPad(i, wanted);
        if (!wasInit) {
            continue;
        }
        if (section >= 0 && sections_[static_cast<size_t>(section)].needsTimer && !mouseTimerEnabled) {
            startMouseTimer(mouseTimerIntervalMs);
        }
        if (padListener) {
            const bool back = returning && section == wanted;
            padListener({back ? PadChange::Kind::reconnected : PadChange::Kind::connected, section});
        }
    }
}

void JoystickManager::closePad(SDL_JoystickID instanceId) {
    for (auto it = joystickMap.begin(); it != joystickMap.end(); ++it) {
        JoystickMap& map = **it;
        if (map.instanceId != instanceId) {
            continue;
        }
        map.releaseControls();
        const int section = map.section;
        if (section >= 0) {
            sections_[static_cast<size_t>(section)].state = Section::State::waiting;
        }
        joystickMap.erase(it);
        joystickCount = static_cast<int32_t>(joystickMap.size());
        if (padListener && wasInit) {
            padListener({PadChange::Kind::disconnected, section});
        }
        return;
    }
}

void JoystickManager::releaseHeldControls() {
    for (size_t section = 0; section < sections_.size(); ++section) {
        for (const std::unique_ptr<JoystickMap>& map : joystickMap) {
            if (map->section == static_cast<int32_t>(section)) {
                map->releaseControls();
            }
        }
    }
    for (const std::unique_ptr<JoystickMap>& map : joystickMap) {
        if (map->section < 0) {
            map->releaseControls();
        }
    }
}

} // namespace padloom
