// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/gtk/shell/i18n.h"

#include <clocale>

namespace padloom {

void initTranslations() {
    std::setlocale(LC_ALL, "");
    bindtextdomain("padloom", PADLOOM_LOCALE_DIR);
    bind_textdomain_codeset("padloom", "UTF-8");
    textdomain("padloom");
}

} // namespace padloom
