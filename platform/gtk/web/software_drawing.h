// SPDX-License-Identifier: GPL-3.0-or-later
// The application draws without the GPU: its windows are plain widgets and two local pages.
#pragma once

namespace padloom {

// Keeps GDK and WebKit from loading the system's GL drivers into the application process (on a
// machine without a GPU, Mesa's software renderer and its LLVM code, some 25 MB): GDK's GL
// support is off, the pages reach the window as shared-memory images rather than GPU buffers,
// and the page processes are told of no render device, so the application never opens an EGL
// display to find one. A variable the user has set is left as it is. Call before GTK opens the
// display.
void drawWithoutGpu();

} // namespace padloom
