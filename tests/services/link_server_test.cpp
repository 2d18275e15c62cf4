// The link server against real clients on TCP and a pseudo-terminal: replies
// in the order of the bytes across DELAY waits, one client at a time, half
// commands kept for the next client, floods with bounded buffers, hang-ups
// without spinning, and endpoints that cannot be opened.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTimer>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Lcdm.h"
#include "module_fixture.h"
#include "panel/HostPort.h"
#include "panel/Startup.h"
#include "services/LinkServer.h"

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

// DELAY waits in real time, as zorhost's link mode and the window have them:
// asleep until the next event (the 100 ms timer guarantees one).
uint8_t WaitForEvents() {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return 0;
}

// Serves events for `ms` milliseconds, asleep between them.
void ServeFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A client on its own thread, with blocking calls, as a host program is.
class Client {
public:
    static int ConnectTcp(uint16_t port) {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }
    static int OpenPty(const std::string& device) {
        const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY);
        termios settings{};
        ::tcgetattr(fd, &settings);
        ::cfmakeraw(&settings);
        ::tcsetattr(fd, TCSANOW, &settings);
        return fd;
    }
    static void Send(int fd, const Bytes& bytes) {
        size_t at = 0;
        while (at < bytes.size()) {
            const ssize_t put = ::write(fd, bytes.data() + at, bytes.size() - at);
            if (put <= 0) return;
            at += static_cast<size_t>(put);
        }
    }
    // Exactly `count` bytes, or fewer if the other side closes.
    static Bytes Receive(int fd, size_t count) {
        Bytes bytes(count);
        size_t at = 0;
        while (at < count) {
            const ssize_t got = ::read(fd, bytes.data() + at, count - at);
            if (got <= 0) break;
            at += static_cast<size_t>(got);
        }
        bytes.resize(at);
        return bytes;
    }
};

class LinkServerTest : public zortest::ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        lcdm::SetRenderLcdAndPump(&WaitForEvents);
        timer2.setInterval(100);
        QObject::connect(&timer2, &QTimer::timeout, [this] { panel::Timer2Timer(port); });
        timer2.start();
    }
    void TearDown() override { lcdm::SetRenderLcdAndPump(nullptr); }

    // Serves while `client` runs on its own thread; false if it takes over 20 s.
    bool Serve(const std::function<void()>& client) {
        std::atomic<bool> done = false;
        std::thread thread([&] {
            client();
            done = true;
        });
        QElapsedTimer clock;
        clock.start();
        while (!done && clock.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        thread.join();
        return done;
    }

    uint16_t OpenTcp() {
        QString error;
        EXPECT_TRUE(server.Open({services::LinkEndpoint::Kind::kTcp, "", "127.0.0.1", 0}, error))
            << error.toStdString();
        return static_cast<uint16_t>(server.Where().section(':', -1).toUInt());
    }

    panel::HostPort port;
    services::LinkServer server{port};
    QTimer timer2;
};

constexpr uint8_t kPush8 = 0x10, kDelay = 0x4E, kVarSet = 0x5E;

