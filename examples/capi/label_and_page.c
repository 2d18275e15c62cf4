/* A small host program against the LCD module's C API: it starts the module
 * as the window does, stores the text label "Hi" on key 2, switches to the
 * page of keys 5 to 8, checks every reply as host firmware would, and writes
 * the frame as a PBM picture.
 *
 *   label_and_page OUTPUT.pbm
 *
 * Exit status: 0 done, 1 the module refused a command, 2 bad usage or the
 * picture could not be written. */
#include <errno.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "zor_lcdm.h"

/* One command: its bytes in order and the reply its last byte must bring
 * back. Every byte before the last must be taken as "more to come". */
struct command {
    const char* what;
    uint8_t bytes[3];
    uint8_t count;
    uint8_t reply;
};

/* The bytes of the window's "Text Label" Send for key 2 and the text "Hi",
 * then its "Next Page". A command that succeeds answers with its own first
 * byte; 60 appends one byte to the module's data buffer, 61 selects the key,
 * 24 stores the buffer as the selected key's label (and redraws the page),
 * 81 09 01 runs script 9, "show page", with page 1. The window sends three
 * 00 bytes before 81 to reach a command boundary whatever was left half-sent;
 * this host knows it is at one, since every command before completed. */
static const struct command commands[] = {
    {"empty the data buffer", {0x09}, 1, 0x09},
    {"data byte: language 1", {0x60, 0x01}, 2, 0x60},
    {"data byte: 'H'", {0x60, 'H'}, 2, 0x60},
    {"data byte: 'i'", {0x60, 'i'}, 2, 0x60},
    {"select key 2", {0x61, 0x02}, 2, 0x61},
    {"store the label", {0x24}, 1, 0x24},
    {"show page 1 (keys 5 to 8)", {0x81, 0x09, 0x01}, 3, 0x81},
};

static int send_command(const struct command* command) {
    uint8_t i;
    for (i = 0; i < command->count; ++i) {
        const int last = i + 1 == command->count;
        uint8_t reply = 0;
        const uint8_t link = zor_lcdm_send(command->bytes[i], &reply);
        const uint8_t expected_link = last ? ZOR_LCDM_LINK_DONE : ZOR_LCDM_LINK_MORE;
        const uint8_t expected_reply = last ? command->reply : 0;
        if (link != expected_link || reply != expected_reply) {
            fprintf(stderr,
                    "label_and_page: %s: byte %u of %u (0x%02X) got link code %u and reply "
                    "0x%02X, expected link code %u and reply 0x%02X (module status %u)\n",
                    command->what, (unsigned)i + 1, (unsigned)command->count,
                    (unsigned)command->bytes[i], (unsigned)link, (unsigned)reply,
                    (unsigned)expected_link, (unsigned)expected_reply, (unsigned)zor_lcdm_status());
            return 0;
        }
    }
    return 1;
}

/* The frame as plain PBM: "1" is a dark pixel in both. */
static int write_pbm(const char* path) {
    uint8_t frame[ZOR_LCDM_FRAME_SIZE];
    unsigned x, y;
    int written;
    FILE* file;
    if (zor_lcdm_read_frame(frame) != ZOR_LCDM_OK) return 0;
    file = fopen(path, "w");
    if (file == NULL) return 0;
    fprintf(file, "P1\n%u %u\n", ZOR_LCDM_FRAME_WIDTH, ZOR_LCDM_FRAME_HEIGHT);
    for (y = 0; y < ZOR_LCDM_FRAME_HEIGHT; ++y) {
        for (x = 0; x < ZOR_LCDM_FRAME_WIDTH; ++x) {
            const uint8_t byte = frame[y * ZOR_LCDM_FRAME_ROW_BYTES + x / 8];
            fputc((byte & (0x80 >> (x % 8))) ? '1' : '0', file);
        }
        fputc('\n', file);
    }
    written = !ferror(file);
    /* fclose flushes: a full disk may show only here. */
    if (fclose(file) != 0) written = 0;
    return written;
}

int main(int argc, char** argv) {
    size_t i;
    int32_t result;
    if (argc != 2) {
        fprintf(stderr, "usage: label_and_page OUTPUT.pbm\n");
        return 2;
    }
    zor_lcdm_reset();
    result = zor_lcdm_start_up();
    if (result != ZOR_LCDM_OK) {
        fprintf(stderr, "label_and_page: start-up: %s\n", zor_lcdm_result_text(result));
        return 1;
    }
    for (i = 0; i < sizeof commands / sizeof commands[0]; ++i)
        if (!send_command(&commands[i])) return 1;
    if (!write_pbm(argv[1])) {
        fprintf(stderr, "label_and_page: cannot write %s: %s\n", argv[1], strerror(errno));
        return 2;
    }
    return 0;
}
