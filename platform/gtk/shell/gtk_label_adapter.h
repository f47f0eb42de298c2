// SPDX-License-Identifier: GPL-3.0-or-later
// The joystick label of the main window.
#pragma once

#include "app/ui/label.h"

typedef struct _GtkLabel GtkLabel;

namespace padloom {

class GtkLabelAdapter : public Label {
public:
    explicit GtkLabelAdapter(GtkLabel* label) : label_(label) {}
    void setText(const std::string& text) override;
    std::string text() const;

private:
    GtkLabel* label_;
};

} // namespace padloom
