// Runs scenario scripts line by line against the session's module.
#pragma once

#include <istream>
#include <ostream>
#include <vector>

#include "Command.h"
#include "Session.h"

namespace zorhost {

// Every command of the language, in the order --help lists them.
std::vector<CommandSpec> AllCommands();

// Runs the script read from `in`, named session.scriptName. Returns false
// after a script error, which it reports on `err` as "FILE:LINE: message";
// the run stops there. Failed expectations go to the transcript.
bool RunScript(Session& session, std::istream& in, std::ostream& err);

// Makes every pass of a DELAY wait one tick of the 100 ms timer, through the
// session's port, so that no script waits for real time or for ever.
void InstallVirtualTime(Session& session);

}  // namespace zorhost
