// Feeds arbitrary host byte streams into the module's byte entry, starting
// from a fresh module each time. Whatever the bytes — memory writes, new
// vocabularies, script runs, label and icon commands — the module must not
// crash, touch memory outside its arrays or hang (the run guard ends any
// run that computes without waiting).
#include <cstddef>
#include <cstdint>

#include "Lcdm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    lcdm::ModuleReset();
    for (size_t i = 0; i < size; ++i) lcdm::HostByteEntry(data[i]);
    return 0;
}
