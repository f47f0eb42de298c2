// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/padloomctl/replay_world.h"

namespace padloom::ctl {

ReplayDisplays::ReplayDisplays() {
    set({{0, 0, 1920, 1080}});
}

void ReplayDisplays::set(const std::vector<SDL_Rect>& displays) {
    displays_ = displays;
    if (displays_.empty()) {
        return;
    }
    const SDL_Rect main = displays_[0];
    for (SDL_Rect& d : displays_) {
        d.x -= main.x;
        d.y -= main.y;
    }
}

bool ReplayDisplays::displayBounds(int index, SDL_Rect* bounds) {
    if (bounds == nullptr || index < 0 || index >= displayCount()) {
        return false;
    }
    *bounds = displays_[static_cast<size_t>(index)];
    return true;
}

namespace {

// The vendor number that open-source hardware projects share; the products below it are the
// script's device numbers, so each device has a GUID of its own.
constexpr Uint16 replayVendor = 0x1209;

void detach(SDL_Joystick* handle) {
    const SDL_JoystickID instance = SDL_JoystickInstanceID(handle);
    SDL_JoystickClose(handle);
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == instance) {
            SDL_JoystickDetachVirtual(i);
            return;
        }
    }
}

} // namespace

ReplayDevices::~ReplayDevices() {
    for (size_t i = devices_.size(); i-- > 0;) {
        if (devices_[i].handle != nullptr) {
            detach(devices_[i].handle);
        }
    }
    if (started_) {
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
}

Outcome<> ReplayDevices::attach(const std::vector<DeviceShape>& shapes) {
    // No window ever has the focus here, and real devices must not mix with the simulated ones.
    // SIGINT and SIGTERM end a replay as they end any program.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI, "0");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
        return Problem{std::string("SDL's joystick subsystem did not start: ") + SDL_GetError()};
    }
    started_ = true;
    if (SDL_NumJoysticks() != 0) {
        return Problem{"a real joystick is connected, and the engine would bind the preset's sections to it "
                       "before the simulated devices; disconnect it to replay"};
    }
    for (const DeviceShape& shape : shapes) {
        if (Outcome<> plugged = plug(shape); !plugged) {
            return plugged;
        }
    }
    return {};
}

Outcome<> ReplayDevices::attachDevice(size_t number) {
    Device& device = devices_[number];
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_UNKNOWN;
    desc.naxes = static_cast<Uint16>(device.shape.axes);
    desc.nbuttons = static_cast<Uint16>(device.shape.buttons);
    desc.nhats = static_cast<Uint16>(device.shape.hats);
    desc.vendor_id = replayVendor;
    desc.product_id = static_cast<Uint16>(number + 1);
    desc.name = "Padloom replay pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    device.handle = index < 0 ? nullptr : SDL_JoystickOpen(index);
    if (device.handle == nullptr) {
        return Problem{std::string("SDL could not simulate a joystick: ") + SDL_GetError()};
    }
    return {};
}

void ReplayDevices::apply(const ReplayLine& event) {
    SDL_Joystick* handle = devices_.at(static_cast<size_t>(event.a)).handle;
    const int control = static_cast<int>(event.b);
    switch (event.op) {
    case ReplayOp::button:
        SDL_JoystickSetVirtualButton(handle, control, static_cast<Uint8>(event.c));
        break;
    case ReplayOp::axis:
        SDL_JoystickSetVirtualAxis(handle, control, static_cast<Sint16>(event.c));
        break;
    case ReplayOp::hat:
        SDL_JoystickSetVirtualHat(handle, control, static_cast<Uint8>(event.c));
        break;
    default:
        break;
    }
}

void ReplayDevices::unplug(size_t number) {
    Device& device = devices_.at(number);
    if (device.handle != nullptr) {
        detach(device.handle);
        device.handle = nullptr;
    }
}

Outcome<> ReplayDevices::replug(size_t number) {
    if (devices_.at(number).handle != nullptr) {
        return {};
    }
    return attachDevice(number);
}

Outcome<> ReplayDevices::plug(const DeviceShape& shape) {
    devices_.push_back({shape});
    return attachDevice(devices_.size() - 1);
}

} // namespace padloom::ctl
