#include "platform/gtk/desktop/remote_actions.h"

#include "app/controller/tessel_app_delegate.h"
#include "app/pages/shown_text.h"

#include <gio/gio.h>

namespace padloom {
namespace {

constexpr char startingText[] = "Padloom is still starting; try again in a moment.";

} // namespace

struct RemoteActions::Signals {
    static void activate(GSimpleAction*, GVariant* parameter, gpointer data) {
        auto* self = static_cast<RemoteActions*>(data);
        const char* name = g_variant_get_string(parameter, nullptr);
        self->answer(self->control_ ? self->control_->activate(name) : startingText);
    }
    static void deactivate(GSimpleAction*, GVariant*, gpointer data) {
        auto* self = static_cast<RemoteActions*>(data);
        self->answer(self->control_ ? self->control_->deactivate() : startingText);
    }
    // The state is the app's to tell, not a caller's to set.
    static void refuseChange(GSimpleAction*, GVariant*, gpointer) {}
};

RemoteActions::RemoteActions(GApplication* application)
    : application_(application), activate_(g_simple_action_new("activate", G_VARIANT_TYPE_STRING)),
      deactivate_(g_simple_action_new("deactivate", nullptr)),
      status_(g_simple_action_new_stateful("status", nullptr, g_variant_new("(ss)", "", ""))) {
    g_signal_connect(activate_, "activate", G_CALLBACK(Signals::activate), this);
    g_signal_connect(deactivate_, "activate", G_CALLBACK(Signals::deactivate), this);
    g_signal_connect(status_, "change-state", G_CALLBACK(Signals::refuseChange), this);
    for (GSimpleAction* action : {activate_, deactivate_, status_}) {
        g_action_map_add_action(G_ACTION_MAP(application_), G_ACTION(action));
    }
}

RemoteActions::~RemoteActions() {
    attach(nullptr);
    for (GSimpleAction* action : {activate_, deactivate_, status_}) {
        g_action_map_remove_action(G_ACTION_MAP(application_), g_action_get_name(G_ACTION(action)));
        g_signal_handlers_disconnect_by_data(action, this);
        g_object_unref(action);
    }
}

void RemoteActions::attach(TesselAppDelegate* controller) {
    if (controller_) {
        controller_->runner.setChangeListener(this, {});
    }
    controller_ = controller;
    control_ = controller ? std::make_unique<RemoteControl>(*controller) : nullptr;
    if (controller_) {
        controller_->runner.setChangeListener(this, [this] { publish(); });
    }
    publish();
}

void RemoteActions::answer(std::string problem) {
    lastAnswer_ = std::move(problem);
    publish();
}

void RemoteActions::publish() {
    const std::string file = control_ ? control_->activePresetFile() : std::string();
    // D-Bus carries UTF-8 only; file names and the names in answers need not be.
    g_simple_action_set_state(status_,
                              g_variant_new("(ss)", validUtf8(file).c_str(), validUtf8(lastAnswer_).c_str()));
}

} // namespace padloom
