// SPDX-License-Identifier: GPL-3.0-or-later
// A one-line text field that only the program writes to.
#pragma once

#include <string>

namespace padloom {

class Label {
public:
    virtual ~Label() = default;
    virtual void setText(const std::string& text) = 0;
};

} // namespace padloom
