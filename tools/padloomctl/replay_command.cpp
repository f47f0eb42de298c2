#include "tools/padloomctl/commands.h"

namespace padloom::ctl {

int replayCommand(const Args&) { return usageError("replay is not built yet"); }

} // namespace padloom::ctl
