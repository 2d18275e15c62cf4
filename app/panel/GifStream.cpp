#include "panel/GifStream.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace panel {
namespace {

// A frame's delay is 16 bits of hundredths; a longer one is continued by a
// frame of one unchanged pixel.
constexpr int64_t kLongestDelayCs = 0xFFFF;

int64_t Hundredths(int64_t milliseconds) {
    return (milliseconds + 5) / 10;
}

}  // namespace

// The encoder's state, and its first error.
struct GifStream::Encoder {
    GifFileType* gif = nullptr;
    files::ByteSink* file = nullptr;
    int error = 0;            // giflib's code of the first failure; 0 none
    bool fileFailed = false;  // the failure was the file's: it says why

    // giflib writes through this: the bytes go to the recording's file.
    static int Write(GifFileType* gif, const GifByteType* bytes, int count) {
        auto* encoder = static_cast<Encoder*>(gif->UserData);
        if (encoder->file->Write(
                {reinterpret_cast<const char*>(bytes), static_cast<size_t>(count)}))
            return count;
        encoder->fileFailed = true;
        return 0;
    }

    bool Check(int result) {
        if (result == GIF_ERROR && error == 0)
            error = gif->Error != 0 ? gif->Error : E_GIF_ERR_WRITE_FAILED;
        return error == 0;
    }
    ~Encoder() {
        if (gif != nullptr) EGifCloseFile(gif, nullptr);
    }
};

static_assert(sizeof(GifColor) == sizeof(GifColorType), "a palette entry is three bytes");

GifStream::GifStream() = default;
GifStream::~GifStream() {
    Abandon();
}

bool GifStream::IsOpen() const {
    return encoder_ != nullptr;
}

bool GifStream::Failed() const {
    return encoder_ != nullptr && encoder_->error != 0;
}

void GifStream::Open(std::unique_ptr<files::ByteSink> out, const std::string& name, int width,
                     int height, std::vector<GifColor> palette, const std::string& comment) {
    Abandon();
    file_ = std::move(out);
    name_ = name;
    width_ = width;
    height_ = height;
    shown_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    pending_ = shown_;
    havePending_ = false;
    writtenCs_ = 0;
    framesWritten_ = 0;

    encoder_ = std::make_unique<Encoder>();
    encoder_->file = file_.get();
    int code = 0;
    encoder_->gif = EGifOpen(encoder_.get(), &Encoder::Write, &code);
    if (encoder_->gif == nullptr) {
        encoder_->error = code;  // Finish says so
        return;
    }
    // A GIF palette holds a power of two colours; the rest stay black.
    int bits = 1;
    while ((1 << bits) < static_cast<int>(palette.size())) ++bits;
    palette.resize(size_t{1} << bits);
    ColorMapObject* map =
        GifMakeMapObject(1 << bits, reinterpret_cast<const GifColorType*>(palette.data()));
    Encoder& e = *encoder_;
    EGifSetGifVersion(e.gif, true);
    e.Check(EGifPutScreenDesc(e.gif, width, height, 8, 0, map));
    GifFreeMapObject(map);
    if (!comment.empty()) e.Check(EGifPutComment(e.gif, comment.c_str()));
    // Played again and again, as a page in a document shows it.
    static const GifByteType kLoop[] = {1, 0, 0};
    e.Check(EGifPutExtensionLeader(e.gif, APPLICATION_EXT_FUNC_CODE));
    e.Check(EGifPutExtensionBlock(e.gif, 11, "NETSCAPE2.0"));
    e.Check(EGifPutExtensionBlock(e.gif, 3, kLoop));
    e.Check(EGifPutExtensionTrailer(e.gif));
}

