// Status codes of the module: one byte, 0 = success.
//
// The tag engine leaves its codes in the StatusRegister, which it also uses
// as its run state; the module routines return theirs to their callers, and
// the host link turns any non-zero routine result into reply 0.
#pragma once

#include <cstdint>

namespace lcdm {

enum Status : uint8_t {
    kStatusOk = 0,              // running, or a routine succeeded
    kStatusEnded = 1,           // END executed: the program finished normally
    kStatusBadImageSize = 1,    // DrawImage: width or height out of range
    kStatusNotFound = 2,        // a vocabulary item a tag names was not found
    kStatusDataUnderflow = 3,
    kStatusReturnUnderflow = 4,
    kStatusDataOverflow = 5,
    kStatusReturnOverflow = 6,
    kStatusInvalidOpcode = 8,
    kStatusAddressRange = 9,    // memory, label store, jump/call/branch target
    kStatusWrongType = 10,      // the item type given to a tag is not its own
    kStatusIndexRange = 11,     // variable index, key number, list full, span row
    kStatusUnassignedCommand = 12,
    kStatusOffScreen = 15,      // coordinate outside the screen
    kStatusStoreAccess = 16,    // reading or writing the label store failed
    kStatusBitmapFailed = 19,   // drawing a bitmap item failed
    kStatusIconHeaderShort = 20,     // a dynamic icon begun with fewer than 6 header bytes
    kStatusLanguageNotAllowed = 22,  // no font class (text) or no icons (icon) for the language
    kStatusLabelNotStored = 23,      // a key's label could not be stored
    // The used-language list refused the change: full when adding, or
    // language 1, every key's default, when removing.
    kStatusUsedLanguageRefused = 24,
    kStatusLogoDisabled = 25,   // DrawLogo: the logo's enable byte is not 0
    // The run guard: a run executed kRunGuardTags tags without waiting in
    // DELAY and was stopped so that the host is never kept waiting for ever.
    // No other part of the module uses 40.
    kStatusRunGuard = 40,
};

// The status's name as the StatusRegister means it ("data stack underflow";
// 1 is "ended"), for transcripts, reports and the window; "unknown status"
// for a value the module never sets.
const char* StatusName(uint8_t status);

}  // namespace lcdm
