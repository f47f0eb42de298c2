// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/web/web_page.h"

#include "platform/gtk/web/script_values.h"
#include "platform/gtk/web/web_context.h"

#include <chrono>
#include <gtk/gtk.h>
#include <memory>
#include <utility>
#include <webkit2/webkit2.h>

namespace padloom {

namespace {

// One evaluation in flight. The completion callback may arrive after the caller gave up waiting,
// so the state is shared between the two and freed by whichever lets go last.
struct Evaluation {
    bool done = false;
    ScriptValue value;
};

// The time limit of one wait in a nested main loop. The timer is removed when the wait ends
// sooner, so it never writes past the deadline's life.
class Deadline {
public:
    explicit Deadline(std::chrono::milliseconds limit)
        : timer_(g_timeout_add(
              static_cast<guint>(limit.count()),
              [](gpointer passed) -> gboolean {
                  *static_cast<bool*>(passed) = true;
                  return G_SOURCE_REMOVE;
              },
              &passed_)) {}
    ~Deadline() {
        if (!passed_) {
            g_source_remove(timer_);
        }
    }
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

    // Serves the main loop until done() holds or the time has run out; false when it ran out.
    template <class Done> bool serveUntil(Done done) {
        while (!done() && !passed_) {
            g_main_context_iteration(nullptr, TRUE);
        }
        return !passed_;
    }
    bool passed() const { return passed_; }

private:
    bool passed_ = false;
    guint timer_;
};

void onEvaluated(GObject* source, GAsyncResult* result, gpointer userData) {
    std::unique_ptr<std::shared_ptr<Evaluation>> evaluation(
        static_cast<std::shared_ptr<Evaluation>*>(userData));
    GError* error = nullptr;
    JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
    if (value) {
        (*evaluation)->value = scriptValueFromScript(value);
        g_object_unref(value);
    }
    g_clear_error(&error);
    (*evaluation)->done = true;
}

std::string withoutFragment(const std::string& uri) {
    return uri.substr(0, uri.find('#'));
}

} // namespace

struct WebPageSignals {
    static gboolean scriptDialog(WebKitWebView*, WebKitScriptDialog* dialog, gpointer userData) {
        auto* page = static_cast<WebPage*>(userData);
        const char* text = webkit_script_dialog_get_message(dialog);
        const std::string message = text ? text : "";
        switch (webkit_script_dialog_get_dialog_type(dialog)) {
        case WEBKIT_SCRIPT_DIALOG_ALERT:
            webkit_script_dialog_ref(dialog);
            page->handlers_.alert(message, [dialog] { answerScriptDialog(dialog); });
            return TRUE;
        case WEBKIT_SCRIPT_DIALOG_CONFIRM:
            webkit_script_dialog_ref(dialog);
            page->handlers_.confirm(message, [dialog](bool yes) {
                webkit_script_dialog_confirm_set_confirmed(dialog, yes);
                answerScriptDialog(dialog);
            });
            return TRUE;
        case WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM:
            webkit_script_dialog_confirm_set_confirmed(dialog, TRUE);
            return TRUE;
        default:
            return FALSE; // prompt: WebKit's own dialog
        }
    }

    // The page's script goes on from its alert() or confirm(). Closing also drops the reference
    // taken when the dialog was handed on; it happens from the main loop, never inside the
    // signal handler (WebKit then drops its own reference too early).
    static void answerScriptDialog(WebKitScriptDialog* dialog) {
        g_idle_add(
            [](gpointer data) -> gboolean {
                webkit_script_dialog_close(static_cast<WebKitScriptDialog*>(data));
                return G_SOURCE_REMOVE;
            },
            dialog);
    }

    // A page process that crashed or was killed leaves a blank view until the page is loaded anew.
    static void processTerminated(WebKitWebView*, WebKitWebProcessTerminationReason reason,
                                  gpointer userData) {
        auto* page = static_cast<WebPage*>(userData);
        page->loading_ = false; // the load ends with its process
        if (reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API) {
            return;
        }
        g_printerr("padloom: the process of %s ended unexpectedly\n", page->pageUri_.c_str());
        if (!page->countProcessEnd(std::chrono::steady_clock::now())) {
            g_printerr("padloom: it ended %d times within %lld s; the page is not loaded again\n",
                       WebPage::processEndsToGiveUp,
                       static_cast<long long>(WebPage::processEndWindow.count()));
            return;
        }
        if (page->handlers_.processEnded) {
            page->handlers_.processEnded();
        }
    }

    static void close(WebKitWebView*, gpointer userData) {
        auto* page = static_cast<WebPage*>(userData);
        if (page->handlers_.closeRequested) {
            page->handlers_.closeRequested();
        }
    }

