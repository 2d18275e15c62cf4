// The assembled image as the module will see it: it walks the chain of items
// from the header, finds the first item of a number and type, and refuses a
// vocabulary whose first item is no header or that holds a type above 7.
// What the module would never find or would refuse is reported here: a
// duplicate item is an error, the rest are warnings.
#pragma once

#include <cstddef>
#include <cstdint>

#include "Assembler.h"

namespace zorasm {

// What tells two items of one number and type apart for the module's
// lookups: a text font's class (item byte 12), an icon set's language (item
// byte 5); -1 for the other types, whose second item is never found.
int LookupDetail(int type, const uint8_t* item, size_t length);

// Checks the assembly's blocks and bytes (an image without errors).
void CheckChain(Assembly& assembly);

}  // namespace zorasm
