// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up as the user sees it: the main window's first frame already shows the filled list
// (no empty frame before it), and the editor's page, which loads once the window is shown,
// answers the controller's scripts from then on.
#include "tests/integration/shell_harness.h"
#include "tests/support/preset_text.h"

#include <cstdlib>
#include <gtk/gtk.h>

namespace padloom::test {
namespace {

using FirstFrame = HarnessTest;

// Pixels near the colour of the page's primary button (#3d86ff) that the window shows on screen.
int buttonPixels(GdkWindow* window) {
    GdkPixbuf* shown =
        gdk_pixbuf_get_from_window(window, 0, 0, gdk_window_get_width(window), gdk_window_get_height(window));
    if (shown == nullptr) {
        return 0;
    }
    const int channels = gdk_pixbuf_get_n_channels(shown);
    const int stride = gdk_pixbuf_get_rowstride(shown);
    const guint8* pixels = gdk_pixbuf_get_pixels(shown);
    int count = 0;
    for (int y = 0; y < gdk_pixbuf_get_height(shown); ++y) {
        for (int x = 0; x < gdk_pixbuf_get_width(shown); ++x) {
            const guint8* pixel = pixels + y * stride + x * channels;
            count += std::abs(pixel[0] - 0x3d) < 24 && std::abs(pixel[1] - 0x86) < 24 && pixel[2] > 0xe0;
        }
    }
    g_object_unref(shown);
    return count;
}

struct Frame {
    GdkWindow* window = nullptr;
    bool seen = false;
    int buttonPixels = -1;
};

// After GTK has drawn a frame of the window and handed it to the X server.
void onPainted(GdkFrameClock* clock, gpointer data) {
    auto* frame = static_cast<Frame*>(data);
    frame->seen = true;
    frame->buttonPixels = buttonPixels(frame->window);
    g_signal_handlers_disconnect_by_func(clock, reinterpret_cast<gpointer>(onPainted), data);
}

// As the main window is mapped, its first frame is watched.
gboolean onMap(GSignalInvocationHint*, guint, const GValue* values, gpointer data) {
    auto* frame = static_cast<Frame*>(data);
    GtkWidget* widget = GTK_WIDGET(g_value_get_object(&values[0]));
    if (!GTK_IS_WINDOW(widget) || g_strcmp0(gtk_window_get_title(GTK_WINDOW(widget)), "Padloom") != 0) {
        return TRUE;
    }
    frame->window = gtk_widget_get_window(widget);
    g_signal_connect(gdk_window_get_frame_clock(frame->window), "after-paint", G_CALLBACK(onPainted), frame);
    return FALSE; // once
}

TEST_F(FirstFrame, ShowsTheFilledList) {
    harness.writePreset("Pad.txt", presetText("Pad"));
    Frame frame;
    const guint map = g_signal_lookup("map", GTK_TYPE_WIDGET);
    g_signal_add_emission_hook(map, 0, onMap, &frame, nullptr);
    harness.start();
    ASSERT_TRUE(pumpUntil([&] { return frame.seen; }));
    EXPECT_GT(frame.buttonPixels, 200); // the "New preset" button, about 120 by 30 pixels
    EXPECT_EQ(harness.listedPresetNames(), std::vector<std::string>{"Pad"});
}

// Straight after the start the editor's page is still loading; a script waits for it rather than
// running in the blank document it replaces.
TEST_F(FirstFrame, TheEditorsPageAnswersOnceTheWindowIsShown) {
    harness.writePreset("Pad.txt", presetText("Pad"));
    harness.start();
    EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(harness.shell().mainWindow())));
    EXPECT_EQ(harness.config("typeof generatePresetString"), ScriptValue("function"));
    EXPECT_TRUE(harness.openEditor());
}

} // namespace
} // namespace padloom::test