    // Drawn before the view's own drawing, which covers it once the page's process has drawn
    // (the pages' background is opaque).
    static gboolean drawPicture(GtkWidget*, cairo_t* cairo, gpointer userData) {
        auto* page = static_cast<WebPage*>(userData);
        if (page->picture_ != nullptr) {
            cairo_set_source_surface(cairo, page->picture_, 0, 0);
            cairo_paint(cairo);
        }
        return FALSE;
    }

    static gboolean contextMenu(WebKitWebView*, WebKitContextMenu*, GdkEvent*, WebKitHitTestResult*,
                                gpointer) {
        return TRUE;
    }

    static void loadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer userData) {
        auto* page = static_cast<WebPage*>(userData);
        if (event == WEBKIT_LOAD_STARTED) {
            page->loading_ = true;
        }
        if (event != WEBKIT_LOAD_FINISHED) {
            return;
        }
        page->loading_ = false;
        if (page->handlers_.loaded) {
            page->handlers_.loaded();
        }
    }

    // The view shows its own page and nothing else: links that lead elsewhere go to the desktop's
    // handler, and whatever else would replace the page (a dropped file, a script) is refused.
    static gboolean decidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                 WebKitPolicyDecisionType type, gpointer userData) {
        auto* page = static_cast<WebPage*>(userData);
        if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
            return FALSE;
        }
        WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
            WEBKIT_NAVIGATION_POLICY_DECISION(decision));
        WebKitURIRequest* request = webkit_navigation_action_get_request(action);
        std::string uri = webkit_uri_request_get_uri(request);
        bool samePage = withoutFragment(uri) == withoutFragment(page->pageUri_) || uri == "about:blank";
        if (type == WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION && samePage) {
            webkit_policy_decision_use(decision);
            return TRUE;
        }
        bool clicked =
            webkit_navigation_action_get_navigation_type(action) == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED;
        if (clicked && page->handlers_.openLink) {
            page->handlers_.openLink(uri);
        }
        webkit_policy_decision_ignore(decision);
        return TRUE;
    }
};

WebPage::WebPage(BridgeSpec bridge, PageHandlers handlers, WebPage* relatedTo)
    : bridge_(std::move(bridge)), handlers_(std::move(handlers)), relatedTo_(relatedTo) {
    createView();
}

WebPage::~WebPage() {
    destroyView();
}

void WebPage::createView() {
    WebKitUserContentManager* content = webkit_user_content_manager_new();
    installScriptBridge(content, bridge_);
    // The pages are plain documents: drawn without the GPU (no GL context in the web process),
    // without WebGL, media or the back-forward cache.
    WebKitSettings* settings = WEBKIT_SETTINGS(g_object_new(
        WEBKIT_TYPE_SETTINGS, "hardware-acceleration-policy", WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER,
        "enable-webgl", FALSE, "enable-media", FALSE, "enable-page-cache", FALSE, nullptr));
    if (relatedTo_ != nullptr && relatedTo_->view_ != nullptr) {
        view_ =
            WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "user-content-manager", content, "settings",
                                         settings, "related-view", relatedTo_->view_, nullptr));
    } else {
        view_ = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "user-content-manager", content,
                                             "settings", settings, "web-context", appWebContext(), nullptr));
    }
    g_object_unref(settings);
    g_object_unref(content);
    g_object_ref_sink(view_);

    GdkRGBA clear = {0, 0, 0, 0};
    webkit_web_view_set_background_color(view_, &clear);
    gtk_drag_dest_unset(GTK_WIDGET(view_));

    g_signal_connect(view_, "script-dialog", G_CALLBACK(WebPageSignals::scriptDialog), this);
    g_signal_connect(view_, "context-menu", G_CALLBACK(WebPageSignals::contextMenu), this);
    g_signal_connect(view_, "load-changed", G_CALLBACK(WebPageSignals::loadChanged), this);
    g_signal_connect(view_, "decide-policy", G_CALLBACK(WebPageSignals::decidePolicy), this);
    g_signal_connect(view_, "web-process-terminated", G_CALLBACK(WebPageSignals::processTerminated), this);
    g_signal_connect(view_, "close", G_CALLBACK(WebPageSignals::close), this);
    g_signal_connect(view_, "draw", G_CALLBACK(WebPageSignals::drawPicture), this);
}

void WebPage::destroyView() {
    dropPicture();
    if (view_ == nullptr) {
        return;
    }
    g_signal_handlers_disconnect_by_data(view_, this);
    g_object_unref(view_);
    view_ = nullptr;
    loading_ = false;
}

// The view leaves its container; restore puts a new one in its place, packed the same way.
void WebPage::release() {
    if (view_ == nullptr) {
        return;
    }
    GtkWidget* widget = GTK_WIDGET(view_);
    parent_ = gtk_widget_get_parent(widget);
    if (parent_ != nullptr) {
        if (GTK_IS_BOX(parent_)) {
            gtk_container_child_get(GTK_CONTAINER(parent_), widget, "position", &position_, nullptr);
        }
        gtk_container_remove(GTK_CONTAINER(parent_), widget);
    }
    destroyView();
}

