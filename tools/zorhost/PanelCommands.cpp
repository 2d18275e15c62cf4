// Front panel commands: the window's handlers, byte for byte, through the
// same panel logic the window uses.
#include <algorithm>

#include "Command.h"
#include "Format.h"
#include "Lcdm.h"
#include "ScriptError.h"
#include "panel/Encoders.h"
#include "panel/IconFile.h"
#include "panel/IconUpload.h"
#include "panel/Startup.h"
#include "services/VocabularyLoad.h"

namespace zorhost {
namespace {

// The window offers keys 1 to 8; 0 stands for "no key selected".
constexpr long kLastPanelKey = 8;
void RequireNone(const Args& args) {
    args.RequireCount(0, 0);
}

void Create(Session& session, const Args& args) {
    RequireNone(args);
    panel::FormCreate(session.port);
}

void Activate(Session& session, const Args& args) {
    RequireNone(args);
    panel::FormActivate(session.port, session.panel);
}

void Splash(Session& session, const Args& args) {
    RequireNone(args);
    panel::SplashTimerTimer(session.port);
}

void InitVocabulary(Session& session, const Args& args) {
    RequireNone(args);
    panel::btnInitVocClick(session.port);
}

void Page(Session& session, const Args& args) {
    RequireNone(args);
    panel::PageButtonClick(session.port, session.panel);
}

void NextIcon(Session& session, const Args& args) {
    RequireNone(args);
    panel::NextButtonClick(session.port);
}

void Start(Session& session, const Args& args) {
    RequireNone(args);
    panel::FormCreate(session.port);
    panel::FormActivate(session.port, session.panel);
    panel::SplashTimerTimer(session.port);
}

void Function(Session& session, const Args& args) {
    args.RequireCount(2, 2);
    const auto key = static_cast<uint8_t>(args.Number(0, 0, kLastPanelKey));
    static constexpr const char* kNames[] = {"Toggle", "Dimmer", "Timer", "Scene"};
    int index = panel::kNoFunction;
    for (int i = 0; i < 4; ++i)
        if (args.Text(1) == kNames[i]) index = i;
    if (index == panel::kNoFunction && args.Text(1) != "none")
        args.Fail("NAME " + Quoted(args.Text(1)) + " is not Toggle, Dimmer, Timer, Scene or none");
    panel::KeyFunctionButtonClick(session.port, key, index);
}

void Text(Session& session, const Args& args) {
    args.RequireCount(2, 2);
    const auto key = static_cast<uint8_t>(args.Number(0, 0, kLastPanelKey));
    const Token& text = args.At(1);
    if (text.hasWideCharacter)
        args.Fail("TEXT " + Quoted(text.text) +
                  " has a character the window's 8-bit character "
                  "set lacks (expected characters up to U+00FF)");
    panel::TextLabelButtonClick(session.port, key, text.bytes);
}

// The value of one or two decimal digits, or -1.
int TwoDigits(const std::string& text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return text.empty() ? -1 : value;
}

void Time(Session& session, const Args& args) {
    args.RequireCount(1, 1);
    const std::string& text = args.Text(0);
    int hour = -1, minute = -1;
    const size_t colon = text.find(':');
    if (colon == 1 || colon == 2) {
        hour = TwoDigits(text.substr(0, colon));
        minute = text.size() == colon + 3 ? TwoDigits(text.substr(colon + 1)) : -1;
    }
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59)
        args.Fail("HH:MM " + Quoted(text) + " is not a time from 00:00 to 23:59");
    panel::TimeButtonClick(session.port, static_cast<uint8_t>(hour), static_cast<uint8_t>(minute));
}

// "Open" then "Send" in the "Dynamic Icon" group. A file that cannot be
// opened is a script error like any unreadable file; what the window shows in
// an error box (a damaged picture, a refusal of the module) becomes a
// transcript line, and a picture that could not be loaded is not sent.
void Icon(Session& session, const Args& args) {
    args.RequireCount(2, 2);
    const auto key = static_cast<uint8_t>(args.Number(0, 0, kLastPanelKey));
    panel::IconPicture picture;
    files::ReadError failure;
    const std::optional<std::string> bytes =
        session.files.Read(session.Resolve(args.Text(1)), panel::kMaxPictureFileBytes, failure);
    if (!bytes) throw ScriptError("panel icon: " + failure.Message(args.Text(1)));
    std::string error;
    switch (panel::LoadIconBytes(*bytes, args.Text(1), picture, error)) {
        case panel::IconFileResult::kCannotOpen: throw ScriptError("panel icon: " + error);
        case panel::IconFileResult::kNotAPicture:
            session.transcript.ErrorBox(session.Where(), error);
            return;
        case panel::IconFileResult::kLoaded: break;
    }
    panel::SendDIButtonClick(session.port, picture, key, [&session](const std::string& text) {
        session.transcript.ErrorBox(session.Where(), text);
    });
}

void SetVar(Session& session, const Args& args) {
    args.RequireCount(2, 2);
    panel::SendSetVariable(session.port, static_cast<uint8_t>(args.Number(0, 0, 255)),
                           static_cast<uint8_t>(args.Number(1, 0, 255)));
}

void RunScript(Session& session, const Args& args) {
    args.RequireCount(2, 2);
    panel::SendRunScript(session.port, static_cast<uint8_t>(args.Number(0, 0, 255)),
                         static_cast<uint8_t>(args.Number(1, 0, 255)));
}

void LoadVocabulary(Session& session, const Args& args) {
    args.RequireCount(1, 2);
    const long address =
        args.Count() > 1 ? args.Number(1, 0, lcdm::kModuleMemorySize - 1)
                         : static_cast<long>(services::kDefaultLoadAddress);
    // A vocabulary can be no larger than the memory from its address, so
    // nothing more is ever read (an endless stream ends there too).
    const auto room = static_cast<size_t>(lcdm::kModuleMemorySize - address);
    files::ReadError failure;
    const std::optional<std::string> contents =
        session.files.Read(session.Resolve(args.Text(0)), room, failure);
    if (!contents)
        throw ScriptError(
            "panel load-vocabulary: " + failure.Message(args.Text(0)) +
            (failure.kind == files::ReadError::Kind::kTooLarge
                 ? " (the most module memory holds from address " + std::to_string(address) + ")"
                 : ""));
    const services::LoadedVocabulary loaded = services::WriteVocabulary(
        session.port, static_cast<uint16_t>(address),
        std::vector<uint8_t>(contents->begin(), contents->end()));
    if (!loaded.ok) throw ScriptError("panel load-vocabulary: " + loaded.error);
    session.transcript.Line("vocabulary: " + std::to_string(loaded.items) + " items at " +
                            std::to_string(address));
}

constexpr CommandSpec kCommands[] = {
    {"panel create", "panel create", "FormCreate", Create},
    {"panel activate", "panel activate", "FormActivate (only the first does anything)", Activate},
    {"panel splash", "panel splash", "SplashTimerTimer: show page 0", Splash},
    {"panel start", "panel start", "panel create, panel activate, panel splash", Start},
    {"panel init-vocabulary", "panel init-vocabulary", "btnInitVocClick", InitVocabulary},
    {"panel page", "panel page", "\"Next Page\" (the page flag is kept)", Page},
    {"panel function", "panel function K NAME",
     "key function: K 0 to 8 (0 = none), NAME Toggle|Dimmer|Timer|Scene|none", Function},
    {"panel text", "panel text K \"TEXT\"", "text label for key K (0 = none)", Text},
    {"panel time", "panel time HH:MM", "\"Set Time\" with that local time", Time},
    {"panel next-icon", "panel next-icon", "\"Use 'Next' Icon\"", NextIcon},
    {"panel icon", "panel icon K FILE",
     "dynamic icon from FILE (BMP, PNG, ICO, ...) for key K (0 = none)", Icon},
    {"panel set-var", "panel set-var I V", "SendSetVariable(I, V)", SetVar},
    {"panel run-script", "panel run-script N P", "SendRunScript(N, P)", RunScript},
    {"panel load-vocabulary", "panel load-vocabulary FILE [ADDR]",
     "write FILE into memory at ADDR (default 18838) and initialise it there", LoadVocabulary},
};

}  // namespace

std::span<const CommandSpec> PanelCommands() {
    return kCommands;
}

}  // namespace zorhost
