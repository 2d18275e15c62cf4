// The C API over the one module of the process: link codes and replies, the
// range checks of memory and label store access, and the start-up, the
// picture and the DELAY hook against what the front panel's own code does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "Lcdm.h"
#include "panel/HostPort.h"
#include "panel/LcdPicture.h"
#include "panel/Startup.h"
#include "zor_lcdm.h"

namespace {

using Bytes = std::vector<uint8_t>;

class CapiTest : public ::testing::Test {
protected:
    void SetUp() override { zor_lcdm_reset(); }
    void TearDown() override { zor_lcdm_set_delay_hook(nullptr, nullptr); }
};

Bytes Memory() {
    Bytes bytes(ZOR_LCDM_MEMORY_SIZE);
    EXPECT_EQ(zor_lcdm_read_memory(0, bytes.data(), ZOR_LCDM_MEMORY_SIZE), ZOR_LCDM_OK);
    return bytes;
}

Bytes Store() {
    Bytes bytes(ZOR_LCDM_STORE_SIZE);
    EXPECT_EQ(zor_lcdm_read_store(0, bytes.data(), ZOR_LCDM_STORE_SIZE), ZOR_LCDM_OK);
    return bytes;
}

Bytes Frame() {
    Bytes frame(ZOR_LCDM_FRAME_SIZE);
    EXPECT_EQ(zor_lcdm_read_frame(frame.data()), ZOR_LCDM_OK);
    return frame;
}

Bytes Picture() {
    Bytes picture(ZOR_LCDM_PICTURE_SIZE);
    EXPECT_EQ(zor_lcdm_render_picture(picture.data()), ZOR_LCDM_OK);
    return picture;
}

// Sends bytes one at a time; the link codes and replies in order.
std::pair<Bytes, Bytes> SendEach(const Bytes& bytes) {
    Bytes links, replies;
    for (uint8_t byte : bytes) {
        uint8_t reply = 0xEE;
        links.push_back(zor_lcdm_send(byte, &reply));
        replies.push_back(reply);
    }
    return {links, replies};
}

// Defined first, so that it also runs first when the whole suite shares one
// process: module memory is all zeros until something resets it, and the
// API must never let a host see that.
TEST(CapiFirstCallTest, TheModuleStartsWithTheDefaultImage) {
    Bytes memory(ZOR_LCDM_MEMORY_SIZE);
    ASSERT_EQ(zor_lcdm_read_memory(0, memory.data(), ZOR_LCDM_MEMORY_SIZE), ZOR_LCDM_OK);
    EXPECT_EQ(std::memcmp(memory.data(), lcdm::DefaultImage, memory.size()), 0);
}

TEST_F(CapiTest, SendAndSendBufferGiveTheLinkCodesRepliesAndStatus) {
    struct Case {
        const char* what;
        Bytes bytes, links, replies;
        uint8_t status;
    };
    const Case cases[] = {
        {"a query answers its value", {0x01}, {0}, {0x24}, 0},
        {"0x00 echoes itself", {0x00}, {0}, {0x00}, 0},
        {"three bytes, echo on the last", {0x80, 0x05, 0x07}, {7, 7, 0}, {0, 0, 0x80}, 0},
        {"a first byte above 0xBF is refused, the next starts afresh",
         {0xC3, 0x01},
         {12, 0},
         {0, 0x24},
         0},
        {"an operand may be above 0xBF", {0x40, 0xC5}, {7, 0}, {0, 0x40}, 0},
        {"an unassigned command", {0x04}, {0}, {0}, 12},
        {"no confirmation byte", {0x63, 0x00}, {7, 0}, {0, 0}, 0},
        {"a fixed answer", {0x63, 0xAC}, {7, 0}, {0, 4}, 0},
        {"a memory write past the end",
         {0x82, 0x91, 0xE0, 0x62, 0x55},
         {7, 7, 0, 7, 0},
         {0, 0, 0x82, 0, 0},
         9},
        {"a script of no vocabulary", {0x81, 0x0A, 0xFF}, {7, 7, 0}, {0, 0, 0}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        zor_lcdm_reset();
        const auto [links, replies] = SendEach(c.bytes);
        EXPECT_EQ(links, c.links);
        EXPECT_EQ(replies, c.replies);
        EXPECT_EQ(zor_lcdm_status(), c.status);

        zor_lcdm_reset();
        const auto count = static_cast<uint32_t>(c.bytes.size());
        Bytes bufferLinks(count, 0xEE), bufferReplies(count, 0xEE);
        ASSERT_EQ(
            zor_lcdm_send_buffer(c.bytes.data(), count, bufferReplies.data(), bufferLinks.data()),
            ZOR_LCDM_OK);
        EXPECT_EQ(bufferLinks, c.links);
        EXPECT_EQ(bufferReplies, c.replies);
        EXPECT_EQ(zor_lcdm_status(), c.status);

        // Neither array wanted: the bytes still reach the module.
        zor_lcdm_reset();
        ASSERT_EQ(zor_lcdm_send_buffer(c.bytes.data(), count, nullptr, nullptr), ZOR_LCDM_OK);
        EXPECT_EQ(zor_lcdm_status(), c.status);
    }
    // No bytes: refused before anything is sent.
    zor_lcdm_reset();
    EXPECT_EQ(zor_lcdm_send_buffer(nullptr, 1, nullptr, nullptr), ZOR_LCDM_ERROR_NULL);
    EXPECT_EQ(zor_lcdm_send_buffer(nullptr, 0, nullptr, nullptr), ZOR_LCDM_OK);
}

TEST_F(CapiTest, MemoryAndStoreRangesAreCheckedWhole) {
    struct Case {
        bool store;
        uint32_t address, count;
        int32_t result;
    };
    constexpr uint32_t kMemory = ZOR_LCDM_MEMORY_SIZE, kStore = ZOR_LCDM_STORE_SIZE;
    const Case cases[] = {
        {false, 0, kMemory, ZOR_LCDM_OK},
        {false, kMemory - 1, 1, ZOR_LCDM_OK},
        {false, kMemory - 1, 2, ZOR_LCDM_ERROR_RANGE},
        {false, kMemory, 0, ZOR_LCDM_OK},
        {false, kMemory, 1, ZOR_LCDM_ERROR_RANGE},
        {false, kMemory + 1, 0, ZOR_LCDM_ERROR_RANGE},
        {false, 65535, 1, ZOR_LCDM_ERROR_RANGE},        // a 16-bit address past the end
        {false, 0xFFFFFFFFu, 2, ZOR_LCDM_ERROR_RANGE},  // address + count wraps to 1
        {false, 1, 0xFFFFFFFFu, ZOR_LCDM_ERROR_RANGE},
        {true, 0, kStore, ZOR_LCDM_OK},
        {true, kStore - 2, 2, ZOR_LCDM_OK},  // the module's block routines refuse this one
        {true, kStore - 1, 2, ZOR_LCDM_ERROR_RANGE},
        {true, kStore, 1, ZOR_LCDM_ERROR_RANGE},
        {true, 65536 + 16, 1, ZOR_LCDM_ERROR_RANGE},  // would land on byte 16 if cut to 16 bits
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << (c.store ? "store " : "memory ") << c.address << " + " << c.count);
        zor_lcdm_reset();
        const Bytes before = c.store ? Store() : Memory();
        Bytes bytes(c.count == 0xFFFFFFFFu ? 16 : c.count);
        for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
        const int32_t written = c.store ? zor_lcdm_write_store(c.address, bytes.data(), c.count)
                                        : zor_lcdm_write_memory(c.address, bytes.data(), c.count);
        EXPECT_EQ(written, c.result);
        const Bytes after = c.store ? Store() : Memory();
        if (c.result != ZOR_LCDM_OK) {
            EXPECT_EQ(after, before);  // nothing written
        } else if (c.count > 0) {
            EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), after.begin() + c.address));
        }
        Bytes read(bytes.size(), 0xEE);
        const int32_t result = c.store ? zor_lcdm_read_store(c.address, read.data(), c.count)
                                       : zor_lcdm_read_memory(c.address, read.data(), c.count);
        EXPECT_EQ(result, c.result);
        // A refused read leaves the buffer as it was.
        EXPECT_EQ(read, c.result == ZOR_LCDM_OK ? bytes : Bytes(bytes.size(), 0xEE));
    }
    EXPECT_EQ(zor_lcdm_read_memory(0, nullptr, 1), ZOR_LCDM_ERROR_NULL);
    EXPECT_EQ(zor_lcdm_write_store(0, nullptr, 1), ZOR_LCDM_ERROR_NULL);
    EXPECT_EQ(zor_lcdm_read_store(0, nullptr, 0), ZOR_LCDM_OK);
    EXPECT_EQ(zor_lcdm_read_frame(nullptr), ZOR_LCDM_ERROR_NULL);
    EXPECT_EQ(zor_lcdm_render_picture(nullptr), ZOR_LCDM_ERROR_NULL);
}

