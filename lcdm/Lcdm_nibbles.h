// The nibble decoder of coded images, shared inside the bitmaps unit only.
#pragma once

namespace lcdm {

// Decodes the descriptor's coded bytes (compression 1 or 2, size already
// checked) and draws every completed row from (x, y) down.
void DrawCodedRows(int x, int y);

}  // namespace lcdm
