#include "tools/padloomctl/commands.h"

namespace padloom::ctl {

int checkCommand(const Args&) { return usageError("check is not built yet"); }
int formatCommand(const Args&) { return usageError("format is not built yet"); }

} // namespace padloom::ctl
