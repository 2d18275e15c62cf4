// zorsim: the simulator's window.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>
#include <string>

#include "HostRecording.h"
#include "Lcdm.h"
#include "LinkMenu.h"
#include "Main.h"
#include "WindowGone.h"
#include "ZorApplication.h"

namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

bool HasArgument(int argc, char** argv, const char* wanted) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], wanted) == 0) return true;
    return false;
}

// On X11 and Wayland desktops the toolkit needs one of these to find the
// screen; without them it would stop with a message about plugins instead
// of saying what is missing.
bool DisplayAvailable(int argc, char** argv) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM") ||
           HasArgument(argc, argv, "-platform");
#else
    (void)argc;
    (void)argv;
    return true;
#endif
}

constexpr const char* kUsage =
    "Usage: zorsim [--link ENDPOINT] [--record FILE] [--help] [--version]\n"
    "Opens the ZOR Simulator window: the front plate with the module's LCD, and the\n"
    "controls that play the host (text labels, dynamic icons, key functions, clock, page).\n"
    "\n"
    "  --link ENDPOINT  also serve the module's byte link to a host program, once the\n"
    "                   start-up screen has made way for page 0: pty, pty:LINKPATH (a\n"
    "                   pseudo-terminal, with a symbolic link to it), tcp:PORT or\n"
    "                   tcp:ADDRESS:PORT (127.0.0.1 unless given; 0 picks a free port).\n"
    "                   The Link menu does the same while the window runs.\n"
    "  --record FILE    write what the window sends the module, from its start, as a\n"
    "                   zorhost scenario that replays it (and FILE's golden frame, .pbm)\n"
    "                   when the window closes; File > Record Host Bytes... does the same.\n"
    "\n"
    "Without a display, drive the module from scripts with zorhost (zorhost --help).\n";

// The value of --NAME VALUE or --NAME=VALUE, if given.
std::optional<std::string> OptionValue(int argc, char** argv, const std::string& name) {
    const std::string option = "--" + name;
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == option) return i + 1 < argc ? std::string(argv[i + 1]) : std::string();
        if (std::strncmp(argv[i], (option + "=").c_str(), option.size() + 1) == 0)
            return std::string(argv[i] + option.size() + 1);
    }
    return std::nullopt;
}

constexpr const char* kNoDisplay =
    "zorsim: no display to open the window on: neither DISPLAY nor WAYLAND_DISPLAY is set\n"
    "(nor QT_QPA_PLATFORM). Start it from a desktop session, or drive the module without a\n"
    "window with zorhost, the headless scripted host: zorhost --help\n";

}  // namespace

int main(int argc, char** argv) {
    if (HasArgument(argc, argv, "--help") || HasArgument(argc, argv, "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (HasArgument(argc, argv, "--version")) {
        std::printf("zorsim %s\n", ZOR_VERSION);
        return 0;
    }
    std::optional<services::LinkEndpoint> link;
    const std::optional<std::string> record = OptionValue(argc, argv, "record");
    if (record && record->empty()) {
        std::fputs("zorsim: --record needs a FILE\nTry 'zorsim --help'.\n", stderr);
        return 2;
    }
    if (const std::optional<std::string> text = OptionValue(argc, argv, "link")) {
        std::string error;
        link = services::ParseLinkEndpoint(*text, error);
        if (!link) {
            std::fprintf(stderr, "zorsim: %s\nTry 'zorsim --help'.\n", error.c_str());
            return 2;
        }
    }
    if (!DisplayAvailable(argc, argv)) {
        std::fputs(kNoDisplay, stderr);
        return 1;
    }
    try {
        zorsim::ZorApplication app(argc, argv);
        // Every run starts on the module's built-in default image; nothing
        // of an earlier run is kept.
        lcdm::ModuleReset();
        panel::HostPort port;
        zorsim::TForm1 form(port);
        // A window destroyed from outside ends the program as closing it would
        // (also during a script's wait); a lost display ends it in the toolkit.
        zorsim::WindowGoneWatch watch(form, [&form] {
            form.FormClose();
            QCoreApplication::quit();
        });
        app.installNativeEventFilter(&watch);
        if (record) form.Recording->Start(QString::fromStdString(*record));
        if (link) {
            QString error;
            if (!form.Link->Open(*link, error)) {
                std::fprintf(stderr, "zorsim: %s\n", error.toUtf8().constData());
                return 2;
            }
            // Where to connect, for the one who started the window.
            std::printf("link: %s\n", form.Link->Server().Where().toUtf8().constData());
            std::fflush(stdout);
        }
        form.show();
        return app.exec();
    } catch (const std::exception& error) {
        // Only the window's own set-up can end up here; events have their box.
        std::fprintf(stderr, "zorsim: %s\n", error.what());
        return 1;
    }
}
