// The window's artwork, drawn from the SVG sources built into the program at
// the sizes and colour depths the window's pictures hold.
#pragma once

#include <QIcon>
#include <QImage>

#include "panel/IconPicture.h"

namespace zorsim {

// Front plate "Orto Talvar": 356 x 600, 24 bits a pixel.
QImage TalvarPlate();
// Front plate "KAI": 277 x 445, 24 bits a pixel.
QImage KaiPlate();
// The logo: 318 x 81 in 256 colours.
QImage Logo();
// The icon the "Dynamic Icon" group holds until a file is opened: 62 x 16.
panel::IconPicture DefaultIcon();
QIcon WindowIcon();

}  // namespace zorsim
