// The C API: a thin layer over the module's routines and the front panel's
// toolkit-free core, so that a host program sends exactly the window's bytes
// and sees exactly the window's picture.
#include "zor_lcdm.h"

#include <cstring>
#include <new>

#include "Lcdm.h"
#include "panel/HostPort.h"
#include "panel/LcdPicture.h"
#include "panel/Startup.h"

namespace {

static_assert(ZOR_LCDM_MEMORY_SIZE == lcdm::kModuleMemorySize);
static_assert(ZOR_LCDM_STORE_SIZE == lcdm::kLabelStoreSize);
static_assert(ZOR_LCDM_FRAME_SIZE == lcdm::kFrameBufferSize);
static_assert(ZOR_LCDM_FRAME_WIDTH == lcdm::kScreenWidth);
static_assert(ZOR_LCDM_FRAME_HEIGHT == lcdm::kScreenHeight);
static_assert(ZOR_LCDM_PICTURE_WIDTH == panel::kPictureWidth);
static_assert(ZOR_LCDM_PICTURE_HEIGHT == panel::kPictureHeight);
static_assert(ZOR_LCDM_PICTURE_SIZE == panel::kPictureRowBytes * panel::kPictureHeight);
static_assert(ZOR_LCDM_LINK_DONE == lcdm::kLinkDone && ZOR_LCDM_LINK_MORE == lcdm::kLinkMore &&
              ZOR_LCDM_LINK_REJECTED == lcdm::kLinkRejected);

// The window's way to the module; its bytes are the ones a host sends here.
panel::HostPort gPort;

// Module memory is all zeros until the first reset copies the default image
// in, so the first call of any function starts the module.
bool gStarted = false;

panel::HostPort& Started() {
    if (!gStarted) {
        lcdm::ModuleReset();
        gStarted = true;
    }
    return gPort;
}

zor_lcdm_delay_hook gDelayHook = nullptr;
void* gDelayContext = nullptr;

uint8_t CallDelayHook() {
    gDelayHook(gDelayContext);
    return 0;
}

// A range is refused whole when any byte of it lies at or past `size`;
// checked without forming address + count, which may wrap.
int32_t CheckRange(uint32_t address, const void* bytes, uint32_t count, uint32_t size) {
    if (address > size || count > size - address) return ZOR_LCDM_ERROR_RANGE;
    if (bytes == nullptr && count != 0) return ZOR_LCDM_ERROR_NULL;
    return ZOR_LCDM_OK;
}

}  // namespace

extern "C" {

const char* zor_lcdm_result_text(int32_t result) {
    switch (result) {
        case ZOR_LCDM_OK: return "done";
        case ZOR_LCDM_ERROR_RANGE:
            return "the address range reaches past the end of module memory (37344 bytes) or the "
                   "label store (8192 bytes); nothing was read or written";
        case ZOR_LCDM_ERROR_NULL: return "a buffer pointer is NULL; nothing was read or written";
        case ZOR_LCDM_ERROR_SCRIPT:
            return "the page script did not end normally: zor_lcdm_status() gives its status; "
                   "check the vocabulary at address 0";
        case ZOR_LCDM_ERROR_NO_MEMORY: return "out of memory during the start-up";
        default: return "unknown result";
    }
}

void zor_lcdm_reset(void) {
    lcdm::ModuleReset();
    gStarted = true;
}

uint8_t zor_lcdm_send(uint8_t byte, uint8_t* reply) {
    panel::HostPort& port = Started();
    const uint8_t link = port.Send(byte);
    if (reply) *reply = port.LastReply();
    return link;
}

int32_t zor_lcdm_send_buffer(const uint8_t* bytes, uint32_t count, uint8_t* replies,
                             uint8_t* link_codes) {
    if (bytes == nullptr && count != 0) return ZOR_LCDM_ERROR_NULL;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t link = zor_lcdm_send(bytes[i], replies ? &replies[i] : nullptr);
        if (link_codes) link_codes[i] = link;
    }
    return ZOR_LCDM_OK;
}

uint8_t zor_lcdm_status(void) {
    Started();
    return lcdm::Engine.StatusRegister;
}

