// SPDX-License-Identifier: GPL-3.0-or-later
// A page of the application in a WebKit web view: the view itself, the script bridge global that
// the page reaches the controller through, script evaluation with a time limit, and the view's
// answers to alerts, confirms, context menus, drops and navigation.
#pragma once

#include "app/ui/script_page.h"
#include "platform/gtk/web/script_bridge.h"

#include <chrono>
#include <deque>
#include <functional>
#include <string>

typedef struct _GtkWidget GtkWidget;
typedef struct _WebKitWebView WebKitWebView;
typedef struct _cairo_surface cairo_surface_t;

namespace padloom {

// The page's alert() and confirm() wait for their answer while the handler returns at once (no
// panel runs inside the web view's signal): the handler calls done with the answer later.
struct PageHandlers {
    std::function<void(const std::string&, std::function<void()> done)> alert;
    std::function<void(const std::string&, std::function<void(bool)> done)> confirm;
    std::function<void()> loaded;                     // the page finished loading (may be empty)
    std::function<void(const std::string&)> openLink; // a link to leave the page for (may be empty)
    std::function<void()> processEnded;               // the page's process crashed (may be empty)
    std::function<void()> closeRequested;             // the page called window.close() (may be empty)
};

class WebPage : public ScriptPage {
public:
    // relatedTo: a page whose web process this one shares (both show the application's own files).
    WebPage(BridgeSpec bridge, PageHandlers handlers, WebPage* relatedTo = nullptr);
    ~WebPage() override;
    WebPage(const WebPage&) = delete;
    WebPage& operator=(const WebPage&) = delete;

    // The view; it changes when the page is restored after a release.
    GtkWidget* widget() const;
    WebKitWebView* view() const { return view_; }

    // Loads a local page file; the load goes on in the background.
    void loadFile(const std::string& path);
    // Loads the page of loadFile again.
    void reload();
    // The URI of the page loaded by loadFile, empty before.
    const std::string& pageUri() const { return pageUri_; }

    // Drops the view (and so the page and its hold on the web process); until restore, evaluation
    // answers undefined and loads wait. A related page is released first.
    void release();
    // A new view in the released one's place, loading the page anew.
    void restore();
    bool released() const { return view_ == nullptr; }

    // Takes a picture of the page as it is laid out now, waiting for it as evaluate does. Until
    // the view draws the page itself (a moment after its window is shown, once the page's process
    // hears of it), the picture is drawn in its place: the window shows the page from its first
    // frame.
    void takePicture();

    // Waits for the value in a nested main loop; the window system keeps being served meanwhile.
    // During a load the script waits for it to finish, within the same time limit.
    ScriptValue evaluate(const std::string& script) override;
    void setTimeLimit(std::chrono::milliseconds limit) { timeLimit_ = limit; }

    // A page process that keeps ending (a missing graphics library, a page that crashes it) is not
    // started again and again: after this many ends within the window the page stays blank until
    // it is restored.
    static constexpr int processEndsToGiveUp = 3;
    static constexpr std::chrono::seconds processEndWindow{60};

private:
    friend struct WebPageSignals;
    // False once the process has ended too often to load the page again.
    bool countProcessEnd(std::chrono::steady_clock::time_point now);
    void createView();
    void destroyView();
    void dropPicture();

    WebKitWebView* view_ = nullptr;
    BridgeSpec bridge_;
    PageHandlers handlers_;
    WebPage* relatedTo_;
    GtkWidget* parent_ = nullptr;
    int position_ = 0;
    std::string pageUri_;
    cairo_surface_t* picture_ = nullptr; // see takePicture
    unsigned pictureExpiry_ = 0;
    bool loading_ = false; // from the start of a load until it has finished or failed
    std::chrono::milliseconds timeLimit_{5000};
    std::deque<std::chrono::steady_clock::time_point> processEnds_;
};

} // namespace padloom
