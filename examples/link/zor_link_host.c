/* A host program that drives the LCD module over its byte link, as the
 * firmware of the key unit does: one byte out, one reply byte back.
 *
 *   zor_link_host DEVICE              a serial line: /dev/ttyUSB0, or the
 *                                     pseudo-terminal zorhost --link pty gives
 *   zor_link_host tcp:HOST:PORT       zorhost --link tcp:PORT
 *
 * It stores the text label "Hi" on key 2 and switches the page to keys 5-8,
 * checking every reply, and exits 0 when every reply was the expected one.
 * Plain C99 and POSIX: termios for the line, sockets for TCP. */
#define _DEFAULT_SOURCE /* cfmakeraw */
#define _POSIX_C_SOURCE 200809L
#include <errno.h>
#include <fcntl.h>
#include <netdb.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

static int link_fd = -1;
static int mismatches = 0;

/* Opens a serial device raw (no echo, no line editing, 8 bits). */
static int open_line(const char* device) {
    struct termios settings;
    int fd = open(device, O_RDWR | O_NOCTTY);
    if (fd < 0) return -1;
    if (tcgetattr(fd, &settings) == 0) {
        cfmakeraw(&settings);
        cfsetispeed(&settings, B115200);
        cfsetospeed(&settings, B115200);
        tcsetattr(fd, TCSANOW, &settings);
    }
    return fd;
}

/* Connects to "HOST:PORT". */
static int open_tcp(const char* where) {
    char host[256];
    const char* colon = strrchr(where, ':');
    struct addrinfo hints, *found, *each;
    int fd = -1;
    if (colon == NULL || (size_t)(colon - where) >= sizeof host) {
        errno = EINVAL;
        return -1;
    }
    memcpy(host, where, (size_t)(colon - where));
    host[colon - where] = '\0';
    memset(&hints, 0, sizeof hints);
    hints.ai_socktype = SOCK_STREAM;
    if (getaddrinfo(host, colon + 1, &hints, &found) != 0) {
        errno = EINVAL;
        return -1;
    }
    for (each = found; each != NULL && fd < 0; each = each->ai_next) {
        fd = socket(each->ai_family, each->ai_socktype, each->ai_protocol);
        if (fd >= 0 && connect(fd, each->ai_addr, each->ai_addrlen) != 0) {
            close(fd);
            fd = -1;
        }
    }
    freeaddrinfo(found);
    return fd;
}

/* Sends one byte and returns the module's reply, or -1 when the link broke. */
static int exchange(unsigned char byte) {
    unsigned char reply;
    ssize_t got;
    if (write(link_fd, &byte, 1) != 1) return -1;
    do {
        got = read(link_fd, &reply, 1);
    } while (got < 0 && errno == EINTR);
    return got == 1 ? reply : -1;
}

/* Sends `count` bytes, checking each reply against `expected`. */
static void send_checked(const char* what, const unsigned char* bytes,
                         const unsigned char* expected, size_t count) {
    size_t i;
    printf("%-28s", what);
    for (i = 0; i < count; ++i) {
        int reply = exchange(bytes[i]);
        printf(" %02X>%02X", bytes[i], reply < 0 ? 0 : reply);
        if (reply != expected[i]) {
            printf(" (expected %02X)", expected[i]);
            ++mismatches;
        }
    }
    printf("\n");
}

int main(int argc, char** argv) {
    /* Three 0x00 bring the link to a command boundary whatever came before. */
    static const unsigned char sync[] = {0x00, 0x00, 0x00};
    static const unsigned char sync_replies[] = {0x00, 0x00, 0x00};
    /* Empty the data buffer, language 1, 'H', 'i', select key 2, store. A
     * two-byte command answers 0 to its first byte and echoes it on the
     * second; a one-byte command echoes itself. */
    static const unsigned char label[] = {0x09, 0x60, 0x01, 0x60, 'H', 0x60, 'i',
                                          0x61, 0x02, 0x24};
    static const unsigned char label_replies[] = {0x09, 0x00, 0x60, 0x00, 0x60, 0x00, 0x60,
                                                  0x00, 0x61, 0x24};
    /* Run script 9 (show a page) with parameter 1 (keys 5-8); the reply
     * echoes 0x81 when the script ended normally. */
    static const unsigned char page[] = {0x81, 0x09, 0x01};
    static const unsigned char page_replies[] = {0x00, 0x00, 0x81};

    if (argc != 2) {
        fprintf(stderr, "usage: zor_link_host DEVICE | tcp:HOST:PORT\n");
        return 2;
    }
    link_fd = strncmp(argv[1], "tcp:", 4) == 0 ? open_tcp(argv[1] + 4) : open_line(argv[1]);
    if (link_fd < 0) {
        fprintf(stderr, "zor_link_host: cannot open %s: %s\n", argv[1], strerror(errno));
        return 2;
    }
    send_checked("resynchronise", sync, sync_replies, sizeof sync);
    send_checked("text label \"Hi\" on key 2", label, label_replies, sizeof label);
    send_checked("show keys 5-8", page, page_replies, sizeof page);
    close(link_fd);
    if (mismatches > 0) {
        fprintf(stderr, "zor_link_host: %d replies were not the expected ones\n", mismatches);
        return 1;
    }
    return 0;
}
