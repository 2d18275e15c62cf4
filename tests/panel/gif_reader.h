// Reads an animated GIF back for the tests: its size, palette, each frame's
// delay and the whole picture shown after each frame (frames are written as
// the rectangles that changed), and whether it loops and what made it.
#pragma once

#include <gif_lib.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace zortest {

struct GifAnimation {
    bool ok = false;
    std::string error;
    int width = 0, height = 0;
    std::vector<uint32_t> palette;            // 0xRRGGBB
    std::vector<int> delays;                  // hundredths of a second, per frame
    std::vector<std::vector<uint8_t>> shown;  // palette indices after each frame
    bool loops = false;
    std::string comment;

    uint32_t Colour(size_t frame, int x, int y) const {
        return palette[shown[frame][static_cast<size_t>(y) * width + x]];
    }
    int TotalDelay() const {
        int sum = 0;
        for (int d : delays) sum += d;
        return sum;
    }
};

inline GifAnimation ReadGif(const std::string& path) {
    GifAnimation a;
    int code = 0;
    GifFileType* gif = DGifOpenFileName(path.c_str(), &code);
    if (gif == nullptr) {
        a.error = GifErrorString(code);
        return a;
    }
    if (DGifSlurp(gif) != GIF_OK) {
        a.error = GifErrorString(gif->Error);
        DGifCloseFile(gif, &code);
        return a;
    }
    a.width = gif->SWidth;
    a.height = gif->SHeight;
    for (int i = 0; gif->SColorMap && i < gif->SColorMap->ColorCount; ++i) {
        const GifColorType c = gif->SColorMap->Colors[i];
        a.palette.push_back(uint32_t{c.Red} << 16 | uint32_t{c.Green} << 8 | c.Blue);
    }
    auto blocks = [&a](const ExtensionBlock* block, int count) {
        for (int i = 0; i < count; ++i, ++block) {
            if (block->Function == COMMENT_EXT_FUNC_CODE)
                a.comment.append(reinterpret_cast<const char*>(block->Bytes),
                                 static_cast<size_t>(block->ByteCount));
            if (block->Function == APPLICATION_EXT_FUNC_CODE && block->ByteCount == 11 &&
                std::memcmp(block->Bytes, "NETSCAPE2.0", 11) == 0)
                a.loops = true;
        }
    };
    blocks(gif->ExtensionBlocks, gif->ExtensionBlockCount);
    std::vector<uint8_t> canvas(static_cast<size_t>(a.width) * a.height, 0);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        blocks(image.ExtensionBlocks, image.ExtensionBlockCount);
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif, i, &control);
        a.delays.push_back(control.DelayTime);
        const GifImageDesc& d = image.ImageDesc;
        for (int y = 0; y < d.Height; ++y)
            for (int x = 0; x < d.Width; ++x)
                canvas[static_cast<size_t>(d.Top + y) * a.width + d.Left + x] =
                    image.RasterBits[static_cast<size_t>(y) * d.Width + x];
        a.shown.push_back(canvas);
    }
    DGifCloseFile(gif, &code);
    a.ok = true;
    return a;
}

}  // namespace zortest
