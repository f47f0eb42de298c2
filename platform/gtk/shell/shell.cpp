// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/shell/shell.h"

#include "platform/gtk/desktop/gio_desktop_services.h"
#include "platform/gtk/shell/glib_main_loop.h"
#include "platform/gtk/shell/gtk_dialogs.h"
#include "platform/gtk/shell/i18n.h"
#include "platform/gtk/shell/keyfile_settings_store.h"
#include "platform/gtk/wayland/focus_chooser.h"
#include "platform/gtk/web/web_context.h"
#include "platform/gtk/x11/x11_fullscreen_monitor.h"
#include "platform/linux/sink_selection.h"

#include <gtk/gtk.h>
#include <utility>

namespace padloom {

struct Shell::Signals {
    static gboolean mainDelete(GtkWidget*, GdkEvent*, gpointer data) {
        auto* shell = static_cast<Shell*>(data);
        shell->controller_->operations().run([shell] {
            const bool toTray = shell->controller_->keepsRunningWhenClosed();
            if (shell->controller_->windowShouldClose(shell->mainAdapter_.get())) {
                shell->controller_->windowWillClose(shell->mainAdapter_.get()); // asks to quit
            }
            if (toTray) {
                shell->hideToTray();
            }
        });
        return TRUE; // the window stays until the application has quit or goes to the tray
    }

    // The configuration window is hidden, never destroyed: its page stays loaded for the next edit.
    // Closing the window during a capture ends the capture first, as Escape does.
    static gboolean configDelete(GtkWidget* widget, GdkEvent*, gpointer data) {
        auto* shell = static_cast<Shell*>(data);
        shell->controller_->escapeCapture();
        shell->controller_->operations().run([shell, widget] {
            if (!gtk_widget_get_visible(widget) ||
                !shell->controller_->windowShouldClose(shell->configAdapter_.get())) {
                return;
            }
            shell->controller_->windowWillClose(shell->configAdapter_.get());
            gtk_widget_hide(widget);
            if (std::exchange(shell->reloadConfigOnClose_, false)) {
                shell->configPage_->reload();
            }
            if (!gtk_widget_get_visible(GTK_WIDGET(shell->mainWindow_))) {
                shell->releasePages();
            }
        });
        return TRUE;
    }

    // While a capture runs, plain typing in either window belongs to it: Escape ends it and the
    // other keys are swallowed. Shortcuts with Control, Alt or Super still work.
    static gboolean captureKey(GtkWidget*, GdkEventKey* event, gpointer data) {
        auto* shell = static_cast<Shell*>(data);
        if (!shell->controller_ || !shell->controller_->captureRunning()) {
            return FALSE;
        }
        if (event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK | GDK_SUPER_MASK)) {
            return FALSE;
        }
        if (event->type == GDK_KEY_PRESS && event->keyval == GDK_KEY_Escape) {
            shell->controller_->escapeCapture();
        }
        return TRUE;
    }

    static void monitorsChanged(GdkScreen*, gpointer data) {
        TesselAppDelegate* controller = static_cast<Shell*>(data)->controller_.get();
        controller->operations().run([controller] { controller->applicationDidChangeScreenParameters(); });
    }
};

