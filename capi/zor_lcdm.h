/* zor_lcdm.h: the ZOR Simulator's LCD module as a library for host programs.
 *
 * ONE MODULE PER PROCESS. The module is a single set of process-wide state,
 * as on the unit itself: every function here acts on that one module, none
 * of them is safe to call from two threads at once, and there is no handle.
 * A host program that needs two modules runs two processes.
 *
 * The host talks to the module the way its firmware does on the unit: one
 * byte out, one link code and one reply byte back (zor_lcdm_send). The other
 * functions are the simulator's own access, which a physical host does not
 * have: reading the frame buffer and the window's picture, reading and
 * writing module memory and the label store directly, the status register,
 * the DELAY hook and timer tick, and the window's start-up sequence.
 *
 * Before the first call the module is in its program-start state, as after
 * zor_lcdm_reset(). Plain C99 and C++; fixed-width integer types only.
 * Link with -lzor-lcdm -lstdc++ (pkg-config zor-lcdm, or the CMake target
 * ZorLcdm::zor_lcdm, says so for you). */
#ifndef ZOR_LCDM_H
#define ZOR_LCDM_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- sizes ---------------------------------------------------------- */

/* Module memory: addresses 0 to 37343. */
#define ZOR_LCDM_MEMORY_SIZE 37344u
/* The label store: addresses 0 to 8191. */
#define ZOR_LCDM_STORE_SIZE 8192u
/* The frame buffer: 64 x 128 pixels, one bit each, 8 bytes a row. */
#define ZOR_LCDM_FRAME_WIDTH 64u
#define ZOR_LCDM_FRAME_HEIGHT 128u
#define ZOR_LCDM_FRAME_ROW_BYTES 8u
#define ZOR_LCDM_FRAME_SIZE 1024u
/* The window's LCD picture: the frame doubled, 128 x 256 pixels, 16 bytes a row. */
#define ZOR_LCDM_PICTURE_WIDTH 128u
#define ZOR_LCDM_PICTURE_HEIGHT 256u
#define ZOR_LCDM_PICTURE_ROW_BYTES 16u
#define ZOR_LCDM_PICTURE_SIZE 4096u

/* ---- link codes: what zor_lcdm_send returns ------------------------- */

/* The byte completed a command, which has been carried out; the reply is its answer. */
#define ZOR_LCDM_LINK_DONE 0u
/* The byte was stored; the command needs more bytes. The reply is 0. */
#define ZOR_LCDM_LINK_MORE 7u
/* The byte (0xC0 to 0xFF) was refused as a first byte and discarded. The reply is 0. */
#define ZOR_LCDM_LINK_REJECTED 12u

/* ---- results of the access functions -------------------------------- */

#define ZOR_LCDM_OK 0
/* An address range reaches past the end of module memory or the label store. */
#define ZOR_LCDM_ERROR_RANGE 1
/* A buffer pointer is NULL where bytes were to be read or written. */
#define ZOR_LCDM_ERROR_NULL 2
/* The start-up's page script did not end normally (zor_lcdm_status() says why). */
#define ZOR_LCDM_ERROR_SCRIPT 3
/* The simulator could not allocate the little memory the start-up needs. */
#define ZOR_LCDM_ERROR_NO_MEMORY 4

/* A one-line English description of a result above, for error messages;
 * "unknown result" for any other value. The text is static: never free it. */
const char* zor_lcdm_result_text(int32_t result);

/* ---- the module ----------------------------------------------------- */

/* Restores the module to its program-start state: the default vocabulary
 * image in module memory, the label store all 0, a clear screen, no
 * vocabulary initialised, every engine variable at its initial value, the
 * link idle. The DELAY hook stays set. */
void zor_lcdm_reset(void);

/* Sends one host byte, as the host's link does. Returns the link code
 * (ZOR_LCDM_LINK_DONE, _MORE or _REJECTED); stores the module's reply byte
 * in *reply unless reply is NULL. A command that succeeds replies with its
 * own first byte ("60 48", one data byte, replies 0x60), one that fails
 * or is refused replies 0, a query replies the value asked for. A byte that
 * completes a script-running command runs the script inside this call; its
 * DELAY waits call the DELAY hook. */
uint8_t zor_lcdm_send(uint8_t byte, uint8_t* reply);

/* Sends count bytes in order, exactly as count calls of zor_lcdm_send: it
 * does not stop at a refused byte or a reply of 0. replies[i] and
 * link_codes[i] receive each byte's answer; either array may be NULL when
 * the caller does not want it, else it must hold count bytes. Returns
 * ZOR_LCDM_OK, or ZOR_LCDM_ERROR_NULL (nothing sent) when bytes is NULL and
 * count is not 0. */
int32_t zor_lcdm_send_buffer(const uint8_t* bytes, uint32_t count, uint8_t* replies,
                             uint8_t* link_codes);

/* The status register: 0 no error, 1 the last script ended normally, 9 an
 * address beyond module memory, 12 an unassigned command, other values the
 * error a script stopped with (40: it ran a million tags without waiting in
 * DELAY). No host byte reads it; it is here for the host's tests. */
uint8_t zor_lcdm_status(void);

