// Counts the calls of the global operator new made on the calling thread, so that a benchmark can
// show how many allocations one evaluated event costs.
#pragma once

#include <cstdint>

namespace padloom::bench {

int64_t allocationsOnThisThread();

} // namespace padloom::bench
