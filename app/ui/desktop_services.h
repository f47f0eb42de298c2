// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop does for the application outside its own windows.
#pragma once

#include <functional>
#include <string>

namespace padloom {

// Runs when nothing on the system could open what was asked; it may run later, from the main loop.
using NothingOpened = std::function<void()>;

class DesktopServices {
public:
    virtual ~DesktopServices() = default;
    // Opens a web address or file URI in the user's default handler.
    virtual void openUri(const std::string& uri, NothingOpened nothingOpened = {}) = 0;
    // Shows the folder or file selected in the file manager.
    virtual void revealFolder(const std::string& path, NothingOpened nothingOpened = {}) = 0;
};

} // namespace padloom
