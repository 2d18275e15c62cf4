// The LCD module's public header: everything a front end, a tool or a test
// may call. lcdm/ includes nothing from app/ or tools/.
#pragma once

#include "Lcdm_bitmaps.h"
#include "Lcdm_commands.h"
#include "Lcdm_common.h"
#include "Lcdm_config.h"
#include "Lcdm_fonts.h"
#include "Lcdm_labels.h"
#include "Lcdm_memory.h"
#include "Lcdm_status.h"
#include "Lcdm_tags.h"
#include "Lcdm_voc.h"

namespace lcdm {

// Restores the whole module to its program-start state: the default image in
// module memory, the label store all 0, a clear screen, no vocabulary, every
// engine variable at its initial value. Registered hooks stay registered.
void ModuleReset();

}  // namespace lcdm
