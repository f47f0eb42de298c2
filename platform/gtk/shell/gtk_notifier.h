// SPDX-License-Identifier: GPL-3.0-or-later
// Notifier through GNotification, sent by the process's GApplication (none: nothing is shown).
#pragma once

#include "app/ui/notifier.h"

namespace padloom {

class GtkNotifier : public Notifier {
public:
    void notify(const std::string& title, const std::string& body) override;
};

} // namespace padloom