Shell::Shell(ShellOptions options) : options_(std::move(options)) {
    if (!options_.dialogs) {
        options_.dialogs = (ownDialogs_ = std::make_unique<GtkDialogs>()).get();
    }
    if (!options_.settings) {
        auto store = std::make_unique<KeyfileSettingsStore>();
        settingsWarning_ = setAsideUnreadableSettings(*store);
        options_.settings = (ownSettings_ = std::move(store)).get();
    }
    if (!options_.desktop) {
        options_.desktop = (ownDesktop_ = std::make_unique<GioDesktopServices>()).get();
    }
    if (!options_.quit) {
        options_.quit = [] {};
    }
    makePages();
    mainLoop_ = std::make_unique<GlibMainLoop>([this] { terminate(); });
    activeWindow_ = std::make_unique<X11ActiveWindow>();
    presentationMonitor_ = std::make_unique<X11FullscreenMonitor>(*activeWindow_);
    if (!options_.focusMonitor) {
        ownFocusMonitor_ =
            chooseFocusMonitor(*activeWindow_, options_.bus, options_.busObjectPath, options_.resourceDir)
                .monitor;
        options_.focusMonitor = ownFocusMonitor_.get();
    }
    chooseSink();

    // The pages are dark; the menu bar, label and dialogs follow them.
    if (GtkSettings* settings = gtk_settings_get_default()) {
        g_object_set(settings, "gtk-application-prefer-dark-theme", TRUE, nullptr);
    }
    accelerators_ = gtk_accel_group_new();
    menu_ = std::make_unique<AppMenu>(accelerators_);
    buildMainWindow();
    buildConfigWindow();
    if (auto* dialogs = dynamic_cast<GtkDialogs*>(options_.dialogs)) {
        dialogs->setWindows({configWindow_, mainWindow_});
    }

    TesselAppDelegate::Outlets outlets;
    outlets.menu = menu_->outlets();
    outlets.mainwindow = mainAdapter_.get();
    outlets.mainScriptObject = mainPage_.get();
    outlets.lblJoysticksConnected = label_.get();
    outlets.configwindow = configAdapter_.get();
    outlets.configScriptObject = configPage_.get();
    outlets.dialogs = options_.dialogs;
    outlets.settings = options_.settings;
    outlets.desktop = options_.desktop;
    outlets.mainLoop = mainLoop_.get();
    outlets.presentationMonitor = presentationMonitor_.get();
    outlets.captureEvents = &captureEvents_;
    outlets.notifier = &notifier_;
    controller_ = std::make_unique<TesselAppDelegate>(
        outlets, HelpSites{options_.productSite, options_.makerSite, options_.resourceDir});
    controller_->runner().engine.eventSink.set(options_.sink ? options_.sink : ownSink_.get());
    menu_->bind(*controller_, [this] { terminate(); });
    const std::string iconFolder = iconFolderBeside(options_.resourceDir);
    if (!iconFolder.empty()) {
        // The windows' icon, for a program run from its build folder.
        gtk_icon_theme_append_search_path(gtk_icon_theme_get_default(), iconFolder.c_str());
    }
    tray_ = std::make_unique<TrayIcon>(controller_->switching(), menu_->item(&MenuOutlets::keepInTray_mi),
                                       TrayActions{[this] { showMainWindow(); }, [this] { terminate(); }},
                                       iconFolder);
}

// The main page starts loading first of all: its web process starts and loads it while the rest
// of the start-up runs; the configuration page's load is asked for after it (the two share the
// web process). Loading that page only once the main window was shown made sway 1.7 crash now
// and then under XWayland as the focus moved.
void Shell::makePages() {
    PageHandlers mainHandlers = pageHandlers();
    // Loading the main page again refills it (page-ready handling follows the load).
    mainHandlers.processEnded = [this] { mainPage_->reload(); };
    mainHandlers.loaded = [this] {
        if (controller_) {
            fillMainPage();
        } else {
            mainPageLoadedEarly_ = true;
        }
    };
    PageHandlers configHandlers = pageHandlers();
    // Page-ready handling follows the main page only; this page learns the joystick names.
    configHandlers.loaded = [this] {
        if (controller_) {
            controller_->operations().post([this] { controller_->configPageDidLoad(); });
        }
    };
    // An edit in progress is not replaced by an empty editor, which closing the window would
    // then save: the page comes back once its window is closed.
    // The configuration page may close its window with window.close(); that ends the edit the
    // same way as the window's close button.
    configHandlers.closeRequested = [this] { gtk_window_close(configWindow_); };
    configHandlers.processEnded = [this] {
        if (gtk_widget_get_visible(GTK_WIDGET(configWindow_))) {
            reloadConfigOnClose_ = true;
        } else {
            configPage_->reload();
        }
    };
    mainPage_ = std::make_unique<WebPage>(bridge("app"), mainHandlers);
    mainPage_->loadFile(options_.resourceDir + "/gui/window_main.htm");
    configPage_ = std::make_unique<WebPage>(bridge("appconfig"), configHandlers, mainPage_.get());
    configPage_->loadFile(options_.resourceDir + "/gui/window_config.htm");
}

Shell::~Shell() {
    if (mainWindowWait_ != 0) {
        g_source_remove(mainWindowWait_);
    }
    if (monitorsChanged_) {
        g_signal_handler_disconnect(gdk_screen_get_default(), monitorsChanged_);
    }
    presentationMonitor_->remove();
    tray_.reset();
    controller_.reset();
    // A menu still open (the app quit by a signal or a shortcut) closes while the bar is in its
    // window: closed during the window's destruction, the bar no longer has one and GTK fails a
    // cast when it hides the mnemonics.
    gtk_menu_shell_deactivate(GTK_MENU_SHELL(menu_->bar()));
    gtk_widget_destroy(GTK_WIDGET(configWindow_));
    gtk_widget_destroy(GTK_WIDGET(mainWindow_));
    mainPage_.reset();
    configPage_.reset();
    menu_.reset();
    g_object_unref(accelerators_);
}

