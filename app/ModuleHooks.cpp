#include "ModuleHooks.h"

#include <map>

#include "Lcdm.h"

namespace zorsim {
namespace {

std::map<int, RunEndListener>& Listeners() {
    static std::map<int, RunEndListener> listeners;
    return listeners;
}
int gNextToken = 0;

void RunEnded(uint8_t number, uint8_t parameter) {
    // A copy: a listener may stop the run in a nested event loop, during
    // which others may come or go.
    const std::map<int, RunEndListener> listeners = Listeners();
    for (const auto& [token, listener] : listeners) listener(number, parameter);
}

}  // namespace

int AddRunEndListener(RunEndListener listener) {
    if (Listeners().empty()) lcdm::SetRunEndHook(&RunEnded);
    Listeners()[++gNextToken] = std::move(listener);
    return gNextToken;
}

void RemoveRunEndListener(int token) {
    Listeners().erase(token);
    if (Listeners().empty()) lcdm::SetRunEndHook(nullptr);
}

}  // namespace zorsim
