#include "platform/gtk/gtk_dialogs.h"

#include "platform/gtk/i18n.h"

#include <gtk/gtk.h>

namespace padloom {

namespace {

// The message is passed as an argument of "%s", never as the format or as markup, so any text
// (percent signs, angle brackets) appears as it is.
GtkWidget* messageDialog(GtkWindow* parent, GtkMessageType type, GtkButtonsType buttons, const char* text) {
    return gtk_message_dialog_new(parent, GtkDialogFlags(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
                                  type, buttons, "%s", text);
}

} // namespace

void GtkDialogs::showAlert(const std::string& message) {
    GtkWidget* dialog = messageDialog(parent(), GTK_MESSAGE_INFO, GTK_BUTTONS_OK, message.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), "Padloom");
    run(dialog);
}

bool GtkDialogs::confirm(const std::string& message) {
    const char* title = _("Please Confirm");
    GtkWidget* dialog = messageDialog(parent(), GTK_MESSAGE_QUESTION, GTK_BUTTONS_NONE, title);
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s", message.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), title);
    gtk_dialog_add_button(GTK_DIALOG(dialog), _("No"), GTK_RESPONSE_NO);
    gtk_dialog_add_button(GTK_DIALOG(dialog), _("Yes"), GTK_RESPONSE_YES);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_YES);
    return run(dialog) == GTK_RESPONSE_YES;
}

GtkWindow* GtkDialogs::parent() const {
    GtkWindow* shown = nullptr;
    for (GtkWindow* window : windows_) {
        if (!gtk_widget_get_visible(GTK_WIDGET(window)))
            continue;
        if (gtk_window_is_active(window))
            return window;
        if (!shown)
            shown = window;
    }
    return shown;
}

int GtkDialogs::run(GtkWidget* dialog) {
    running_.push_back(dialog);
    int response = gtk_dialog_run(GTK_DIALOG(dialog));
    std::erase(running_, dialog);
    gtk_widget_destroy(dialog);
    return response;
}

void GtkDialogs::dismissAll() {
    for (GtkWidget* dialog : running_)
        gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_DELETE_EVENT);
}

} // namespace padloom