void Shell::chooseSink() {
    if (options_.sink) {
        return;
    }
    std::string choiceWarning;
    OutputChoice choice = outputChoiceFromEnvironment(&choiceWarning);
    SinkSelection selection = selectEventSink(choice);
    ownSink_ = std::move(selection.sink);
    sinkWarning_ = choiceWarning;
    if (!selection.warning.empty()) {
        sinkWarning_ += (sinkWarning_.empty() ? "" : "\n\n") + selection.warning;
    }
}

BridgeSpec Shell::bridge(const std::string& globalName) {
    BridgeSpec spec;
    spec.globalName = globalName;
    spec.operations = TesselAppDelegate::pageOperations();
    // A page's call runs as an operation of its own, after the web view's handler has returned.
    spec.dispatch = [this](const std::string& op, const std::vector<ScriptValue>& args, BridgeAnswer answer) {
        if (!controller_) {
            answer(Problem{"padloom: the application is not ready yet"});
            return;
        }
        controller_->operations().post(
            [this, op, args, answer] { answer(controller_->callFromPage(op, args)); });
    };
    return spec;
}

PageHandlers Shell::pageHandlers() {
    PageHandlers handlers;
    handlers.alert = [this](const std::string& message, std::function<void()> done) {
        options_.dialogs->showAlertLater(message, std::move(done));
    };
    handlers.confirm = [this](const std::string& message, std::function<void(bool)> done) {
        options_.dialogs->confirmLater(message, std::move(done));
    };
    handlers.loaded = [this] {
        if (!controller_) {
            return;
        }
        controller_->operations().post([this] { controller_->webViewDocumentReady(); });
    };
    handlers.openLink = [this](const std::string& uri) { options_.desktop->openUri(uri); };
    return handlers;
}

