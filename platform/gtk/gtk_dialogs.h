// The modal alert and the confirm panel as GTK message dialogs.
#pragma once

#include "app/ui/dialogs.h"

typedef struct _GtkWindow GtkWindow;

namespace padloom {

class GtkDialogs : public Dialogs {
public:
    // parent: the window the dialogs belong to (may be null).
    explicit GtkDialogs(GtkWindow* parent = nullptr) : parent_(parent) {}
    void setParent(GtkWindow* parent) { parent_ = parent; }

    void showAlert(const std::string& message) override;
    bool confirm(const std::string& message) override;

private:
    GtkWindow* parent_;
};

} // namespace padloom