TEST_F(CapiTest, MemoryAndStoreAccessReachWhatTheModuleUses) {
    // Memory written over the link (at 20000, past the default vocabulary)
    // reads back through the API.
    SendEach({0x82, 0x4E, 0x20, 0x62, 0xAB, 0x62, 0xCD});
    Bytes two(2);
    ASSERT_EQ(zor_lcdm_read_memory(20000, two.data(), 2), ZOR_LCDM_OK);
    EXPECT_EQ(two, (Bytes{0xAB, 0xCD}));

    // A key label stored over the link lands in the store the API reads...
    ASSERT_EQ(zor_lcdm_start_up(), ZOR_LCDM_OK);
    const Bytes blankStore = Store();
    const Bytes blankFrame = Frame();
    SendEach({0x09, 0x60, 0x01, 0x60, 'H', 0x60, 'i', 0x61, 0x02, 0x24});
    const Bytes labelStore = Store();
    const Bytes labelFrame = Frame();
    ASSERT_NE(labelFrame, blankFrame);
    const uint8_t hi[] = {'H', 'i'};
    const auto record2 = labelStore.begin() + 2 * 128;
    EXPECT_NE(std::search(record2, record2 + 128, hi, hi + 2), record2 + 128);

    // ... and the store the API writes is the one the module draws from.
    zor_lcdm_reset();
    ASSERT_EQ(zor_lcdm_start_up(), ZOR_LCDM_OK);
    ASSERT_EQ(Store(), blankStore);
    ASSERT_EQ(zor_lcdm_write_store(0, labelStore.data(), ZOR_LCDM_STORE_SIZE), ZOR_LCDM_OK);
    EXPECT_EQ(Frame(), blankFrame);  // the module notices at the next redraw
    SendEach({0x81, 0x0A, 0xFF});
    EXPECT_EQ(Frame(), labelFrame);
}

