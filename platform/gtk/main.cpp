// SPDX-License-Identifier: GPL-3.0-or-later
// padloom: the desktop application. One instance per session; starting it again brings the main
// window to the front, and `padloom --activate NAME` switches a preset on in the running one (or
// starts the app and switches it on once the preset list is shown).
#include "app/pages/shown_text.h"
#include "app/running/stop_signals.h"
#include "platform/gtk/desktop/remote_actions.h"
#include "platform/gtk/desktop/remote_client.h"
#include "platform/gtk/shell/i18n.h"
#include "platform/gtk/shell/resource_locator.h"
#include "platform/gtk/shell/shell.h"
#include "platform/gtk/started_hook.h"
#include "platform/gtk/web/software_drawing.h"
#include "platform/gtk/web/web_context.h"
#include "platform/gtk/web/web_sandbox.h"

#include <cstdio>
#include <glib-unix.h>
#include <gtk/gtk.h>
#include <memory>
#include <string>

namespace {

struct App {
    GtkApplication* application = nullptr;
    std::unique_ptr<padloom::Shell> shell;
    std::unique_ptr<padloom::RemoteActions> remote;
    std::string activateWhenReady; // --activate NAME given to the first instance
};

// Each stop signal quits as the menu's Quit does once asked, releasing what the pads hold and
// saving an open edit. One that was ignored at start (nohup) stays ignored.
gboolean onSignal(gpointer data) {
    auto* app = static_cast<App*>(data);
    if (app->shell) {
        app->shell->terminateNow();
    } else {
        g_application_quit(G_APPLICATION(app->application));
    }
    return G_SOURCE_CONTINUE;
}

void showMissingResources(GtkApplication* application) {
    GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR, GTK_BUTTONS_OK,
                                               "%s", _("Padloom cannot find its pages."));
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog),
                                             _("Looked beside the program and in %s."), PADLOOM_DATA_DIR);
    gtk_application_add_window(application, GTK_WINDOW(dialog));
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
}

bool isSet(const char* name) {
    const char* value = g_getenv(name);
    return value != nullptr && *value != '\0';
}

// GTK alone would only say "cannot open display".
bool displayReachable() {
    if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) {
        std::fprintf(
            stderr, "%s\n",
            _("Padloom needs a desktop session (no DISPLAY or WAYLAND_DISPLAY is set); try padloomctl "
              "for the command line."));
        return false;
    }
    if (!gtk_init_check(nullptr, nullptr)) {
        const char* display = isSet("DISPLAY") ? g_getenv("DISPLAY") : g_getenv("WAYLAND_DISPLAY");
        std::fprintf(stderr, _("Padloom cannot open the display %s; try padloomctl for the command line.\n"),
                     display);
        return false;
    }
    return true;
}

void quitOnStopSignals(App& app) {
    for (int signal : padloom::stopSignalNumbers) {
        if (!padloom::signalIgnored(signal)) {
            g_unix_signal_add(signal, onSignal, &app);
        }
    }
}

// --version needs no display. --activate NAME: a running instance does it and this process
// reports the outcome; otherwise this process becomes the app and does it once the preset list
// is shown.
gint onLocalOptions(GApplication* application, GVariantDict* options, gpointer data) {
    if (g_variant_dict_contains(options, "version")) {
        std::printf("padloom %s\n", PADLOOM_VERSION);
        return 0;
    }
    if (!displayReachable()) {
        return 1;
    }
    auto* app = static_cast<App*>(data);
    app->remote = std::make_unique<padloom::RemoteActions>(application);
    const char* name = nullptr;
    if (!g_variant_dict_lookup(options, "activate", "&s", &name)) {
        return -1;
    }
    GError* error = nullptr;
    if (!g_application_register(application, nullptr, &error)) {
        std::fprintf(stderr, "padloom: %s\n", error->message);
        g_error_free(error);
        return 1;
    }
    if (!g_application_get_is_remote(application)) {
        app->activateWhenReady = name;
        return -1;
    }
    const padloom::remote::Reply reply = padloom::remote::activate(name);
    if (!reply.done) {
        std::fprintf(stderr, "padloom: %s\n", padloom::terminalText(reply.done.problem(), true).c_str());
    }
    return reply.done ? 0 : 1;
}

// The main window shows a failure too; a terminal that started the app hears of it here.
void reportProblem(const padloom::RemoteAnswer& answer) {
    if (!answer.done) {
        std::fprintf(stderr, "padloom: %s\n", padloom::terminalText(answer.done.problem(), true).c_str());
    }
}

void onActivate(GtkApplication* application, gpointer data) {
    auto* app = static_cast<App*>(data);
    if (app->shell) {
        gtk_window_present(app->shell->mainWindow());
        return;
    }
    std::string resources = padloom::findResourceDir();
    if (resources.empty()) {
        std::fprintf(stderr, "padloom: no resources beside the program nor in %s\n", PADLOOM_DATA_DIR);
        showMissingResources(application);
        return;
    }
    padloom::configureWebSandbox(resources);

    padloom::ShellOptions options;
    options.resourceDir = resources;
    options.productSite = PADLOOM_PRODUCT_SITE;
    options.makerSite = PADLOOM_MAKER_SITE;
    options.quit = [application] { g_application_quit(G_APPLICATION(application)); };
    options.bus = g_application_get_dbus_connection(G_APPLICATION(application));
    if (const char* path = g_application_get_dbus_object_path(G_APPLICATION(application))) {
        options.busObjectPath = path;
    }
    app->shell = std::make_unique<padloom::Shell>(std::move(options));
    gtk_application_add_window(application, app->shell->mainWindow());
    gtk_application_add_window(application, app->shell->configWindow());
    app->shell->start();
    app->remote->attach(&app->shell->controller().switching());
    if (!app->activateWhenReady.empty()) {
        // Waits, as a request of another process does, until the preset list is shown.
        app->remote->requests().activate(app->activateWhenReady, reportProblem);
    }
    padloom::shellStarted(*app->shell);
}

} // namespace

int main(int argc, char** argv) {
    padloom::initTranslations();
    g_set_prgname("padloom");
    g_set_application_name("Padloom");
    padloom::drawWithoutGpu();
    padloom::keepWebKitLight();

    App app;
    app.application = gtk_application_new(padloom::remote::applicationId, G_APPLICATION_DEFAULT_FLAGS);
    g_application_add_main_option(G_APPLICATION(app.application), "activate", 0, G_OPTION_FLAG_NONE,
                                  G_OPTION_ARG_STRING,
                                  _("Switch on the preset of this file name or preset name"), _("NAME"));
    g_application_add_main_option(G_APPLICATION(app.application), "version", 0, G_OPTION_FLAG_NONE,
                                  G_OPTION_ARG_NONE, _("Show the version and exit"), nullptr);
    g_signal_connect(app.application, "handle-local-options", G_CALLBACK(onLocalOptions), &app);
    g_signal_connect(app.application, "activate", G_CALLBACK(onActivate), &app);
    quitOnStopSignals(app);
    int status = g_application_run(G_APPLICATION(app.application), argc, argv);
    if (app.remote) {
        app.remote->attach(nullptr);
    }
    app.shell.reset();
    app.remote.reset();
    g_object_unref(app.application);
    return status;
}
