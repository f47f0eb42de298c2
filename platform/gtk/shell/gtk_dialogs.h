// SPDX-License-Identifier: GPL-3.0-or-later
// The modal alert and the confirm panel as GTK message dialogs.
#pragma once

#include "app/ui/dialogs.h"

#include <vector>

typedef struct _GtkWindow GtkWindow;
typedef struct _GtkWidget GtkWidget;

namespace padloom {

class GtkDialogs : public Dialogs {
public:
    GtkDialogs() = default;
    ~GtkDialogs() override; // closes the panels still open, unanswered
    GtkDialogs(const GtkDialogs&) = delete;
    GtkDialogs& operator=(const GtkDialogs&) = delete;
    // The windows a panel may belong to: it goes above the one that has the focus, or else the
    // first one shown.
    void setWindows(std::vector<GtkWindow*> windows) { windows_ = std::move(windows); }

    void showAlert(const std::string& message) override;
    bool confirm(const std::string& message) override;
    void showAlertLater(const std::string& message, std::function<void()> dismissed) override;
    void confirmLater(const std::string& message, std::function<void(bool)> answered) override;
    bool panelOpen() const override { return !running_.empty(); }
    // Answers every panel still open as if its window had been closed (the application is
    // quitting; a confirm then reads "No").
    void dismissAll();

    // Panels are at most this wide, whatever their text.
    static constexpr int maxWidth = 600;

private:
    GtkWidget* alertPanel(const std::string& message);
    GtkWidget* confirmPanel(const std::string& message);
    int run(GtkWidget* dialog);
    void open(GtkWidget* dialog, std::function<void(int)> answered);
    GtkWindow* parent() const;

    std::vector<GtkWindow*> windows_;
    std::vector<GtkWidget*> running_;
};

} // namespace padloom
