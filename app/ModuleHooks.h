// The module calls one run-end hook; in the window several parts want to
// hear of a run's end (the recording's journal, the debugger's break on an
// error status). They listen here, and this registry is the module's hook.
#pragma once

#include <cstdint>
#include <functional>

namespace zorsim {

using RunEndListener = std::function<void(uint8_t number, uint8_t parameter)>;

// Returns a token for RemoveRunEndListener.
int AddRunEndListener(RunEndListener listener);
void RemoveRunEndListener(int token);

}  // namespace zorsim
