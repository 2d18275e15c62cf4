// Every unit's module-wide state, defined in one place, and the resets that
// bring each back to its program-start value. Nothing here is allocated: the
// module's whole footprint is these objects.
#include <cstring>

#include "Lcdm.h"
#include "Lcdm_commands.h"
#include "Lcdm_lookup_caches.h"

namespace lcdm {

MemoryState Memory;
GraphicsState Graphics;
ImageState Images;
LabelStoreState Labels;
VocabularyState Vocabulary;
FontState Fonts;
EngineState Engine;
LanguageState Language;
LinkState Link;
IconLoadState IconLoad;
LookupCacheState LookupCaches;

void ResetMemory() {
    std::memcpy(Memory.ModuleMemory, DefaultImage, sizeof Memory.ModuleMemory);
    MemoryWritten();
}

// Epoch 1 on: a cache with epoch 0 has never been built.
void ResetLookupCaches() {
    std::memset(&LookupCaches, 0, sizeof LookupCaches);
    LookupCaches.memoryEpoch = 1;
}

void ResetGraphics() {
    std::memset(&Graphics, 0, sizeof Graphics);
    Graphics.GraphicsCursor = Point{};
}

void ResetImages() {
    std::memset(Images.history, 0, sizeof Images.history);
    Images.ImageDescriptor = ImageDescription{};
}

void ResetLabelStore() {
    std::memset(&Labels, 0, sizeof Labels);
    std::memset(&IconLoad, 0, sizeof IconLoad);
}

// DataMode starts at 0; only LinkReset sets it to 255.
void ResetLink() { std::memset(&Link, 0, sizeof Link); }

void ResetFonts() { std::memset(&Fonts, 0, sizeof Fonts); }

void ResetEngine() {
    std::memset(&Engine, 0, sizeof Engine);
    std::memset(&Language, 0, sizeof Language);
    Language.currentLanguage = 1;  // every key's default language
}

void ResetVocabularyState() {
    std::memset(&Vocabulary, 0, sizeof Vocabulary);
    ResetFonts();
    // The vocabulary reset empties the lists and selects the built-in font.
    ResetVocabulary();
}

}  // namespace lcdm
