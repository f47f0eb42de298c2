// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop shell: the two windows with their pages, the menu bar, the GTK implementations of
// the controller's UI interfaces, and the controller itself, wired together and started in the
// application's start-up order. main() makes one; the integration tests make one in-process.
#pragma once

#include "app/controller/help_links.h"
#include "app/controller/tessel_app_delegate.h"
#include "engine/event_sink.h"
#include "platform/gtk/desktop/tray_icon.h"
#include "platform/gtk/shell/app_menu.h"
#include "platform/gtk/shell/gtk_capture_events.h"
#include "platform/gtk/shell/gtk_label_adapter.h"
#include "platform/gtk/shell/gtk_notifier.h"
#include "platform/gtk/shell/gtk_window_adapter.h"
#include "platform/gtk/web/web_page.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

typedef struct _GtkWindow GtkWindow;
typedef struct _GtkAccelGroup GtkAccelGroup;
typedef struct _GDBusConnection GDBusConnection;

namespace padloom {

class X11ActiveWindow;

struct ShellOptions {
    std::string resourceDir; // holds gui/, presetexamples/, help/
    std::string productSite; // help sites; empty: the shipped help page
    std::string makerSite;
    // Replacements for tests; null takes the real one (GTK dialogs, the settings file (moved
    // aside when it cannot be read, which start() then tells in an alert), the
    // desktop's handlers, the event sink that selectEventSink picks).
    Dialogs* dialogs = nullptr;
    SettingsStore* settings = nullptr;
    DesktopServices* desktop = nullptr;
    EventSink* sink = nullptr;
    FocusMonitor* focusMonitor = nullptr; // null: the one the session offers (chooseFocusMonitor)
    // The application's own connection to the session bus and its object path, where desktop
    // helpers report the focused window; none: no helper can.
    GDBusConnection* bus = nullptr;
    std::string busObjectPath;
    // Ends the application's main loop once quitting has been decided and done.
    std::function<void()> quit;
    // How long the main window waits, unshown, for its page to be filled: then it shows anyway.
    std::chrono::milliseconds mainWindowWait{3000};
};

class Shell {
public:
    explicit Shell(ShellOptions options);
    ~Shell();
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    // awakeFromNib (label), applicationDidFinishLaunching; page-ready handling follows when the
    // main page (loading since construction) has loaded, and the main window is shown once the
    // page has been filled and the window fitted to it; the configuration page loads then.
    void start();
    // The user asks to quit: asks where it must, then shuts down and calls options.quit.
    void terminate();
    // Brings the main window back from the tray (or to the front).
    void showMainWindow();
    // Quits without the question (the session ends, a signal): shuts down and calls options.quit.
    void terminateNow();

    TesselAppDelegate& controller() { return *controller_; }
    WebPage& mainPage() { return *mainPage_; }
    WebPage& configPage() { return *configPage_; }
    AppMenu& menu() { return *menu_; }
    TrayIcon& tray() { return *tray_; }
    GtkWindow* mainWindow() const { return mainWindow_; }
    GtkWindow* configWindow() const { return configWindow_; }
    const GtkLabelAdapter& joystickLabel() const { return *label_; }
    // How often page-ready handling has filled the main page (after each of its loads).
    int mainPageFills() const { return controller_->mainPageFills(); }
    // Non-empty when the preferred event sink could not be had (shown once at start-up).
    const std::string& sinkWarning() const { return sinkWarning_; }

private:
    struct Signals;
    void makePages();
    void fillMainPage();
    void buildMainWindow();
    void buildConfigWindow();
    void layOutHiddenMainWindow();
    void revealMainWindow();
    int mainChromeExcess() const;
    void chooseSink();
    void quitNow();
    void hideToTray();
    void releasePages();
    BridgeSpec bridge(const std::string& globalName);
    PageHandlers pageHandlers();

    ShellOptions options_;
    std::unique_ptr<Dialogs> ownDialogs_;
    std::unique_ptr<SettingsStore> ownSettings_;
    std::unique_ptr<DesktopServices> ownDesktop_;
    std::unique_ptr<MainLoop> mainLoop_;
    std::unique_ptr<X11ActiveWindow> activeWindow_; // watched by the two monitors below
    std::unique_ptr<PresentationMonitor> presentationMonitor_;
    GtkNotifier notifier_;
    std::unique_ptr<FocusMonitor> ownFocusMonitor_;
    GtkCaptureEvents captureEvents_;
    std::unique_ptr<EventSink> ownSink_;
    std::string sinkWarning_;
    std::string settingsWarning_;

    GtkAccelGroup* accelerators_ = nullptr;
    GtkWindow* mainWindow_ = nullptr;
    GtkWindow* configWindow_ = nullptr;
    std::unique_ptr<AppMenu> menu_;
    std::unique_ptr<WebPage> mainPage_;
    std::unique_ptr<WebPage> configPage_;
    std::unique_ptr<GtkLabelAdapter> label_;
    std::unique_ptr<GtkWindowAdapter> mainAdapter_;
    std::unique_ptr<GtkWindowAdapter> configAdapter_;
    std::unique_ptr<TesselAppDelegate> controller_;
    std::unique_ptr<TrayIcon> tray_;
    unsigned long monitorsChanged_ = 0;
    bool terminating_ = false;
    bool reloadConfigOnClose_ = false;
    bool mainWindowRevealed_ = false;
    bool mainPageLoadedEarly_ = false; // before the controller was there to fill it
    unsigned mainWindowWait_ = 0;      // the timeout that shows the main window when its page is late
};

} // namespace padloom