TEST(LinkEndpointTest, EndpointsAreParsedOrRefusedWithTheForms) {
    struct Case {
        const char* text;
        const char* expected;  // kind/path/address/port, or the error
    };
    const Case cases[] = {
        {"pty", "pty  "},
        {"pty:/tmp/zor-link", "pty /tmp/zor-link "},
        {"tcp:5555", "tcp 127.0.0.1 5555"},
        {"tcp:0", "tcp 127.0.0.1 0"},
        {"tcp:0.0.0.0:7", "tcp 0.0.0.0 7"},
        {"tcp:[::1]:7", "tcp ::1 7"},
        {"tcp:65536",
         "link endpoint \"tcp:65536\": \"65536\" is not a port from 0 to 65535 "
         "(expected pty, pty:LINKPATH, tcp:PORT or tcp:ADDRESS:PORT)"},
        {"tcp:",
         "link endpoint \"tcp:\": \"\" is not a port from 0 to 65535 (expected pty, "
         "pty:LINKPATH, tcp:PORT or tcp:ADDRESS:PORT)"},
        {"serial",
         "unknown link endpoint \"serial\" (expected pty, pty:LINKPATH, tcp:PORT or "
         "tcp:ADDRESS:PORT)"},
        {"pty:",
         "link endpoint \"pty:\" names no LINKPATH (expected pty, pty:LINKPATH, "
         "tcp:PORT or tcp:ADDRESS:PORT)"},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto endpoint = services::ParseLinkEndpoint(c.text, error);
        const std::string got =
            !endpoint ? error
            : endpoint->kind == services::LinkEndpoint::Kind::kPty
                ? "pty " + endpoint->linkPath + " "
                : "tcp " + endpoint->address + " " + std::to_string(endpoint->port);
        EXPECT_EQ(got, c.expected) << c.text;
    }
}

TEST_F(LinkServerTest, RepliesFollowTheBytesInOrderAcrossADelayWait) {
    // Script 1 waits three ticks, then sets tag variable 40 to 7.
    zortest::VocabularyBuilder vocabulary(20000);
    vocabulary.Add(1, lcdm::kItemScript, {kPush8, 3, kDelay, kPush8, 7, kPush8, 40, kVarSet, 0});
    vocabulary.Init();
    const uint16_t tcp = OpenTcp();
    Bytes replies;
    ASSERT_TRUE(Serve([&] {
        const int fd = Client::ConnectTcp(tcp);
        // Run script 1, and while it waits set the address pointer.
        Client::Send(fd, {0x81, 0x01, 0x00, 0x82, 0x4E, 0x20});
        replies = Client::Receive(fd, 6);
        ::close(fd);
    }));
    EXPECT_EQ(replies, (Bytes{0x00, 0x00, 0x81, 0x00, 0x00, 0x82}));
    EXPECT_EQ(lcdm::Engine.TagVariables[40], 7);
    EXPECT_EQ(lcdm::Link.AddressPointer, 0x4E20);
    EXPECT_EQ(server.BytesServed(), 6u);
}

TEST_F(LinkServerTest, OneClientAtATimeAndHalfCommandsWaitForTheNext) {
    const uint16_t tcp = OpenTcp();
    struct Step {
        Bytes sent;
        Bytes expected;  // the replies; a client closed at once reads none
        bool stays;      // the client stays connected while the next step runs
    };
    // A client leaves in the middle of a command; the module keeps the half
    // command and the next client completes it, or resynchronises with 00s.
    const Step steps[] = {
        {{0x82, 0x4E}, {0x00, 0x00}, true},
        {{0x00}, {}, false},  // a second client while the first is there: closed
        {{}, {}, false},      // the first leaves
        {{0x20}, {0x82}, false},
        {{0x82}, {0x00}, false},
        {{0x00, 0x00, 0x00}, {0x00, 0x82, 0x00}, false},
    };
    int first = -1;
    for (const Step& step : steps) {
        Bytes got;
        ASSERT_TRUE(Serve([&] {
            if (step.sent.empty()) {
                ::close(first);
                return;
            }
            const int fd = Client::ConnectTcp(tcp);
            Client::Send(fd, step.sent);
            got = Client::Receive(fd, step.expected.empty() ? 1 : step.expected.size());
            if (step.stays)
                first = fd;
            else
                ::close(fd);
        }));
        EXPECT_EQ(got, step.expected) << "step sending " << step.sent.size() << " bytes";
        // Let the server notice a departure before the next client comes.
        ServeFor(100);
    }
    EXPECT_EQ(lcdm::Link.AddressPointer, 0);  // 82 00 00 came last
}