namespace {

// The page in a place painted in the pages' background colour (--bg in theme.css): a window shown
// before its page has painted shows that colour where the page goes, not the theme's grey.
GtkWidget* pagePlace(GtkWidget* page) {
    GtkWidget* place = gtk_event_box_new();
    GtkCssProvider* colour = gtk_css_provider_new();
    gtk_css_provider_load_from_data(colour, "* { background-color: #1b1d22; }", -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(place), GTK_STYLE_PROVIDER(colour),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(colour);
    gtk_container_add(GTK_CONTAINER(place), page);
    return place;
}

} // namespace

void Shell::buildMainWindow() {
    mainWindow_ = GTK_WINDOW(gtk_window_new(GTK_WINDOW_TOPLEVEL));
    g_object_ref_sink(mainWindow_);
    gtk_window_set_title(mainWindow_, "Padloom");
    gtk_window_set_icon_name(mainWindow_, "padloom");
    gtk_window_set_default_size(mainWindow_, 460, 620);
    gtk_window_add_accel_group(mainWindow_, accelerators_);

    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_box_pack_start(GTK_BOX(box), menu_->bar(), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(box), pagePlace(mainPage_->widget()), TRUE, TRUE, 0);
    GtkWidget* label = gtk_label_new("");
    gtk_widget_set_name(label, "lblJoysticksConnected");
    gtk_widget_set_margin_top(label, 3);
    gtk_widget_set_margin_bottom(label, 3);
    gtk_box_pack_start(GTK_BOX(box), label, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(mainWindow_), box);
    gtk_widget_show_all(box);

    label_ = std::make_unique<GtkLabelAdapter>(GTK_LABEL(label));
    mainAdapter_ = std::make_unique<GtkWindowAdapter>(mainWindow_, [this] { return mainChromeExcess(); });
    g_signal_connect(mainWindow_, "delete-event", G_CALLBACK(Signals::mainDelete), this);
    g_signal_connect(mainWindow_, "key-press-event", G_CALLBACK(Signals::captureKey), this);
    g_signal_connect(mainWindow_, "key-release-event", G_CALLBACK(Signals::captureKey), this);
}

// The menu bar and label beside the page, against what the controller reckons for them when it
// fits the window; 0 while the window or its page has no size.
int Shell::mainChromeExcess() const {
    GtkWidget* content = gtk_bin_get_child(GTK_BIN(mainWindow_));
    GtkWidget* page = mainPage_ ? mainPage_->widget() : nullptr;
    if (content == nullptr || page == nullptr || gtk_widget_get_allocated_height(page) <= 1) {
        return 0;
    }
    return gtk_widget_get_allocated_height(content) - gtk_widget_get_allocated_height(page) -
           TesselAppDelegate::mainWindowChrome;
}

void Shell::buildConfigWindow() {
    configWindow_ = GTK_WINDOW(gtk_window_new(GTK_WINDOW_TOPLEVEL));
    g_object_ref_sink(configWindow_);
    gtk_window_set_title(configWindow_, _("Edit Preset"));
    gtk_window_set_icon_name(configWindow_, "padloom");
    gtk_window_set_default_size(configWindow_, 760, 640);
    gtk_window_add_accel_group(configWindow_, accelerators_);
    gtk_container_add(GTK_CONTAINER(configWindow_), configPage_->widget());
    gtk_widget_show(configPage_->widget());

    configAdapter_ = std::make_unique<GtkWindowAdapter>(configWindow_);
    g_signal_connect(configWindow_, "delete-event", G_CALLBACK(Signals::configDelete), this);
    g_signal_connect(configWindow_, "key-press-event", G_CALLBACK(Signals::captureKey), this);
    g_signal_connect(configWindow_, "key-release-event", G_CALLBACK(Signals::captureKey), this);
}

void Shell::start() {
    controller_->awakeFromNib();
    layOutHiddenMainWindow();
    controller_->applicationDidFinishLaunching();
    if (std::exchange(mainPageLoadedEarly_, false)) {
        fillMainPage();
    }
    controller_->focusFollowing().start(options_.focusMonitor, *mainLoop_);
    if (GdkScreen* screen = gdk_screen_get_default()) {
        monitorsChanged_ =
            g_signal_connect(screen, "monitors-changed", G_CALLBACK(Signals::monitorsChanged), this);
    }
    mainWindowWait_ = g_timeout_add(
        static_cast<guint>(options_.mainWindowWait.count()),
        [](gpointer shell) -> gboolean {
            static_cast<Shell*>(shell)->mainWindowWait_ = 0;
            static_cast<Shell*>(shell)->revealMainWindow();
            return G_SOURCE_REMOVE;
        },
        this);
}

void Shell::fillMainPage() {
    controller_->operations().post([this] {
        controller_->webViewDocumentReady();
        if (controller_->mainPageFills() > 0 && !mainWindowRevealed_) {
            mainPage_->takePicture();
            revealMainWindow();
        }
    });
}

// The window gets its size, and so the page its width, without being shown: the page is laid out
// and filled as it will be seen, and the window is shown once, at its fitted height.
void Shell::layOutHiddenMainWindow() {
    GtkWidget* window = GTK_WIDGET(mainWindow_);
    GtkAllocation size{0, 0, 0, 0};
    gtk_window_get_default_size(mainWindow_, &size.width, &size.height);
    int natural = 0; // GTK wants a size request before an allocation
    gtk_widget_get_preferred_width(window, nullptr, &natural);
    gtk_widget_get_preferred_height(window, nullptr, &natural);
    gtk_widget_realize(window);
    gtk_widget_size_allocate(window, &size);
}

// The start-up's warnings follow the window, without blocking, over it.
void Shell::revealMainWindow() {
    if (std::exchange(mainWindowRevealed_, true)) {
        return;
    }
    if (mainWindowWait_ != 0) {
        g_source_remove(std::exchange(mainWindowWait_, 0));
    }
    gtk_widget_show(GTK_WIDGET(mainWindow_));
    for (const std::string* warning : {&settingsWarning_, &sinkWarning_}) {
        if (!warning->empty()) {
            options_.dialogs->showAlertLater(*warning, [] {});
        }
    }
}

// With the editor open, its page stays (and the main page, whose web process it shares) until
// the editor is closed.
void Shell::hideToTray() {
    gtk_widget_hide(GTK_WIDGET(mainWindow_));
    if (!gtk_widget_get_visible(GTK_WIDGET(configWindow_))) {
        releasePages();
    }
}

void Shell::showMainWindow() {
    if (mainPage_->released()) {
        mainPage_->restore();
        configPage_->restore();
    }
    revealMainWindow();
    gtk_window_present(mainWindow_);
}

// Both views go, then the web context, which ends WebKit's processes.
void Shell::releasePages() {
    configPage_->release();
    mainPage_->release();
    releaseAppWebContext();
}

void Shell::terminate() {
    controller_->operations().run([this] {
        if (!terminating_ && controller_->applicationShouldTerminate()) {
            quitNow();
        }
    });
}

// An operation in progress may be waiting for a panel or a capture: both are ended first, so
// that it returns and the quit can follow.
void Shell::terminateNow() {
    if (controller_->operations().busy()) {
        controller_->escapeCapture();
        if (auto* dialogs = dynamic_cast<GtkDialogs*>(options_.dialogs)) {
            dialogs->dismissAll();
        }
    }
    controller_->operations().run([this] { quitNow(); });
}

void Shell::quitNow() {
    if (terminating_) {
        return;
    }
    terminating_ = true;
    controller_->focusFollowing().stop();
    controller_->applicationWillTerminate();
    options_.quit();
    // A panel left open would keep its own loop, and so the process, running.
    if (auto* dialogs = dynamic_cast<GtkDialogs*>(options_.dialogs)) {
        dialogs->dismissAll();
    }
}

} // namespace padloom
