// SPDX-License-Identifier: GPL-3.0-or-later
// A checkable, enableable menu item. For the title-keyed options the title is also the key
// under which the option is stored.
#pragma once

#include <string>

namespace padloom {

class MenuItem {
public:
    virtual ~MenuItem() = default;
    virtual std::string title() const = 0;
    virtual bool state() const = 0; // check mark shown
    virtual void setState(bool on) = 0;
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
};

} // namespace padloom
