// The modal alert and the confirm panel as GTK message dialogs.
#pragma once

#include "app/ui/dialogs.h"

#include <vector>

typedef struct _GtkWindow GtkWindow;
typedef struct _GtkWidget GtkWidget;

namespace padloom {

class GtkDialogs : public Dialogs {
public:
    // parent: the window the dialogs belong to (may be null).
    explicit GtkDialogs(GtkWindow* parent = nullptr) : parent_(parent) {}
    void setParent(GtkWindow* parent) { parent_ = parent; }

    void showAlert(const std::string& message) override;
    bool confirm(const std::string& message) override;
    // Answers every panel still open as if its window had been closed (the application is
    // quitting; a confirm then reads "No").
    void dismissAll();

private:
    int run(GtkWidget* dialog);

    GtkWindow* parent_;
    std::vector<GtkWidget*> running_;
};

} // namespace padloom
