// zorsim: the simulator's window.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>
#include <string>

#include "CommandLine.h"
#include "HostRecording.h"
#include "Lcdm.h"
#include "LinkMenu.h"
#include "Main.h"
#include "WindowGone.h"
#include "services/VocabularyLoad.h"
#include "workbench/Workbench.h"
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

constexpr const char* kNoDisplay =
    "zorsim: no display to open the window on: neither DISPLAY nor WAYLAND_DISPLAY is set\n"
    "(nor QT_QPA_PLATFORM). Start it from a desktop session, or drive the module without a\n"
    "window with zorhost, the headless scripted host: zorhost --help\n";

}  // namespace

int main(int argc, char** argv) {
    const zorsim::CommandLine line = zorsim::ParseCommandLine(argc, argv);
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
        if (!line.record.isEmpty()) form.Recording->Start(line.record);
        if (line.link) {
            QString error;
            if (!form.Link->Open(*line.link, error)) {
                std::fprintf(stderr, "zorsim: %s\n", error.toUtf8().constData());
                return 2;
            }
            // Where to connect, for the one who started the window.
            std::printf("link: %s\n", form.Link->Server().Where().toUtf8().constData());
            std::fflush(stdout);
        }
        if (!line.vocabulary.isEmpty()) {
            // Loaded once the start-up has shown page 0, as a user would load it.
            QObject::connect(&form, &zorsim::TForm1::StartupEnded, &form, [&form, &line] {
                if (!form.Bench->LoadVocabulary(line.vocabulary,
                                                line.address.value_or(services::kDefaultLoadAddress)))
                    std::fprintf(stderr, "zorsim: --vocabulary: the vocabulary was not loaded; "
                                         "the Messages dock lists why\n");
            });
        }
        form.show();
        return app.exec();
    } catch (const std::exception& error) {
        // Only the window's own set-up can end up here; events have their box.
        std::fprintf(stderr, "zorsim: %s\n", error.what());
        return 1;
    }
}
