// SPDX-License-Identifier: GPL-3.0-or-later
// Localized strings: English texts are the keys of the "padloom" gettext domain.
#pragma once

#include <libintl.h>

#define _(text) gettext(text)

namespace padloom {

// Binds the "padloom" domain to the installed locale folder and makes it the default.
void initTranslations();

} // namespace padloom