TEST_F(LinkServerTest, AFloodIsServedInOrderWhileTheClientReadsSlowly) {
    const uint16_t tcp = OpenTcp();
    constexpr size_t kCommands = 500000;  // 1.5 MB: "pointer := 0" again and again
    Bytes flood;
    for (size_t i = 0; i < kCommands; ++i) flood.insert(flood.end(), {0x82, 0x00, 0x00});
    size_t wrong = 0, received = 0;
    ASSERT_TRUE(Serve([&] {
        const int fd = Client::ConnectTcp(tcp);
        std::thread writer([&] { Client::Send(fd, flood); });
        // Slow at first: the server must hold back instead of buffering all.
        for (int i = 0; i < 5; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const Bytes some = Client::Receive(fd, 3000);
            for (size_t k = 0; k < some.size(); ++k)
                wrong += some[k] != ((received + k) % 3 == 2 ? 0x82 : 0x00);
            received += some.size();
        }
        const Bytes rest = Client::Receive(fd, flood.size() - received);
        for (size_t k = 0; k < rest.size(); ++k)
            wrong += rest[k] != ((received + k) % 3 == 2 ? 0x82 : 0x00);
        received += rest.size();
        writer.join();
        ::close(fd);
    }));
    EXPECT_EQ(received, flood.size());
    EXPECT_EQ(wrong, 0u);
}

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

TEST_F(LinkServerTest, APseudoTerminalServesClientsOneAfterAnotherWithoutSpinning) {
    const fs::path link = fs::temp_directory_path() / "zor_link_test_pty";
    fs::remove(link);
    QString error;
    ASSERT_TRUE(server.Open({services::LinkEndpoint::Kind::kPty, link.string(), "", 0}, error))
        << error.toStdString();
    const std::string device = server.Where().toStdString();
    EXPECT_EQ(fs::read_symlink(link).string(), device);
    for (const auto& [sent, expected] :
         {std::pair<Bytes, Bytes>{{0x82, 0x4E, 0x20}, {0x00, 0x00, 0x82}}, {{0x00}, {0x00}}}) {
        Bytes got;
        ASSERT_TRUE(Serve([&] {
            const int fd = Client::OpenPty(link.string());
            Client::Send(fd, sent);
            got = Client::Receive(fd, expected.size());
            ::close(fd);
        }));
        EXPECT_EQ(got, expected);
        // The client has hung up: a second of waiting for the next must not
        // keep a processor busy.
        const double before = CpuSeconds();
        ServeFor(1000);
        EXPECT_LT(CpuSeconds() - before, 0.3);
        EXPECT_FALSE(server.ClientConnected());
    }
    server.Close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST_F(LinkServerTest, EndpointsThatCannotBeOpenedSayWhy) {
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::LocalHost, 0));
    const uint16_t busy = taken.serverPort();
    const fs::path file = fs::temp_directory_path() / "zor_link_test_file";
    { std::ofstream(file) << "mine"; }
    using Kind = services::LinkEndpoint::Kind;
    const std::pair<services::LinkEndpoint, std::string> cases[] = {
        {{Kind::kTcp, "", "127.0.0.1", busy},
         "cannot listen on 127.0.0.1:" + std::to_string(busy) +
             ": The bound address is already in use"},
        {{Kind::kTcp, "", "example.org", 5},
         "cannot listen on example.org: not an IP address "
         "(expected e.g. 127.0.0.1 or ::1)"},
        {{Kind::kPty, "/nonexistent/dir/link", "", 0},
         "cannot make the link /nonexistent/dir/link: No such file or directory"},
        {{Kind::kPty, file.string(), "", 0},
         "cannot make the link " + file.string() +
             " (it exists and is not a symbolic link): File exists"},
    };
    for (const auto& [endpoint, message] : cases) {
        QString error;
        EXPECT_FALSE(server.Open(endpoint, error));
        EXPECT_EQ(error.toStdString(), message);
        EXPECT_FALSE(server.IsOpen());
    }
    fs::remove(file);
}

}  // namespace

// GoogleTest's main with the event loop the server needs.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
