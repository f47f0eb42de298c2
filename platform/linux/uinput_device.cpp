// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/uinput_device.h"

#include "platform/linux/auxiliary_keys.h"
#include "platform/linux/keyboard_keys.h"
#include "platform/linux/uinput_encoder.h"

#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace padloom {
namespace {

constexpr unsigned relativeAxes[] = {
    REL_X, REL_Y, REL_WHEEL, REL_HWHEEL, REL_WHEEL_HI_RES, REL_HWHEEL_HI_RES};

libevdev* describeDevice() {
    libevdev* description = libevdev_new();
    libevdev_set_name(description, uinputDeviceName);
    libevdev_set_id_bustype(description, BUS_VIRTUAL);
    libevdev_enable_event_type(description, EV_KEY);
    for (const KeyboardKey& key : keyboardKeys()) {
        libevdev_enable_event_code(description, EV_KEY, key.evdevCode, nullptr);
    }
    for (const AuxiliaryKey& key : auxiliaryKeys()) {
        libevdev_enable_event_code(description, EV_KEY, key.evdevCode, nullptr);
    }
    for (int button = 0; evdevButton(button) >= 0; ++button) {
        libevdev_enable_event_code(description, EV_KEY, static_cast<unsigned>(evdevButton(button)), nullptr);
    }
    libevdev_enable_event_type(description, EV_REL);
    for (unsigned axis : relativeAxes) {
        libevdev_enable_event_code(description, EV_REL, axis, nullptr);
    }
    return description;
}

} // namespace

std::string uinputUnavailableReason(const std::string& path, int error, bool openFailed) {
    if (openFailed && (error == ENOENT || error == ENODEV || error == ENXIO)) {
        return path + " does not exist: the uinput kernel module is not loaded (load it with `sudo modprobe "
                      "uinput`).";
    }
    if (openFailed && (error == EACCES || error == EPERM || error == EROFS)) {
        return "No permission to write " + path +
               ". Install Padloom's udev rule (`sudo cmake --install build`, or copy 60-padloom-uinput.rules "
               "to /usr/lib/udev/rules.d/), then log out and in again (or run `sudo udevadm trigger`).";
    }
    if (openFailed) {
        return "Cannot open " + path + ": " + std::strerror(error) + ".";
    }
    return "Cannot create a virtual input device through " + path + ": " + std::strerror(error) + ".";
}

std::unique_ptr<UinputDevice> UinputDevice::create(const std::string& path, std::string* whyNot) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (whyNot) {
            *whyNot = uinputUnavailableReason(path, errno, true);
        }
        return nullptr;
    }
    libevdev* description = describeDevice();
    libevdev_uinput* device = nullptr;
    if (const int result = libevdev_uinput_create_from_device(description, fd, &device); result != 0) {
        if (whyNot) {
            *whyNot = uinputUnavailableReason(path, -result, false);
        }
        libevdev_free(description);
        ::close(fd);
        errno = -result;
        return nullptr;
    }
    return std::unique_ptr<UinputDevice>(new UinputDevice(description, device, fd));
}

UinputDevice::UinputDevice(libevdev* description, libevdev_uinput* device, int fd)
    : description_(description), device_(device), fd_(fd), writer_(fd) {}

UinputDevice::~UinputDevice() {
    libevdev_uinput_destroy(device_);
    libevdev_free(description_);
    ::close(fd_);
}

void UinputDevice::write(std::span<const input_event> events) {
    writer_.write(events);
}

std::string UinputDevice::devnode() const {
    const char* node = libevdev_uinput_get_devnode(device_);
    return node ? node : "";
}

} // namespace padloom
