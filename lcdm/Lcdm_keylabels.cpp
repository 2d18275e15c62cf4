// Drawing a key's label and the logos from the label store.
//
// A key label is drawn in the current language when it can be (a text while
// fonts of the language's class are selected, or an icon that exists);
// otherwise the key's default label, entry 0, is drawn instead. Every label
// is first loaded into the scratch buffer's work area and drawn from there.
#include <cstring>

#include "Lcdm_bitmaps.h"
#include "Lcdm_common.h"
#include "Lcdm_fonts.h"
#include "Lcdm_labels.h"
#include "Lcdm_memory.h"
#include "Lcdm_status.h"
#include "Lcdm_tags.h"
#include "Lcdm_voc.h"

namespace lcdm {

namespace {

inline constexpr uint8_t kDefaultLanguage = 1;
inline constexpr uint16_t kScratchWorkSize = kScratchBufferSize - 1;

// The work area as the image descriptor reads it.
ByteView ScratchView() {
    return ByteView{Labels.ScratchBuffer + 1, kScratchWorkSize};
}

bool IsIconEntry(uint8_t lengthByte) {
    return (lengthByte & kIconEntryFlag) != 0;
}

// Loads an entry's data bytes into the work area; 0, or 9.
uint8_t LoadLabelData(uint16_t address, uint8_t lengthByte) {
    Labels.textLength = lengthByte & kEntryLengthMask;
    return ReadStoreToScratch(address, Labels.textLength);
}

// An icon entry's id: its first two data bytes, high byte first.
uint16_t LoadedIconId() {
    return MakeWord(Labels.ScratchBuffer[1], Labels.ScratchBuffer[2]);
}

// Draws the loaded characters up to the first 0 byte; counts those drawn.
uint8_t DrawLoadedText() {
    uint8_t drawn = 0;
    for (uint16_t i = 0; i < Labels.textLength && i < kScratchWorkSize; ++i) {
        const uint8_t code = Labels.ScratchBuffer[1 + i];
        if (code == 0) break;
        if (DrawCharacter(code) != 0) ++drawn;
    }
    return drawn;
}

// Draws the dynamic icon the last successful lookup loaded, raised by its
// yOffset; the cursor is left at the icon's top left corner.
uint8_t DrawLoadedIcon() {
    Images.ImageDescriptor.data = ScratchView();
    const Point cursor = Graphics.GraphicsCursor;
    DrawImage(cursor.x, cursor.y - Images.ImageDescriptor.yOffset);
    return 1;
}

// The key's default label (entry 0, with length byte lengthByte). A text is
// drawn whatever fonts are selected; an icon only if a dynamic icon of the
// default language has its id: the vocabulary's icon sets are not consulted.
uint8_t DrawDefaultLabel(uint8_t key, uint8_t lengthByte) {
    if (lengthByte == kFreeEntry) return 0;
    const uint16_t data = static_cast<uint16_t>(RecordAddress(key) + kLabelDirectorySize);
    if (LoadLabelData(data, lengthByte) != kStatusOk) return 0;
    if (!IsIconEntry(lengthByte)) return DrawLoadedText();
    if (DynamicIconLookup(kDefaultLanguage, LoadedIconId()) != kStatusOk) return 0;
    return DrawLoadedIcon();
}

// An icon label in the current language: a dynamic icon first, then the
// current icon set when it serves this language.
uint8_t DrawIconLabel(uint8_t key, uint8_t defaultLength) {
    const uint16_t id = LoadedIconId();
    if (DynamicIconLookup(Language.currentLanguage, id) == kStatusOk) return DrawLoadedIcon();
    if (Language.iconSetLanguage != Language.currentLanguage)
        return DrawDefaultLabel(key, defaultLength);
    const uint16_t record = FindIcon(id);
    if (record == 0) return DrawDefaultLabel(key, defaultLength);
    const Point cursor = Graphics.GraphicsCursor;
    DrawIcon(cursor.x, cursor.y, MemoryView(record));
    return 1;
}

struct FoundEntry {
    bool found;
    uint8_t lengthByte;
    uint16_t dataOffset;  // from the start of the key record
};

// The first directory entry in the language, up to the first free entry.
FoundEntry FindEntry(const uint8_t* directory, uint8_t language) {
    uint16_t offset = kLabelDirectorySize;
    for (uint8_t i = 0; i < kLabelEntries; ++i) {
        const uint8_t length = directory[2 * i];
        if (length == 0 || length == kFreeEntry) break;
        if (directory[2 * i + 1] == language) return FoundEntry{true, length, offset};
        offset = static_cast<uint16_t>(offset + (length & kEntryLengthMask));
    }
    return FoundEntry{false, 0, 0};
}

}  // namespace

uint8_t DrawKeyLabel(uint8_t key) {
    Labels.textLength = 0;
    if (key == 0 || key > kKeyCount) return 0;
    // The directory is copied out: loading the label data reuses the work area.
    uint8_t directory[kLabelDirectorySize];
    if (ReadStoreToScratch(RecordAddress(key), kLabelDirectorySize) != kStatusOk) return 0;
    std::memcpy(directory, Labels.ScratchBuffer + 1, sizeof directory);
    const uint8_t defaultLength = directory[0];

    const FoundEntry entry = FindEntry(directory, Language.currentLanguage);
    if (!entry.found) return DrawDefaultLabel(key, defaultLength);

    const bool icon = IsIconEntry(entry.lengthByte);
    // A text needs fonts of the current language's class; without them the
    // default label stands in.
    if (!icon && Fonts.selectedFontClass != Language.currentFontClass)
        return DrawDefaultLabel(key, defaultLength);
    const uint16_t data = static_cast<uint16_t>(RecordAddress(key) + entry.dataOffset);
    if (LoadLabelData(data, entry.lengthByte) != kStatusOk) return 0;
    return icon ? DrawIconLabel(key, defaultLength) : DrawLoadedText();
}

uint8_t DrawLogo(uint8_t n) {
    // Logo 0 sits one record above logo 1; other numbers reach other records
    // of the store (addresses wrap as 16-bit values; reads past the store fail).
    const uint16_t shift = static_cast<uint16_t>(n * kRecordSize);
    if (ReadStoreByte(static_cast<uint16_t>(kLogoEnable0 - shift)) != 0) return kStatusLogoDisabled;

    ImageDescription& image = Images.ImageDescriptor;
    image.compression = 0;
    image.dataLength = kLogoSize;
    image.width = kLogoWidth;
    image.height = kLogoHeight;
    image.yOffset = 0;
    if (ReadStoreToScratch(static_cast<uint16_t>(kLogoBitmap0 - shift), kLogoSize) != kStatusOk)
        return kStatusStoreAccess;
    image.data = ScratchView();
    return DrawImage(Graphics.GraphicsCursor.x, Graphics.GraphicsCursor.y);
}

}  // namespace lcdm
