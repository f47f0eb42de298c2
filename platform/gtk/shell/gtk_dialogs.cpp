// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/shell/gtk_dialogs.h"

#include "app/pages/shown_text.h"

#include "platform/gtk/shell/dialog_text.h"
#include "platform/gtk/shell/i18n.h"

#include <algorithm>
#include <gtk/gtk.h>

namespace padloom {

namespace {

// Quoted names longer than this are shortened in the middle.
constexpr size_t maxQuotedChars = 48;
// Characters per line of a panel's text; with the panel's margins this stays within maxWidth.
constexpr int maxLineChars = 56;

// The message is passed as an argument of "%s", never as the format or as markup, so any text
// (percent signs, angle brackets) appears as it is.
GtkWidget* messageDialog(GtkWindow* parent, GtkMessageType type, GtkButtonsType buttons, const char* text) {
    return gtk_message_dialog_new(parent, GtkDialogFlags(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
                                  type, buttons, "%s", text);
}

// Long words (a path, a name without spaces) break between characters, so no text makes a
// panel wider than the screen.
void wrapText(GtkWidget* dialog) {
    GtkWidget* area = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(dialog));
    GList* children = gtk_container_get_children(GTK_CONTAINER(area));
    for (GList* child = children; child != nullptr; child = child->next) {
        if (GTK_IS_LABEL(child->data)) {
            gtk_label_set_line_wrap(GTK_LABEL(child->data), TRUE);
            gtk_label_set_line_wrap_mode(GTK_LABEL(child->data), PANGO_WRAP_WORD_CHAR);
            gtk_label_set_max_width_chars(GTK_LABEL(child->data), maxLineChars);
        }
    }
    g_list_free(children);
}

// The window a panel opens over and the widget that had its focus (in a web view, the view
// keeps its own focused element), given back the focus when the panel closes. Either may be
// destroyed meanwhile.
class FocusReturn {
public:
    explicit FocusReturn(GtkWindow* window) : window_(window) {
        if (window_) {
            g_object_add_weak_pointer(G_OBJECT(window_), reinterpret_cast<gpointer*>(&window_));
            focus_ = gtk_window_get_focus(window_);
        }
        if (focus_) {
            g_object_add_weak_pointer(G_OBJECT(focus_), reinterpret_cast<gpointer*>(&focus_));
        }
    }
    ~FocusReturn() {
        if (focus_) {
            g_object_remove_weak_pointer(G_OBJECT(focus_), reinterpret_cast<gpointer*>(&focus_));
        }
        if (window_) {
            g_object_remove_weak_pointer(G_OBJECT(window_), reinterpret_cast<gpointer*>(&window_));
        }
    }
    FocusReturn(const FocusReturn&) = delete;
    FocusReturn& operator=(const FocusReturn&) = delete;

    void giveBack() {
        if (!window_ || !gtk_widget_get_visible(GTK_WIDGET(window_))) {
            return;
        }
        gtk_window_present(window_);
        if (focus_ && gtk_widget_get_toplevel(focus_) == GTK_WIDGET(window_)) {
            gtk_widget_grab_focus(focus_);
        }
    }

private:
    GtkWindow* window_;
    GtkWidget* focus_ = nullptr;
};

struct OpenPanel {
    std::vector<GtkWidget*>* running;
    std::function<void(int)> answered;
    FocusReturn focus;

    static void response(GtkDialog* dialog, int response, gpointer data) {
        auto* panel = static_cast<OpenPanel*>(data);
        std::erase(*panel->running, GTK_WIDGET(dialog));
        std::function<void(int)> answered = std::move(panel->answered);
        panel->focus.giveBack();
        gtk_widget_destroy(GTK_WIDGET(dialog)); // frees panel
        if (answered) {
            answered(response);
        }
    }
};

} // namespace

GtkDialogs::~GtkDialogs() {
    for (GtkWidget* dialog : std::vector<GtkWidget*>(running_)) {
        gtk_widget_destroy(dialog);
    }
}

// Messages name presets and files, whose texts need not be UTF-8; GTK takes only UTF-8.
GtkWidget* GtkDialogs::alertPanel(const std::string& message) {
    const std::string text = shortenQuotedParts(validUtf8(message), maxQuotedChars);
    GtkWidget* dialog = messageDialog(parent(), GTK_MESSAGE_INFO, GTK_BUTTONS_OK, text.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), "Padloom");
    wrapText(dialog);
    return dialog;
}

GtkWidget* GtkDialogs::confirmPanel(const std::string& message) {
    const char* title = _("Please Confirm");
    GtkWidget* dialog = messageDialog(parent(), GTK_MESSAGE_QUESTION, GTK_BUTTONS_NONE, title);
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s",
                                             shortenQuotedParts(validUtf8(message), maxQuotedChars).c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), title);
    gtk_dialog_add_button(GTK_DIALOG(dialog), _("No"), GTK_RESPONSE_NO);
    gtk_dialog_add_button(GTK_DIALOG(dialog), _("Yes"), GTK_RESPONSE_YES);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_YES);
    wrapText(dialog);
    return dialog;
}

void GtkDialogs::showAlert(const std::string& message) {
    run(alertPanel(message));
}

bool GtkDialogs::confirm(const std::string& message) {
    return run(confirmPanel(message)) == GTK_RESPONSE_YES;
}

void GtkDialogs::showAlertLater(const std::string& message, std::function<void()> dismissed) {
    open(alertPanel(message), [dismissed = std::move(dismissed)](int) { dismissed(); });
}

void GtkDialogs::confirmLater(const std::string& message, std::function<void(bool)> answered) {
    open(confirmPanel(message),
         [answered = std::move(answered)](int response) { answered(response == GTK_RESPONSE_YES); });
}

GtkWindow* GtkDialogs::parent() const {
    GtkWindow* shown = nullptr;
    for (GtkWindow* window : windows_) {
        if (!gtk_widget_get_visible(GTK_WIDGET(window))) {
            continue;
        }
        if (gtk_window_is_active(window)) {
            return window;
        }
        if (!shown) {
            shown = window;
        }
    }
    return shown;
}

int GtkDialogs::run(GtkWidget* dialog) {
    FocusReturn focus(gtk_window_get_transient_for(GTK_WINDOW(dialog)));
    running_.push_back(dialog);
    int response = gtk_dialog_run(GTK_DIALOG(dialog));
    std::erase(running_, dialog);
    gtk_widget_destroy(dialog);
    focus.giveBack();
    return response;
}

void GtkDialogs::open(GtkWidget* dialog, std::function<void(int)> answered) {
    running_.push_back(dialog);
    g_signal_connect_data(
        dialog, "response", G_CALLBACK(OpenPanel::response),
        new OpenPanel{&running_, std::move(answered),
                      FocusReturn(gtk_window_get_transient_for(GTK_WINDOW(dialog)))},
        [](gpointer data, GClosure*) { delete static_cast<OpenPanel*>(data); }, GConnectFlags(0));
    gtk_window_present(GTK_WINDOW(dialog));
}

void GtkDialogs::dismissAll() {
    const std::vector<GtkWidget*> open = running_;
    for (GtkWidget* dialog : open) {
        gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_DELETE_EVENT);
    }
}

} // namespace padloom
