// GIF recordings: each picture shown for the time until the next, in whole
// hundredths that add up to the recording's time; pictures that viewers
// could not show (none of their own time, or under two hundredths) give way
// to the next; a wait longer than one frame's delay can hold goes on in
// another frame; a write that fails is said, and the file is not put in place.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "gif_reader.h"
#include "panel/GifStream.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 4, kHeight = 2;
const std::vector<panel::GifColor> kPalette = {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}};

// Picture 'A', 'B', 'C': all white but for one red pixel at a place of its own.
std::vector<uint8_t> Picture(char name) {
    std::vector<uint8_t> pixels(kWidth * kHeight, 1);
    pixels[static_cast<size_t>(name - 'A') * 3] = 2;
    return pixels;
}

fs::path Scratch(const std::string& name) {
    const fs::path folder = fs::temp_directory_path() / "zor_gif_stream_test";
    fs::create_directories(folder);
    return folder / name;
}

struct Event {
    int64_t ms;
    char picture;
};

struct Timeline {
    const char* what;
    std::vector<Event> events;
    int64_t finishMs;
    std::vector<int> delays;  // hundredths, per frame in the file
    std::string shown;        // the picture after each frame
};

const Timeline kTimelines[] = {
    {"each picture shown until the next",
     {{0, 'A'}, {300, 'B'}, {500, 'A'}},
     1000,
     {30, 20, 50},
     "ABA"},
    {"an unchanged picture is no frame",
     {{0, 'A'}, {100, 'A'}, {200, 'B'}, {250, 'B'}},
     400,
     {20, 20},
     "AB"},
    {"changes at one instant give the last", {{0, 'A'}, {0, 'B'}, {0, 'C'}}, 0, {0}, "C"},
    {"under two hundredths gives way to the next",
     {{0, 'A'}, {100, 'B'}, {110, 'C'}, {300, 'A'}},
     300,
     {10, 20, 0},
     "ACA"},
    {"real time rounds to hundredths that add up",
     {{0, 'A'}, {33, 'B'}, {66, 'A'}, {99, 'B'}},
     133,
     {3, 4, 3, 3},
     "ABAB"},
    {"a wait past 655.35 s goes on in a frame of one pixel",
     {{0, 'A'}, {700000, 'B'}},
     700000,
     {65535, 4465, 0},
     "AAB"},
    {"a recording may begin late", {{5000, 'A'}, {5200, 'B'}}, 5300, {20, 10}, "AB"},
};

TEST(GifStreamTest, EachPictureIsShownForItsTime) {
    for (const Timeline& t : kTimelines) {
        const fs::path path = Scratch("timeline.gif");
        std::string error;
        auto file = std::make_unique<files::StreamedFile>();
        ASSERT_TRUE(file->Open(path.string(), error)) << error;
        panel::GifStream stream;
        stream.Open(std::move(file), path.string(), kWidth, kHeight, kPalette, "made by a test");
        for (const Event& e : t.events) stream.Picture(Picture(e.picture).data(), e.ms);
        ASSERT_TRUE(stream.Finish(t.finishMs, error)) << t.what << ": " << error;

        const zortest::GifAnimation gif = zortest::ReadGif(path.string());
        ASSERT_TRUE(gif.ok) << t.what << ": " << gif.error;
        EXPECT_EQ(gif.delays, t.delays) << t.what;
        ASSERT_EQ(gif.shown.size(), t.shown.size()) << t.what;
        for (size_t i = 0; i < t.shown.size(); ++i)
            EXPECT_EQ(gif.shown[i], Picture(t.shown[i])) << t.what << ", frame " << i;
        EXPECT_EQ(gif.width, kWidth);
        EXPECT_EQ(gif.palette[2], 0xFF0000u);
        EXPECT_TRUE(gif.loops);
        EXPECT_EQ(gif.comment, "made by a test");
    }
}

// Takes the bytes until a budget is spent, then refuses, as a full disk does.
class FillingSink : public files::ByteSink {
public:
    explicit FillingSink(size_t budget, bool* committed) : budget_(budget), committed_(committed) {}
    bool Write(std::string_view bytes) override {
        failed_ = failed_ || bytes.size() > budget_;
        if (!failed_) budget_ -= bytes.size();
        return !failed_;
    }
    bool Commit(std::string& error) override {
        if (failed_) error = "cannot write full.gif: No space left on device";
        *committed_ = !failed_;
        return !failed_;
    }

private:
    size_t budget_;
    bool* committed_;
    bool failed_ = false;
};

TEST(GifStreamTest, AWriteThatFailsIsSaidAndNothingIsPutInPlace) {
    for (size_t budget : {0, 40, 200}) {
        bool committed = true;
        panel::GifStream stream;
        stream.Open(std::make_unique<FillingSink>(budget, &committed), "full.gif", kWidth, kHeight,
                    kPalette, "");
        for (int i = 0; i < 20; ++i) stream.Picture(Picture(i % 2 ? 'A' : 'B').data(), i * 100);
        EXPECT_TRUE(stream.Failed()) << budget;
        std::string error;
        EXPECT_FALSE(stream.Finish(2000, error)) << budget;
        EXPECT_EQ(error, "cannot write full.gif: No space left on device");
        EXPECT_FALSE(committed);
    }
}

}  // namespace
