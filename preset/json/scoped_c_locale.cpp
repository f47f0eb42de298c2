// SPDX-License-Identifier: GPL-3.0-or-later
#include "preset/json/scoped_c_locale.h"

namespace padloom {
namespace {

locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return locale;
}

} // namespace

scoped_c_locale::scoped_c_locale() {
    if (cLocale() != locale_t{}) {
        previous_ = uselocale(cLocale());
    }
}

scoped_c_locale::~scoped_c_locale() {
    if (previous_ != locale_t{}) {
        uselocale(previous_);
    }
}

} // namespace padloom
