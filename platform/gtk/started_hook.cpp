#include "platform/gtk/started_hook.h"

namespace padloom {

void shellStarted(Shell&) {}

} // namespace padloom
