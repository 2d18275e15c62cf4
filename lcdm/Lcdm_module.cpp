// The one routine that brings every unit back to its program-start state.
#include "Lcdm.h"

namespace lcdm {

void ModuleReset() {
    ResetMemory();
    ResetGraphics();
    ResetImages();
    ResetLabelStore();
    ResetEngine();
    // Last: the vocabulary reset also selects the built-in font.
    ResetVocabularyState();
}

}  // namespace lcdm