void WebPage::restore() {
    if (view_ != nullptr) {
        return;
    }
    processEnds_.clear();
    createView();
    GtkWidget* widget = GTK_WIDGET(view_);
    if (parent_ != nullptr) {
        if (GTK_IS_BOX(parent_)) {
            gtk_box_pack_start(GTK_BOX(parent_), widget, TRUE, TRUE, 0);
            gtk_box_reorder_child(GTK_BOX(parent_), widget, position_);
        } else {
            gtk_container_add(GTK_CONTAINER(parent_), widget);
        }
    }
    gtk_widget_show(widget);
    reload();
}

bool WebPage::countProcessEnd(std::chrono::steady_clock::time_point now) {
    while (!processEnds_.empty() && now - processEnds_.front() >= processEndWindow) {
        processEnds_.pop_front();
    }
    processEnds_.push_back(now);
    return processEnds_.size() < static_cast<size_t>(processEndsToGiveUp);
}

GtkWidget* WebPage::widget() const {
    return GTK_WIDGET(view_);
}

void WebPage::loadFile(const std::string& path) {
    char* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    pageUri_ = uri ? uri : "";
    g_free(uri);
    reload();
}

void WebPage::reload() {
    if (view_ != nullptr && !pageUri_.empty()) {
        webkit_web_view_load_uri(view_, pageUri_.c_str());
        loading_ = true;
    }
}

namespace {

// The view draws the page itself within a few frames of being shown; the picture goes a while
// after that, also when the window was not shown meanwhile.
constexpr guint pictureSeconds = 5;

} // namespace

void WebPage::takePicture() {
    if (view_ == nullptr) {
        return;
    }
    struct Request {
        bool done = false;
        cairo_surface_t* picture = nullptr;
    };
    auto request = std::make_shared<Request>();
    GCancellable* cancellable = g_cancellable_new();
    WebKitWebView* view = view_;
    webkit_web_view_get_snapshot(
        view, WEBKIT_SNAPSHOT_REGION_VISIBLE, WEBKIT_SNAPSHOT_OPTIONS_NONE, cancellable,
        [](GObject* source, GAsyncResult* result, gpointer data) {
            std::unique_ptr<std::shared_ptr<Request>> request(static_cast<std::shared_ptr<Request>*>(data));
            (*request)->picture =
                webkit_web_view_get_snapshot_finish(WEBKIT_WEB_VIEW(source), result, nullptr);
            (*request)->done = true;
        },
        new std::shared_ptr<Request>(request));
    Deadline(timeLimit_).serveUntil([&] { return request->done; });
    g_cancellable_cancel(cancellable);
    g_object_unref(cancellable);
    if (request->picture == nullptr) {
        return;
    }
    if (view != view_) { // released meanwhile
        cairo_surface_destroy(request->picture);
        return;
    }
    dropPicture();
    picture_ = request->picture;
    pictureExpiry_ = g_timeout_add_seconds(
        pictureSeconds,
        [](gpointer page) -> gboolean {
            static_cast<WebPage*>(page)->pictureExpiry_ = 0;
            static_cast<WebPage*>(page)->dropPicture();
            return G_SOURCE_REMOVE;
        },
        this);
}

void WebPage::dropPicture() {
    if (pictureExpiry_ != 0) {
        g_source_remove(std::exchange(pictureExpiry_, 0));
    }
    if (picture_ != nullptr) {
        cairo_surface_destroy(std::exchange(picture_, nullptr));
    }
}

ScriptValue WebPage::evaluate(const std::string& script) {
    if (view_ == nullptr) {
        return ScriptValue();
    }
    auto evaluation = std::make_shared<Evaluation>();
    GCancellable* cancellable = g_cancellable_new();
    Deadline deadline(timeLimit_);
    // A script meant for the page waits for the page: during a load it would run in the document
    // being replaced.
    deadline.serveUntil([this] { return !loading_; });
    if (view_ == nullptr) {
        evaluation->done = true; // released meanwhile: undefined
    } else if (!deadline.passed()) {
        webkit_web_view_evaluate_javascript(view_, script.c_str(), static_cast<gssize>(script.size()),
                                            nullptr, nullptr, cancellable, onEvaluated,
                                            new std::shared_ptr<Evaluation>(evaluation));
    }
    if (!deadline.serveUntil([&] { return evaluation->done; })) {
        g_cancellable_cancel(cancellable);
    }
    g_object_unref(cancellable);
    return evaluation->done ? evaluation->value : ScriptValue();
}

} // namespace padloom
