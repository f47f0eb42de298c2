// SPDX-License-Identifier: GPL-3.0-or-later
// The virtual input device "Padloom virtual input", made through /dev/uinput: a keyboard with
// every key the translation tables can press, a mouse with eight buttons, relative motion and
// both wheels (with their high-resolution axes).
#pragma once

#include "platform/linux/input_event_writer.h"

#include <memory>
#include <string>

struct libevdev;
struct libevdev_uinput;

namespace padloom {

inline constexpr const char* uinputDeviceName = "Padloom virtual input";

class UinputDevice : public InputEventWriter {
public:
    // Null, with the reason in *whyNot, when path cannot be opened for writing or the device
    // cannot be made; errno then tells which.
    static std::unique_ptr<UinputDevice> create(const std::string& path, std::string* whyNot);
    ~UinputDevice() override;
    UinputDevice(const UinputDevice&) = delete;
    UinputDevice& operator=(const UinputDevice&) = delete;

    void write(std::span<const input_event> events) override;
    // The /dev/input/event* node the kernel made for the device (empty if unknown).
    std::string devnode() const;

private:
    UinputDevice(libevdev* description, libevdev_uinput* device, int fd);

    libevdev* description_;
    libevdev_uinput* device_;
    int fd_;
    FdInputEventWriter writer_;
};

// The sentence that tells the user why path could not be used for a uinput device, and how to
// fix it, for the errno value of the failed open or create.
std::string uinputUnavailableReason(const std::string& path, int error, bool openFailed);

} // namespace padloom
