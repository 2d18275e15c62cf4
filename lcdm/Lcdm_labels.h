// The label store: 8192 bytes beside module memory holding the settings
// record, the key records with their labels, two logos and the dynamic icons;
// and the drawing of key labels and logos from it.
#pragma once

#include <cstdint>

#include "Lcdm_config.h"

namespace lcdm {

// Layout.
inline constexpr uint16_t kSettingsVocabularyStart = 16;  // 2 bytes, high first
inline constexpr uint16_t kSettingsLanguage = 20;
inline constexpr uint16_t kSettingsDataBuffer = 28;
inline constexpr uint8_t kKeyCount = 28;
inline constexpr uint16_t kLabelDirectorySize = 16;  // 8 entries of (length, language)
inline constexpr uint8_t kLabelEntries = 8;
inline constexpr uint16_t kLogoEnable1 = 3712;
inline constexpr uint16_t kLogoBitmap1 = 3728;
inline constexpr uint16_t kLogoEnable0 = 3840;
inline constexpr uint16_t kLogoBitmap0 = 3856;
inline constexpr uint16_t kLogoSize = 96;  // 44 x 16 pixels, 6 bytes a row
inline constexpr int kLogoWidth = 44;
inline constexpr int kLogoHeight = 16;
inline constexpr uint16_t kIconDirectory = 3968;  // 16 entries of 8 bytes
inline constexpr uint16_t kIconDirectoryEntrySize = 8;
inline constexpr uint8_t kIconSlots = 16;
inline constexpr uint16_t kIconBitmaps = 4096;  // slot s at 4096 + 256 s
inline constexpr uint16_t kIconSlotSize = 256;

// Label entry length byte: 255 free; 255 or 0 ends a directory scan; bit 7
// marks an icon reference; bits 0..6 count the entry's data bytes.
inline constexpr uint8_t kFreeEntry = 0xFF;
inline constexpr uint8_t kIconEntryFlag = 0x80;
inline constexpr uint8_t kEntryLengthMask = 0x7F;

struct LabelStoreState {
    uint8_t LabelStore[kLabelStoreSize];
    // Byte 0: language of the dynamic icon being loaded; bytes 1..256: the
    // work area every block read fills from byte 1 on.
    uint8_t ScratchBuffer[kScratchBufferSize];
    uint16_t textLength;  // label bytes loaded into the scratch buffer
};
extern LabelStoreState Labels;

// Program start: the store is all 0 (the window fills it with 255 later).
void ResetLabelStore();

inline constexpr uint16_t RecordAddress(uint8_t record) {
    return static_cast<uint16_t>(record * kRecordSize);
}

uint8_t ReadStoreByte(uint16_t address);                // 0 past the end
uint8_t WriteStoreByte(uint16_t address, uint8_t value);  // 0, or 9

// Blocks of up to 256 bytes. A block is refused with 9 (nothing moved) when
// address + count reaches 8192, so one that would end exactly at the last
// byte is refused too.
uint8_t ReadStoreBlock(uint16_t address, uint8_t* destination, uint16_t count);
uint8_t WriteStoreBlock(uint16_t address, const uint8_t* source, uint16_t count);

// Reads count bytes into the scratch buffer's work area (from byte 1 on).
uint8_t ReadStoreToScratch(uint16_t address, uint16_t count);

// 0 = found and loaded into the scratch buffer; 2 = not found; 9 = out of range.
uint8_t DynamicIconLookup(uint8_t language, uint16_t id);

// 0 = nothing drawn; 1 after an icon; else the number of characters drawn.
uint8_t DrawKeyLabel(uint8_t key);

// 0 drawn; 25 disabled; 16 bitmap out of range; 1 bad bitmap size.
uint8_t DrawLogo(uint8_t n);

// ------------------------------------------------ label store housekeeping ---

// Key records 1..28 get the default label "Button <k>" in language 1, every
// icon slot is freed, the used-language list holds language 1 and the
// available-language list the vocabulary's icon set languages.
void InitLabelStore();
uint8_t ClearKeyRecord(uint8_t key);    // 0; 11 key out of range; 16 write failed
uint8_t RebuildUsedLanguages();         // 0; 16 unreadable directory; 11 list full
void AddDynamicIconLanguages();
void RebuildAvailableLanguages();

// ------------------------------------------------------ key label editing ---

// Stores Link.DataBuffer (language, label) for every key in the selection mask.
uint8_t StoreSelectedLabels();          // 0; 11 buffer too long; 23 a key failed
uint8_t StoreKeyLabel(uint8_t key);     // 0; 11; 16; 22; 23; 24
uint8_t RemoveLanguageFromKey(uint8_t key, uint8_t language);  // 0; 16; 24 for language 1
uint8_t RemoveLanguageEverywhere(uint8_t language);            // 0 done, 1 failed

// ---------------------------------------------------------- dynamic icons ---

struct IconLoadState {
    uint8_t pendingSlot;    // bit 7 still set: the slot search found nothing
    uint16_t pendingId;
    uint8_t pendingWidth;
    uint8_t pendingHeight;
    uint8_t pendingYOffset;
    uint16_t writePointer;  // label store address of the next appended byte
    bool loadFailed;        // the last begin found no slot: finish records nothing
};
extern IconLoadState IconLoad;

uint8_t BeginDynamicIcon();     // 0; 20 header too short; 2 no slot / language; 16
uint8_t AppendDynamicIcon();    // 0; 16 a byte falls outside the slot or the store
uint8_t FinishDynamicIcon();    // 0; 11 over 256 bytes or nothing begun; 9 write failed
uint8_t FreeIconSlot(uint8_t slot);  // 0; 2 slot above 15
uint8_t PurgeDynamicIcons();    // 0; 16 unreadable directory or record; 1 failure

}  // namespace lcdm
