// SPDX-License-Identifier: GPL-3.0-or-later
// Switches the calling thread to the "C" locale while it lives. The desktop toolkit sets the user's
// locale at start-up; numbers in preset files are written and read with a decimal point whatever it is.
#pragma once

#include <clocale>
#include <locale.h>

namespace padloom {

class scoped_c_locale {
public:
    scoped_c_locale();
    ~scoped_c_locale();
    scoped_c_locale(const scoped_c_locale&) = delete;
    scoped_c_locale& operator=(const scoped_c_locale&) = delete;

private:
    locale_t previous_ = nullptr;
};

} // namespace padloom
