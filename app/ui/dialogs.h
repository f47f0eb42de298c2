// SPDX-License-Identifier: GPL-3.0-or-later
// Modal panels.
#pragma once

#include <functional>
#include <string>

namespace padloom {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message with one default button ("OK"); blocks the caller (the main thread keeps serving
    // the window system) until the user dismisses it.
    virtual void showAlert(const std::string& message) = 0;
    // The confirm panel: title "Please Confirm", the message, default button "Yes", other
    // button "No" (all three through gettext); blocks like showAlert. True exactly when "Yes" was
    // chosen.
    virtual bool confirm(const std::string& message) = 0;

    // The same panels without blocking: they return at once, and dismissed or answered runs when
    // the user has answered. For callers that must return first, such as a web view's signal
    // handlers.
    virtual void showAlertLater(const std::string& message, std::function<void()> dismissed) {
        showAlert(message);
        dismissed();
    }
    virtual void confirmLater(const std::string& message, std::function<void(bool)> answered) {
        answered(confirm(message));
    }

    // True while a panel of these waits for the user, whichever way it was shown.
    virtual bool panelOpen() const { return false; }
};

} // namespace padloom
