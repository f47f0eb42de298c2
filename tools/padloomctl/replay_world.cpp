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

ReplayDevices::~ReplayDevices() {
    for (SDL_Joystick* handle : handles_) {
        SDL_JoystickClose(handle);
    }
    for (size_t i = handles_.size(); i-- > 0;) {
        SDL_JoystickDetachVirtual(static_cast<int>(i));
    }
    if (started_) {
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
}

bool ReplayDevices::attach(const std::vector<DeviceShape>& shapes, std::string& error) {
    // No window ever has the focus here, and real devices must not mix with the simulated ones.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI, "0");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
        error = std::string("SDL's joystick subsystem did not start: ") + SDL_GetError();
        return false;
    }
    started_ = true;
    if (SDL_NumJoysticks() != 0) {
        error =
            "a real joystick is connected, and the engine would bind the preset's sections to it before the "
            "simulated devices; disconnect it to replay";
        return false;
    }
    for (const DeviceShape& shape : shapes) {
        const int index =
            SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_UNKNOWN, shape.axes, shape.buttons, shape.hats);
        SDL_Joystick* handle = index < 0 ? nullptr : SDL_JoystickOpen(index);
        if (handle == nullptr) {
            error = std::string("SDL could not simulate a joystick: ") + SDL_GetError();
            return false;
        }
        handles_.push_back(handle);
    }
    return true;
}

void ReplayDevices::apply(const ReplayLine& event) {
    SDL_Joystick* handle = handles_.at(static_cast<size_t>(event.a));
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

} // namespace padloom::ctl
