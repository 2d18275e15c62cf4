// The statuses' names. A switch over the enumeration, so that the compiler
// names any status added without a name.
#include "Lcdm_status.h"

namespace lcdm {

const char* StatusName(uint8_t status) {
    switch (static_cast<Status>(status)) {
        case kStatusOk: return "ok";
        case kStatusEnded: return "ended";  // also kStatusBadImageSize, a routine's result
        case kStatusNotFound: return "item not found";
        case kStatusDataUnderflow: return "data stack underflow";
        case kStatusReturnUnderflow: return "return stack underflow";
        case kStatusDataOverflow: return "data stack overflow";
        case kStatusReturnOverflow: return "return stack overflow";
        case kStatusInvalidOpcode: return "invalid opcode";
        case kStatusAddressRange: return "address out of range";
        case kStatusWrongType: return "wrong item type";
        case kStatusIndexRange: return "index out of range";
        case kStatusUnassignedCommand: return "unassigned command";
        case kStatusOffScreen: return "off the screen";
        case kStatusStoreAccess: return "label store access failed";
        case kStatusBitmapFailed: return "bitmap drawing failed";
        case kStatusIconHeaderShort: return "icon header too short";
        case kStatusLanguageNotAllowed: return "language not allowed";
        case kStatusLabelNotStored: return "label not stored";
        case kStatusUsedLanguageRefused: return "used language refused";
        case kStatusLogoDisabled: return "logo disabled";
        case kStatusRunGuard: return "run guard";
    }
    return "unknown status";
}

}  // namespace lcdm