void zor_lcdm_set_status(uint8_t value) {
    Started().SetStatus(value);
}

int32_t zor_lcdm_read_frame(uint8_t* frame) {
    if (frame == nullptr) return ZOR_LCDM_ERROR_NULL;
    Started();
    for (int i = 0; i < static_cast<int>(lcdm::kFrameBufferSize); ++i)
        frame[i] = lcdm::ReadFrameByte(i);
    return ZOR_LCDM_OK;
}

int32_t zor_lcdm_render_picture(uint8_t* picture) {
    if (picture == nullptr) return ZOR_LCDM_ERROR_NULL;
    Started();
    // A new picture is all white, so the two rows the renderer never draws
    // are white, as in the window.
    panel::LcdPicture lcd;
    panel::RenderLcd(lcd);
    std::memcpy(picture, lcd.Row(0), ZOR_LCDM_PICTURE_SIZE);
    return ZOR_LCDM_OK;
}

int32_t zor_lcdm_read_memory(uint32_t address, uint8_t* bytes, uint32_t count) {
    const int32_t result = CheckRange(address, bytes, count, ZOR_LCDM_MEMORY_SIZE);
    if (result != ZOR_LCDM_OK) return result;
    Started();
    for (uint32_t i = 0; i < count; ++i)
        bytes[i] = lcdm::ReadMemoryByte(static_cast<uint16_t>(address + i));
    return ZOR_LCDM_OK;
}

int32_t zor_lcdm_write_memory(uint32_t address, const uint8_t* bytes, uint32_t count) {
    const int32_t result = CheckRange(address, bytes, count, ZOR_LCDM_MEMORY_SIZE);
    if (result != ZOR_LCDM_OK) return result;
    Started();
    // Every address was checked, so no write can fail.
    for (uint32_t i = 0; i < count; ++i)
        lcdm::WriteMemoryByte(bytes[i], static_cast<uint16_t>(address + i));
    return ZOR_LCDM_OK;
}

int32_t zor_lcdm_read_store(uint32_t address, uint8_t* bytes, uint32_t count) {
    const int32_t result = CheckRange(address, bytes, count, ZOR_LCDM_STORE_SIZE);
    if (result != ZOR_LCDM_OK) return result;
    Started();
    // Byte by byte: the store's block routines refuse a block that ends at
    // its last byte, and the simulator's own access reaches every byte.
    for (uint32_t i = 0; i < count; ++i)
        bytes[i] = lcdm::ReadStoreByte(static_cast<uint16_t>(address + i));
    return ZOR_LCDM_OK;
}

int32_t zor_lcdm_write_store(uint32_t address, const uint8_t* bytes, uint32_t count) {
    const int32_t result = CheckRange(address, bytes, count, ZOR_LCDM_STORE_SIZE);
    if (result != ZOR_LCDM_OK) return result;
    Started();
    for (uint32_t i = 0; i < count; ++i)
        lcdm::WriteStoreByte(static_cast<uint16_t>(address + i), bytes[i]);
    return ZOR_LCDM_OK;
}

void zor_lcdm_set_delay_hook(zor_lcdm_delay_hook hook, void* context) {
    gDelayHook = hook;
    gDelayContext = context;
    lcdm::SetRenderLcdAndPump(hook ? &CallDelayHook : nullptr);
}

uint8_t zor_lcdm_tick(void) {
    panel::Timer2Timer(Started());
    return lcdm::Engine.DelayCounter;
}

int32_t zor_lcdm_start_up(void) {
    panel::HostPort& port = Started();
    // Each start-up is that of a newly opened window, whose first
    // activation shows the start-up screen.
    panel::PanelState window;
    try {
        panel::FormCreate(port);
        panel::FormActivate(port, window);
        panel::SplashTimerTimer(port);
    } catch (const std::bad_alloc&) {
        // The panel core names its direct accesses in strings; a C caller
        // must never see the exception.
        return ZOR_LCDM_ERROR_NO_MEMORY;
    }
    // The splash timer's last byte completes 81 09 00; its echo says the
    // page script ended normally.
    return port.LastReply() == 0x81 ? ZOR_LCDM_OK : ZOR_LCDM_ERROR_SCRIPT;
}

}  // extern "C"
