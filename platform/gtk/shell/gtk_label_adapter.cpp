// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/shell/gtk_label_adapter.h"

#include <gtk/gtk.h>

namespace padloom {

void GtkLabelAdapter::setText(const std::string& text) {
    gtk_label_set_text(label_, text.c_str());
}

std::string GtkLabelAdapter::text() const {
    return gtk_label_get_text(label_);
}

} // namespace padloom
