#include "tools/padloomctl/commands.h"

namespace padloom::ctl {

int joysticksCommand(const Args&) { return usageError("joysticks is not built yet"); }

} // namespace padloom::ctl
