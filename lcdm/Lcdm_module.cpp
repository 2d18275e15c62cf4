// The one routine that brings every unit back to its program-start state.
#include "Lcdm.h"
#include "Lcdm_commands.h"
#include "Lcdm_lookup_caches.h"

namespace lcdm {

void ModuleReset() {
    ResetLookupCaches();
    ResetMemory();
    ResetGraphics();
    ResetImages();
    ResetLabelStore();
    ResetEngine();
    ResetLink();
    // Last: the vocabulary reset also selects the built-in font.
    ResetVocabularyState();
}

}  // namespace lcdm
