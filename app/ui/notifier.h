// SPDX-License-Identifier: GPL-3.0-or-later
// Desktop notifications: a short message outside the application's windows.
#pragma once

#include <string>

namespace padloom {

class Notifier {
public:
    virtual ~Notifier() = default;
    // Shows title and body; a newer notification replaces an older one still shown.
    virtual void notify(const std::string& title, const std::string& body) = 0;
};

} // namespace padloom
