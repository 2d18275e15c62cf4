// Access to the label store: bytes, blocks, the scratch buffer's work area,
// and the lookup of a dynamic icon by language and id.
#include <cstring>

#include "Lcdm_bitmaps.h"
#include "Lcdm_common.h"
#include "Lcdm_labels.h"
#include "Lcdm_status.h"
#include "Lcdm_voc.h"

namespace lcdm {

namespace {

// Bytes the scratch buffer's work area holds (byte 0 is the loading language).
inline constexpr uint16_t kScratchWorkSize = kScratchBufferSize - 1;

// Offsets inside an icon directory entry.
enum IconEntryByte : uint8_t {
    kIconSizeHigh = 0,
    kIconIdHigh = 2,
    kIconWidth = 4,
    kIconHeight = 5,
    kIconYOffset = 6,
    kIconLanguage = 7,
};

// The block bound: the sum is formed in 32 bits so that an address near
// 0xFFFF cannot wrap round into the store. A block that would end exactly on
// the last byte is refused as well; the module has always drawn the line there.
bool BlockFits(uint16_t address, uint16_t count) {
    return static_cast<uint32_t>(address) + count < kLabelStoreSize;
}

}  // namespace

uint8_t ReadStoreByte(uint16_t address) {
    return address < kLabelStoreSize ? Labels.LabelStore[address] : 0;
}

uint8_t WriteStoreByte(uint16_t address, uint8_t value) {
    if (address >= kLabelStoreSize) return kStatusAddressRange;
    Labels.LabelStore[address] = value;
    return kStatusOk;
}

uint8_t ReadStoreBlock(uint16_t address, uint8_t* destination, uint16_t count) {
    if (!BlockFits(address, count)) return kStatusAddressRange;
    std::memcpy(destination, Labels.LabelStore + address, count);
    return kStatusOk;
}

uint8_t WriteStoreBlock(uint16_t address, const uint8_t* source, uint16_t count) {
    if (!BlockFits(address, count)) return kStatusAddressRange;
    std::memcpy(Labels.LabelStore + address, source, count);
    return kStatusOk;
}

// A count beyond the work area (an icon directory entry can claim up to
// 65535 bytes) is refused like a block out of range instead of overrunning it.
uint8_t ReadStoreToScratch(uint16_t address, uint16_t count) {
    if (count > kScratchWorkSize) return kStatusAddressRange;
    return ReadStoreBlock(address, Labels.ScratchBuffer + 1, count);
}

uint8_t DynamicIconLookup(uint8_t language, uint16_t id) {
    if (ReadStoreToScratch(kIconDirectory, kIconSlots * kIconDirectoryEntrySize) != kStatusOk)
        return kStatusNotFound;
    for (uint8_t slot = 0; slot < kIconSlots; ++slot) {
        const uint8_t* entry = Labels.ScratchBuffer + 1 + slot * kIconDirectoryEntrySize;
        // A slot in language 255 is free, whatever its other bytes say.
        if (entry[kIconLanguage] != language || language == kFreeLanguage) continue;
        if (MakeWord(entry[kIconIdHigh], entry[kIconIdHigh + 1]) != id) continue;

        const uint16_t size = MakeWord(entry[kIconSizeHigh], entry[kIconSizeHigh + 1]);
        ImageDescription& image = Images.ImageDescriptor;
        image.compression = 0;
        image.dataLength = size;
        image.width = entry[kIconWidth];
        image.height = entry[kIconHeight];
        image.yOffset = entry[kIconYOffset];
        Labels.textLength = size;
        // The entry is read before this load overwrites the work area.
        return ReadStoreToScratch(static_cast<uint16_t>(kIconBitmaps + slot * kIconSlotSize), size);
    }
    return kStatusNotFound;
}

}  // namespace lcdm
