// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/web/software_drawing.h"

#include <glib.h>

namespace padloom {

void drawWithoutGpu() {
    const bool replace = false;
    g_setenv("GDK_GL", "disable", replace);
    g_setenv("WEBKIT_DISABLE_DMABUF_RENDERER", "1", replace);
    g_setenv("WEBKIT_WEB_RENDER_DEVICE_FILE", "/dev/null", replace);
}

} // namespace padloom
