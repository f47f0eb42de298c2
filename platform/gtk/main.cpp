// padloom: the desktop application. One instance per session; starting it again brings the main
// window to the front.
#include "platform/gtk/i18n.h"
#include "platform/gtk/resource_locator.h"
#include "platform/gtk/shell.h"
#include "platform/gtk/web_sandbox.h"

#include <cstdio>
#include <glib-unix.h>
#include <gtk/gtk.h>
#include <memory>

namespace {

struct App {
    GtkApplication* application = nullptr;
    std::unique_ptr<padloom::Shell> shell;
};

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
    app->shell = std::make_unique<padloom::Shell>(std::move(options));
    gtk_application_add_window(application, app->shell->mainWindow());
    gtk_application_add_window(application, app->shell->configWindow());
    app->shell->start();
}

} // namespace

int main(int argc, char** argv) {
    padloom::initTranslations();
    g_set_prgname("padloom");
    g_set_application_name("Padloom");
    if (!displayReachable()) {
        return 1;
    }

    App app;
    app.application = gtk_application_new("io.github.padloom.Padloom", G_APPLICATION_DEFAULT_FLAGS);
    g_signal_connect(app.application, "activate", G_CALLBACK(onActivate), &app);
    g_unix_signal_add(SIGINT, onSignal, &app);
    g_unix_signal_add(SIGTERM, onSignal, &app);
    int status = g_application_run(G_APPLICATION(app.application), argc, argv);
    app.shell.reset();
    g_object_unref(app.application);
    return status;
}
