// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/started_hook.h"

namespace padloom {

void shellStarted(Shell&) {}

} // namespace padloom
