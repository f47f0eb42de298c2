#include "tools/padloomctl/commands.h"

namespace padloom::ctl {

int runCommand(const Args&) { return usageError("run is not built yet"); }

} // namespace padloom::ctl
