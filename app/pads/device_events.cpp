// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pads/device_events.h"

#include <SDL.h>
#include <cstdint>
#include <libudev.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>
#include <utility>

namespace padloom {

DeviceEvents::DeviceEvents(bool sdlToo) {
    sdlEvents_ = sdlToo ? eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC) : -1;
    if (sdlEvents_ >= 0 && SDL_InitSubSystem(SDL_INIT_EVENTS) != 0) {
        close(std::exchange(sdlEvents_, -1));
    }
    if (sdlEvents_ >= 0) {
        SDL_AddEventWatch(onSdlEvent, this);
    }
    inputFolder_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inputFolder_ >= 0 &&
        inotify_add_watch(inputFolder_, "/dev/input",
                          IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_TO | IN_MOVED_FROM) < 0) {
        close(std::exchange(inputFolder_, -1));
    }
    openUdevMonitor();
}

// Only input devices wake the watch: the filter runs in the kernel.
void DeviceEvents::openUdevMonitor() {
    udev_ = udev_new();
    monitor_ = udev_ ? udev_monitor_new_from_netlink(udev_, "udev") : nullptr;
    if (monitor_ == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, "input", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0) {
        monitor_ = monitor_ ? udev_monitor_unref(monitor_) : nullptr;
    }
}

DeviceEvents::~DeviceEvents() {
    if (sdlEvents_ >= 0) {
        SDL_DelEventWatch(onSdlEvent, this); // waits for a call in progress on another thread
        SDL_QuitSubSystem(SDL_INIT_EVENTS);
        close(sdlEvents_);
    }
    if (inputFolder_ >= 0) {
        close(inputFolder_);
    }
    if (monitor_ != nullptr) {
        udev_monitor_unref(monitor_);
    }
    if (udev_ != nullptr) {
        udev_unref(udev_);
    }
}

bool DeviceEvents::hearsKernel() const {
    return inputFolder_ >= 0 || (monitor_ != nullptr && access("/run/udev/control", F_OK) == 0);
}

std::vector<int> DeviceEvents::fds() const {
    std::vector<int> fds;
    for (int fd : {sdlEvents_, inputFolder_, monitor_ ? udev_monitor_get_fd(monitor_) : -1}) {
        if (fd >= 0) {
            fds.push_back(fd);
        }
    }
    return fds;
}

void DeviceEvents::drain(int fd) {
    if (fd < 0) {
        return;
    }
    if (monitor_ != nullptr && fd == udev_monitor_get_fd(monitor_)) {
        while (udev_device* device = udev_monitor_receive_device(monitor_)) {
            udev_device_unref(device);
        }
        return;
    }
    char buffer[4096];
    while (read(fd, buffer, sizeof buffer) > 0) {
    }
}

// Called on the thread that pushed the event, for every event: it only notes device changes.
int DeviceEvents::onSdlEvent(void* self, SDL_Event* event) {
    if (event->type == SDL_JOYDEVICEADDED || event->type == SDL_JOYDEVICEREMOVED) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t written =
            write(static_cast<DeviceEvents*>(self)->sdlEvents_, &one, sizeof one);
    }
    return 1;
}

} // namespace padloom
