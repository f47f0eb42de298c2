// SPDX-License-Identifier: GPL-3.0-or-later
// Counts the calls of the global operator new made on the calling thread, so that a test or a
// benchmark can show how many allocations a piece of engine work costs. Linking this counter
// replaces the program's operator new and delete.
#pragma once

#include <cstdint>

namespace padloom::test {

// False under AddressSanitizer, which keeps its own operator new: the count then stays 0.
bool allocationsCounted();
int64_t allocationsOnThisThread();

} // namespace padloom::test
