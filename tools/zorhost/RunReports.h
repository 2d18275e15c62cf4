// What zorhost says about the module's runs as they end: for a run that
// stopped with an error, one line naming where and why (the tag, its place in
// the vocabulary and, with --map, its source line, and the stacks); with
// --trace-tags every tag a run executes, or the last N before a run fails.
// The decoded trace and the recorder learn here which scripts ran.
#pragma once

#include "Session.h"

namespace zorhost {

// Registers the module's run-end and tag hooks for `session` (one at a time).
void InstallRunReports(Session& session);
void RemoveRunReports();

}  // namespace zorhost