/* Writes the status register directly, as the window does before each of
 * its set-variable and run-script commands. A physical host cannot. */
void zor_lcdm_set_status(uint8_t value);

/* ---- the screen ----------------------------------------------------- */

/* Copies the frame buffer into frame, which must hold ZOR_LCDM_FRAME_SIZE
 * (1024) bytes: rows top to bottom, 8 bytes a row; pixel (x, y) is bit
 * 0x80 >> (x % 8) of byte y * 8 + x / 8, and a set bit is a dark (lit)
 * pixel. Returns ZOR_LCDM_OK, or ZOR_LCDM_ERROR_NULL for a NULL frame. */
int32_t zor_lcdm_read_frame(uint8_t* frame);

/* Draws the picture the window shows into picture, which must hold
 * ZOR_LCDM_PICTURE_SIZE (4096) bytes: 128 x 256 pixels, each frame pixel a
 * 2 x 2 block, rows top to bottom, 16 bytes a row, the leftmost pixel in
 * bit 0x80. Here a CLEAR bit is a dark pixel and a set bit is white (the
 * window's palette: index 0 black, 1 white), the opposite of the frame
 * buffer. As in the window, the module's bottom row does not show: picture
 * rows 254 and 255 are always white. Returns ZOR_LCDM_OK, or
 * ZOR_LCDM_ERROR_NULL for a NULL picture. */
int32_t zor_lcdm_render_picture(uint8_t* picture);

/* ---- module memory and the label store ------------------------------ */

/* Reads count bytes of module memory from address into bytes. The whole
 * range address .. address + count - 1 must lie below ZOR_LCDM_MEMORY_SIZE;
 * otherwise nothing is read and the result is ZOR_LCDM_ERROR_RANGE. bytes
 * may be NULL only when count is 0 (else ZOR_LCDM_ERROR_NULL). */
int32_t zor_lcdm_read_memory(uint32_t address, uint8_t* bytes, uint32_t count);

/* Writes count bytes into module memory from address; the same range and
 * NULL checks as zor_lcdm_read_memory, and a refused range writes nothing.
 * The module notices nothing: a vocabulary written here is used once the
 * host initialises it (command 67 AC with the address pointer at its start,
 * or zor_lcdm_start_up for one at address 0). */
int32_t zor_lcdm_write_memory(uint32_t address, const uint8_t* bytes, uint32_t count);

/* Reads count bytes of the label store from address; the range must lie
 * below ZOR_LCDM_STORE_SIZE, with the same results as zor_lcdm_read_memory. */
int32_t zor_lcdm_read_store(uint32_t address, uint8_t* bytes, uint32_t count);

/* Writes count bytes into the label store from address; the range must lie
 * below ZOR_LCDM_STORE_SIZE, and a refused range writes nothing. Key labels
 * written here show after the next redraw (command 81 0A FF). */
int32_t zor_lcdm_write_store(uint32_t address, const uint8_t* bytes, uint32_t count);

/* ---- time ----------------------------------------------------------- */

/* Called on each pass of a DELAY wait with the context given to
 * zor_lcdm_set_delay_hook. The wait lasts until the delay counter reaches 0,
 * so the hook must call zor_lcdm_tick() (at once for virtual time, or when
 * its own 100 ms timer fires), or the wait never ends. It may send host
 * bytes; they are carried out inside the wait, as the window's controls
 * are. It must return normally (a C++ hook must not throw), and should not
 * reset the module: the waiting script would go on over the fresh one. */
typedef void (*zor_lcdm_delay_hook)(void* context);

/* Sets the DELAY hook; NULL (the start) goes back to virtual time, where
 * each pass counts one tick itself, so DELAY n returns after max(n, 1)
 * passes and no real time passes. */
void zor_lcdm_set_delay_hook(zor_lcdm_delay_hook hook, void* context);

/* One tick of the window's 100 ms timer: the delay counter falls by one
 * while above 0. Returns the counter after the tick (0: no wait is left). */
uint8_t zor_lcdm_tick(void);

/* ---- start-up ------------------------------------------------------- */

/* The start-up of the window when it opens, byte for byte, on the module as
 * it is: when the window is created (the label store filled with 255, so
 * every key label is erased; every key 1 to 8 given the "Toggle" function;
 * the vocabulary at address 0 initialised), when it is first activated (the
 * vocabulary initialised again and script 0, the start-up screen with its
 * DELAY waits, run) and when its splash timer fires (script 9 shows page 0).
 * Every call does all three, as a newly opened window would; what page 0
 * looks like depends on the module's state before the call (a previous
 * start-up leaves the language at 255, and the page is then drawn in the
 * built-in font), so call zor_lcdm_reset() first to get exactly what the
 * window shows when it opens. Returns ZOR_LCDM_OK when page 0 was drawn
 * (the page script ended normally), ZOR_LCDM_ERROR_SCRIPT when it was not
 * (no such script in the vocabulary at address 0), or
 * ZOR_LCDM_ERROR_NO_MEMORY. */
int32_t zor_lcdm_start_up(void);

#ifdef __cplusplus
}
#endif

#endif /* ZOR_LCDM_H */
