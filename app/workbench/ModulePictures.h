// Pictures of what module memory and the label store hold, drawn by the
// module's own routines (the image decoder, the glyph drawing) on its screen,
// which is then put back as it was: a view shows each picture exactly as the
// module would draw it, and drawing one changes nothing the module keeps.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

namespace zorsim {

// One picture, one image pixel per module pixel, dark pixels black. The image
// is null when the module would refuse to draw it; the caption says why.
struct ModulePicture {
    QImage image;
    QString caption;  // "compression 1, 17 x 9, 45 bytes of data"; "icon 5: 16 x 12, y-offset 2"
};

// The bitmap item at `item`: its image header's width and height.
ModulePicture BitmapPicture(uint16_t item);
// Every icon record of the icon set item at `item`, in the order the module
// looks them up.
std::vector<ModulePicture> IconSetPictures(uint16_t item);
// Every glyph of the text font item at `item`, each as wide as the module
// draws it (captions "0x41 'A'").
std::vector<ModulePicture> FontPictures(uint16_t item);
// Raw rows kept in the label store (a dynamic icon's slot, a logo): `size`
// bytes from `address`, drawn as the module draws them from its scratch area.
ModulePicture StorePicture(uint16_t address, uint16_t size, int width, int height);

// `factor` times larger, each module pixel a square.
QImage Enlarged(const QImage& picture, int factor);

}  // namespace zorsim
