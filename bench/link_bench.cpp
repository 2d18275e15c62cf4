// Host bytes per second through zorhost's link, as a host program sees them:
// zorhost --link runs as its own process, and the benchmark is its client,
// sending 1 MB of the harmless one-byte command 0x00 and reading every reply.
// The client sends ahead of the replies (pipelined), as firmware with a
// transmit buffer does. A real wire at 115,200 baud carries 11.5 kB/s.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

constexpr size_t kBytes = 1 << 20;

// zorhost serving `endpoint`, for as long as this object lives.
class Server {
public:
    explicit Server(const std::string& endpoint) {
        int out[2];
        if (::pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::string link = "--link=" + endpoint;
        char* argv[] = {const_cast<char*>(ZORHOST), link.data(), nullptr};
        if (posix_spawn(&pid_, ZORHOST, &actions, nullptr, argv, environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        // Its first line says where to connect: "link: WHERE".
        std::string line;
        char c;
        while (::read(out[0], &c, 1) == 1 && c != '\n') line += c;
        ::close(out[0]);
        if (line.rfind("link: ", 0) == 0) where_ = line.substr(6);
    }
    ~Server() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
    const std::string& Where() const { return where_; }

private:
    pid_t pid_ = -1;
    std::string where_;
};

// Sends kBytes zeros from a second thread while this one reads the replies;
// false when the link broke or a reply was not 0.
bool Exchange(int fd) {
    std::thread writer([fd] {
        const std::vector<char> zeros(64 * 1024, 0);
        for (size_t sent = 0; sent < kBytes;) {
            const ssize_t put = ::write(fd, zeros.data(), std::min(zeros.size(), kBytes - sent));
            if (put <= 0) return;
            sent += static_cast<size_t>(put);
        }
    });
    std::vector<char> replies(64 * 1024);
    size_t received = 0;
    bool allZero = true;
    while (received < kBytes) {
        const ssize_t got = ::read(fd, replies.data(), std::min(replies.size(), kBytes - received));
        if (got <= 0) break;
        for (ssize_t i = 0; i < got; ++i) allZero &= replies[static_cast<size_t>(i)] == 0;
        received += static_cast<size_t>(got);
    }
    writer.join();
    return received == kBytes && allZero;
}

void Run(benchmark::State& state, int fd) {
    if (fd < 0) {
        state.SkipWithError("cannot reach zorhost's link");
        return;
    }
    for (auto _ : state)
        if (!Exchange(fd)) state.SkipWithError("the link broke or a reply was wrong");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
    ::close(fd);
}

void BenchLinkTcp(benchmark::State& state) {
    Server server("tcp:0");
    const std::string& where = server.Where();
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(std::stoi(where.substr(where.rfind(':') + 1))));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected =
        !where.empty() && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    Run(state, connected ? fd : -1);
}
BENCHMARK(BenchLinkTcp)->Unit(benchmark::kMillisecond)->UseRealTime();

void BenchLinkPty(benchmark::State& state) {
    Server server("pty");
    const int fd = server.Where().empty() ? -1 : ::open(server.Where().c_str(), O_RDWR | O_NOCTTY);
    termios settings{};
    if (fd >= 0 && ::tcgetattr(fd, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::tcsetattr(fd, TCSANOW, &settings);
    }
    Run(state, fd);
}
BENCHMARK(BenchLinkPty)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
