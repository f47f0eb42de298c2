// Modal panels. Both block the caller (the main thread keeps serving the window system) until
// the user answers.
#pragma once

#include <string>

namespace padloom {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message with one default button ("OK"); the text is shown unchanged.
    virtual void showAlert(const std::string& message) = 0;
    // The confirm panel: title "Please Confirm", the message unchanged, default button "Yes",
    // other button "No" (all three through gettext). True exactly when "Yes" was chosen.
    virtual bool confirm(const std::string& message) = 0;
};

} // namespace padloom