TEST_F(CapiTest, StartUpAndPictureAreThePanelsOwn) {
    ASSERT_EQ(zor_lcdm_start_up(), ZOR_LCDM_OK);
    const Bytes frame = Frame(), picture = Picture(), store = Store();
    const uint8_t status = zor_lcdm_status();

    lcdm::ModuleReset();
    panel::HostPort port;
    panel::PanelState state;
    panel::FormCreate(port);
    panel::FormActivate(port, state);
    panel::SplashTimerTimer(port);
    panel::LcdPicture window;
    panel::RenderLcd(window);

    EXPECT_EQ(frame,
              Bytes(lcdm::Graphics.FrameBuffer, lcdm::Graphics.FrameBuffer + ZOR_LCDM_FRAME_SIZE));
    EXPECT_EQ(picture, Bytes(window.Row(0), window.Row(0) + ZOR_LCDM_PICTURE_SIZE));
    EXPECT_EQ(store, Store());
    EXPECT_EQ(status, zor_lcdm_status());

    // The bit meanings the header promises: a set frame bit is dark, a clear
    // picture bit is dark, each frame pixel a 2 x 2 block, the bottom module
    // row not shown.
    int dark = 0;
    for (uint32_t y = 0; y < ZOR_LCDM_PICTURE_HEIGHT; ++y)
        for (uint32_t x = 0; x < ZOR_LCDM_PICTURE_WIDTH; ++x) {
            const uint32_t fx = x / 2, fy = y / 2;
            const bool frameDark =
                fy < ZOR_LCDM_FRAME_HEIGHT - 1 &&
                (frame[fy * ZOR_LCDM_FRAME_ROW_BYTES + fx / 8] & (0x80 >> (fx % 8))) != 0;
            const bool pictureDark =
                (picture[y * ZOR_LCDM_PICTURE_ROW_BYTES + x / 8] & (0x80 >> (x % 8))) == 0;
            ASSERT_EQ(pictureDark, frameDark) << x << ", " << y;
            dark += pictureDark;
        }
    EXPECT_GT(dark, 1000);  // page 0 is drawn, not a blank screen

    // A vocabulary without a page script: the start-up says so.
    zor_lcdm_reset();
    const uint8_t endMarker[] = {0xFF, 0xFF};
    ASSERT_EQ(zor_lcdm_write_memory(0, endMarker, 2), ZOR_LCDM_OK);
    EXPECT_EQ(zor_lcdm_start_up(), ZOR_LCDM_ERROR_SCRIPT);
}

struct HookCalls {
    int calls = 0;
    int skipTicks = 0;  // calls that pass without the timer firing
};

void CountingHook(void* context) {
    auto* hook = static_cast<HookCalls*>(context);
    ++hook->calls;
    if (hook->skipTicks > 0)
        --hook->skipTicks;
    else
        zor_lcdm_tick();
}

TEST_F(CapiTest, DelayWaitsCallTheHookUntilTheTicksRunOut) {
    HookCalls ticking;
    zor_lcdm_set_delay_hook(&CountingHook, &ticking);
    ASSERT_EQ(zor_lcdm_start_up(), ZOR_LCDM_OK);
    const Bytes frame = Frame();
    ASSERT_GT(ticking.calls, 0);  // the start-up screen waits

    // Passes in which the timer does not fire lengthen the wait by as many.
    zor_lcdm_reset();
    HookCalls slow;
    slow.skipTicks = 5;
    zor_lcdm_set_delay_hook(&CountingHook, &slow);
    ASSERT_EQ(zor_lcdm_start_up(), ZOR_LCDM_OK);
    EXPECT_EQ(slow.calls, ticking.calls + 5);
    EXPECT_EQ(Frame(), frame);

    // Every start-up shows the start-up screen, as a newly opened window does.
    HookCalls again;
    zor_lcdm_set_delay_hook(&CountingHook, &again);
    ASSERT_EQ(zor_lcdm_start_up(), ZOR_LCDM_OK);
    EXPECT_EQ(again.calls, ticking.calls);

    // No hook: virtual time, the same page.
    zor_lcdm_set_delay_hook(nullptr, nullptr);
    zor_lcdm_reset();
    ASSERT_EQ(zor_lcdm_start_up(), ZOR_LCDM_OK);
    EXPECT_EQ(Frame(), frame);
    EXPECT_EQ(again.calls, ticking.calls);  // the hook is gone
    EXPECT_EQ(zor_lcdm_tick(), 0);          // no wait left; the counter stays at 0
}

}  // namespace