void GifStream::Picture(const uint8_t* indices, int64_t milliseconds) {
    if (!encoder_) return;
    const size_t size = pending_.size();
    if (!havePending_) {
        pendingStartMs_ = milliseconds;  // the first picture
    } else if (std::memcmp(pending_.data(), indices, size) == 0) {
        return;
    } else if (milliseconds - pendingStartMs_ >= kShortestGifDelayMs) {
        WritePending(Hundredths(milliseconds));
        pendingStartMs_ = milliseconds;
    }
    std::memcpy(pending_.data(), indices, size);
    havePending_ = true;
}

void GifStream::WritePending(int64_t endCs) {
    havePending_ = false;
    if (framesWritten_ == 0) writtenCs_ = Hundredths(pendingStartMs_);
    // Only the rectangle that changed is written; the rest stays on screen.
    int left = width_, top = height_, right = -1, bottom = -1;
    for (int y = 0; y < height_; ++y) {
        const uint8_t* now = pending_.data() + static_cast<size_t>(y) * width_;
        const uint8_t* was = shown_.data() + static_cast<size_t>(y) * width_;
        if (framesWritten_ > 0 && std::memcmp(now, was, static_cast<size_t>(width_)) == 0) continue;
        for (int x = 0; x < width_; ++x)
            if (framesWritten_ == 0 || now[x] != was[x]) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    shown_ = pending_;
    if (right < 0) left = top = right = bottom = 0;  // no change: one pixel, as it is
    int64_t delay = std::max<int64_t>(endCs - writtenCs_, 0);
    WriteFrame(left, top, right - left + 1, bottom - top + 1, std::min(delay, kLongestDelayCs));
    for (delay -= kLongestDelayCs; delay > 0; delay -= kLongestDelayCs)
        WriteFrame(0, 0, 1, 1, std::min(delay, kLongestDelayCs));
    writtenCs_ = std::max(endCs, writtenCs_);
}

void GifStream::WriteFrame(int left, int top, int width, int height, int64_t delayCs) {
    Encoder& e = *encoder_;
    if (e.error != 0) {
        ++framesWritten_;  // counted as given, so that the timing stays the same
        return;
    }
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = static_cast<int>(delayCs);
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const size_t length = EGifGCBToExtension(&control, extension);
    if (!e.Check(
            EGifPutExtension(e.gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension)) ||
        !e.Check(EGifPutImageDesc(e.gif, left, top, width, height, false, nullptr)))
        return;
    for (int y = top; y < top + height; ++y) {
        GifPixelType* row = shown_.data() + static_cast<size_t>(y) * width_ + left;
        if (!e.Check(EGifPutLine(e.gif, row, width))) return;
    }
    ++framesWritten_;
}

bool GifStream::Finish(int64_t milliseconds, std::string& error) {
    if (!encoder_) {
        error = "no GIF recording is running";
        return false;
    }
    if (havePending_) WritePending(Hundredths(milliseconds));
    Encoder& e = *encoder_;
    int code = 0;
    if (e.gif != nullptr && EGifCloseFile(e.gif, &code) == GIF_ERROR && e.error == 0)
        e.error = code;
    e.gif = nullptr;
    const int failure = e.fileFailed ? 0 : e.error;
    encoder_.reset();
    std::unique_ptr<files::ByteSink> file = std::move(file_);
    // A failed write names the system's reason; the encoder's own failure
    // (no memory) says so in its words.
    if (failure != 0) {
        error = "cannot write " + name_ + ": the GIF encoder failed: " + GifErrorString(failure);
        return false;
    }
    return file->Commit(error);
}

void GifStream::Abandon() {
    encoder_.reset();  // before the file it writes into
    file_.reset();
    havePending_ = false;
}

void LcdGifPicture(const LcdPicture& picture, std::vector<uint8_t>& indices) {
    indices.resize(static_cast<size_t>(kPictureWidth) * kPictureHeight);
    for (int y = 0; y < kPictureHeight; ++y)
        for (int x = 0; x < kPictureWidth; ++x)
            indices[static_cast<size_t>(y) * kPictureWidth + x] = picture.IsBlack(x, y) ? 0 : 1;
}

}  // namespace panel
