#include "Digest.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <deque>
#include <sstream>
#include <stdexcept>

#include "Lcdm.h"

namespace digest {

// ------------------------------------------------------------------ hash ---

namespace {

constexpr uint64_t kMultiplier = 0xC2B2AE3D27D4EB4Full;

uint64_t Mix(uint64_t state, uint64_t word) {
    state ^= word * 0x9E3779B97F4A7C15ull;
    state = (state << 31) | (state >> 33);
    return state * kMultiplier;
}

}  // namespace

void Hasher::Bytes(const uint8_t* bytes, size_t count) {
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        uint64_t word = 0;
        for (int k = 7; k >= 0; --k) word = (word << 8) | bytes[i + static_cast<size_t>(k)];
        state_ = Mix(state_, word);
    }
    uint64_t tail = 0;
    for (size_t k = count; k > i; --k) tail = (tail << 8) | bytes[k - 1];
    state_ = Mix(state_, tail ^ (static_cast<uint64_t>(count - i) << 56));
    count_ += count;
}

void Hasher::Value(uint64_t value) {
    state_ = Mix(state_, value);
    ++count_;
}

uint64_t Hasher::Result() const {
    uint64_t h = Mix(state_, count_);
    h ^= h >> 29;
    return h * kMultiplier ^ (h >> 32);
}

// ------------------------------------------------------ watching a case ---

namespace {

using lcdm::Engine;

struct Watcher {
    Hasher hash;
    uint64_t tags = 0;
    Pump pump = Pump::kTick;
    std::deque<std::vector<uint8_t>> queue;
    uint32_t passes = 0;  // wait passes since the current action began
    bool tracing = false;
};
Watcher* gWatcher = nullptr;

// A wait that never ends (a program that loops through DELAY) is ended the
// way a closed window ends it, after this many passes in one action.
constexpr uint32_t kPassLimit = 1000;
// The stop-after pump ends a run that waits more than this.
constexpr uint32_t kStopAfterPasses = 4;

void HashRegisters(Hasher& h) {
    h.Value(Engine.StatusRegister);
    h.Value(Engine.programCounter);
    h.Value(Engine.dataDepth);
    h.Value(Engine.returnDepth);
    h.Value(Engine.tagsSinceWait);
    h.Value(Engine.lastTagAddress);
    h.Value(Engine.currentOpcode);
    h.Value(Engine.operandByte1);
    h.Value(Engine.operandByte2);
    h.Value(Engine.DelayCounter);
}

void HashStacks(Hasher& h) {
    h.Bytes(Engine.dataStack, sizeof Engine.dataStack);
    h.Bytes(Engine.returnStack, sizeof Engine.returnStack);
}

void HashTrail(Hasher& h) {
    for (uint16_t address : Engine.guardTrail) h.Value(address);
}

void HashScreen(Hasher& h) {
    h.Bytes(lcdm::Graphics.FrameBuffer, sizeof lcdm::Graphics.FrameBuffer);
    h.Value(static_cast<uint32_t>(lcdm::Graphics.GraphicsCursor.x));
    h.Value(static_cast<uint32_t>(lcdm::Graphics.GraphicsCursor.y));
}

// Where the image descriptor's view points, as an array and an offset.
void HashView(Hasher& h, const lcdm::ByteView& view) {
    const auto inside = [&](const uint8_t* base, size_t size) {
        return view.bytes >= base && view.bytes <= base + size;
    };
    uint64_t where = 0;
    uint64_t offset = 0;
    if (view.bytes == nullptr) {
        where = 0;
    } else if (inside(lcdm::Memory.ModuleMemory, sizeof lcdm::Memory.ModuleMemory)) {
        where = 1;
        offset = static_cast<uint64_t>(view.bytes - lcdm::Memory.ModuleMemory);
    } else if (inside(lcdm::Labels.ScratchBuffer, sizeof lcdm::Labels.ScratchBuffer)) {
        where = 2;
        offset = static_cast<uint64_t>(view.bytes - lcdm::Labels.ScratchBuffer);
    } else {
        where = 3;
    }
    h.Value(where);
    h.Value(offset);
    h.Value(view.size);
}

void HashList(Hasher& h, const uint8_t* entries, size_t size, uint8_t count) {
    h.Bytes(entries, size);
    h.Value(count);
}

// Everything the module keeps, but for the span buffer.
void HashModule(Hasher& h) {
    h.Bytes(lcdm::Memory.ModuleMemory, sizeof lcdm::Memory.ModuleMemory);
    h.Bytes(lcdm::Labels.LabelStore, sizeof lcdm::Labels.LabelStore);
    h.Bytes(lcdm::Labels.ScratchBuffer, sizeof lcdm::Labels.ScratchBuffer);
    h.Value(lcdm::Labels.textLength);
    HashScreen(h);

    const lcdm::ImageDescription& image = lcdm::Images.ImageDescriptor;
    h.Value(image.compression);
    h.Value(image.dataLength);
    h.Value(static_cast<uint32_t>(image.width));
    h.Value(static_cast<uint32_t>(image.height));
    h.Value(image.yOffset);
    HashView(h, image.data);
    h.Bytes(lcdm::Images.history, sizeof lcdm::Images.history);

    HashRegisters(h);
    HashStacks(h);
    HashTrail(h);
    h.Bytes(Engine.TagVariables, sizeof Engine.TagVariables);
    h.Bytes(Engine.processorDataSpace, sizeof Engine.processorDataSpace);

    const lcdm::LanguageState& language = lcdm::Language;
    for (uint8_t v : {language.currentLanguage, language.currentFontClass, language.fontNumber,
                      language.iconSetNumber, language.iconSetLanguage})
        h.Value(v);

    const lcdm::VocabularyState& voc = lcdm::Vocabulary;
    for (uint16_t v : {uint16_t{voc.vocabularyId}, voc.vocabularyStart, voc.lastItem,
                       voc.lastFoundItem, voc.currentIconSet})
        h.Value(v);
    HashList(h, voc.fontClasses.entries, sizeof voc.fontClasses.entries, voc.fontClasses.count);
    HashList(h, voc.availableLanguages.entries, sizeof voc.availableLanguages.entries,
             voc.availableLanguages.count);
    HashList(h, voc.usedLanguages.entries, sizeof voc.usedLanguages.entries,
             voc.usedLanguages.count);

    const lcdm::FontState& fonts = lcdm::Fonts;
    for (uint16_t v : {fonts.primaryFont, fonts.secondaryFont, uint16_t{fonts.cellWidth},
                       uint16_t{fonts.cellHeight}, uint16_t{fonts.ascent}, uint16_t{fonts.spacing},
                       uint16_t{fonts.selectedFontClass}})
        h.Value(v);

    const lcdm::LinkState& link = lcdm::Link;
    h.Bytes(link.ReceiveBuffer, sizeof link.ReceiveBuffer);
    for (uint32_t v :
         {uint32_t{link.ReceiveCount}, uint32_t{link.LastCommandByte}, uint32_t{link.ReplyByte},
          uint32_t{link.AddressPointer}, uint32_t{link.DataLength}, uint32_t{link.DataMode},
          link.KeySelectionMask, uint32_t{link.ListReadIndex}, uint32_t{link.BlockSize},
          static_cast<uint32_t>(link.BlockPosition)})
        h.Value(v);
    h.Bytes(link.DataBuffer, sizeof link.DataBuffer);

    const lcdm::IconLoadState& icon = lcdm::IconLoad;
    for (uint32_t v :
         {uint32_t{icon.pendingSlot}, uint32_t{icon.pendingId}, uint32_t{icon.pendingWidth},
          uint32_t{icon.pendingHeight}, uint32_t{icon.pendingYOffset}, uint32_t{icon.writePointer},
          uint32_t{icon.loadFailed}})
        h.Value(v);
}

// ------------------------------------------------------------- the hooks ---

void OnTag(uint16_t address, uint8_t opcode, uint8_t byte1, uint8_t byte2) {
    Hasher& h = gWatcher->hash;
    ++gWatcher->tags;
    h.Value('T');
    h.Value(address);
    h.Value(opcode);
    h.Value(byte1);
    h.Value(byte2);
    HashRegisters(h);
    HashStacks(h);
}

void OnRunEnd(uint8_t number, uint8_t parameter) {
    Hasher& h = gWatcher->hash;
    h.Value('E');
    h.Value(number);
    h.Value(parameter);
    HashRegisters(h);
    HashStacks(h);
    HashTrail(h);
}

void SendBytes(const std::vector<uint8_t>& bytes) {
    for (uint8_t byte : bytes) {
        gWatcher->hash.Value(lcdm::HostByteEntry(byte));
        gWatcher->hash.Value(lcdm::Link.ReplyByte);
    }
}

void Tick() {
    if (Engine.DelayCounter > 0) --Engine.DelayCounter;
}

void EndWait() {
    Engine.DelayCounter = 0;
    Engine.StatusRegister = lcdm::kStatusEnded;
}

uint8_t OnWaitPass() {
    Watcher& w = *gWatcher;
    Hasher& h = w.hash;
    h.Value('W');
    HashRegisters(h);
    HashStacks(h);
    HashScreen(h);
    ++w.passes;
    switch (w.pump) {
        case Pump::kTick: break;
        case Pump::kFeed:
            if (!w.queue.empty()) {
                const std::vector<uint8_t> group = w.queue.front();
                w.queue.pop_front();
                SendBytes(group);
            }
            break;
        case Pump::kToggleTrace:
            w.tracing = !w.tracing;
            lcdm::SetTagTraceHook(w.tracing ? &OnTag : nullptr);
            break;
        case Pump::kStopAfter:
            if (w.passes > kStopAfterPasses) EndWait();
            break;
    }
    Tick();
    if (w.passes > kPassLimit) EndWait();
    return 0;
}

void OnOutput(uint8_t value) {
    gWatcher->hash.Value('O');
    gWatcher->hash.Value(value);
}
void OnSwitch(bool on) {
    gWatcher->hash.Value('S');
    gWatcher->hash.Value(on);
}
void OnBlockByte(uint8_t byte) {
    gWatcher->hash.Value('B');
    gWatcher->hash.Value(byte);
}
void OnService() {
    gWatcher->hash.Value('V');
}

void SetHooks(bool traced) {
    lcdm::SetTagTraceHook(traced ? &OnTag : nullptr);
    lcdm::SetRunEndHook(&OnRunEnd);
    lcdm::SetRenderLcdAndPump(&OnWaitPass);
    lcdm::SetOutputHook(&OnOutput);
    lcdm::SetSwitchHook(&OnSwitch);
    lcdm::SetBlockTransmitHook(&OnBlockByte);
    lcdm::SetServiceHook(&OnService);
}

void ClearHooks() {
    lcdm::SetTagTraceHook(nullptr);
    lcdm::SetRunEndHook(nullptr);
    lcdm::SetRenderLcdAndPump(nullptr);
    lcdm::SetOutputHook(nullptr);
    lcdm::SetSwitchHook(nullptr);
    lcdm::SetBlockTransmitHook(nullptr);
    lcdm::SetServiceHook(nullptr);
}

void Apply(const Action& a) {
    Watcher& w = *gWatcher;
    Hasher& h = w.hash;
    w.passes = 0;
    h.Value(static_cast<uint64_t>(a.kind) + 0x100);
    switch (a.kind) {
        case Action::Kind::kSend: SendBytes(a.bytes); break;
        case Action::Kind::kStatus: Engine.StatusRegister = static_cast<uint8_t>(a.value); break;
        case Action::Kind::kFillStore:
            std::memset(lcdm::Labels.LabelStore, static_cast<int>(a.value & 0xFF),
                        sizeof lcdm::Labels.LabelStore);
            break;
        case Action::Kind::kEmptyStacks:
            Engine.dataDepth = 0;
            Engine.returnDepth = 0;
            Engine.programCounter = 0;
            break;
        case Action::Kind::kInitVocabulary:
            h.Value(lcdm::InitVocabulary(static_cast<uint16_t>(a.value)));
            break;
        case Action::Kind::kLinkReset: lcdm::LinkReset(); break;
        case Action::Kind::kMemory:
            for (size_t i = 0; i < a.bytes.size(); ++i)
                h.Value(lcdm::WriteMemoryByte(a.bytes[i], static_cast<uint16_t>(a.value + i)));
            break;
        case Action::Kind::kRun:
            lcdm::RunScript(static_cast<uint8_t>(a.value), a.bytes.empty() ? 0 : a.bytes[0]);
            HashRegisters(h);
            break;
        case Action::Kind::kPump: w.pump = static_cast<Pump>(a.value); break;
        case Action::Kind::kQueue: w.queue.push_back(a.bytes); break;
    }
}

}  // namespace

Outcome Replay(const Case& c, Watch watch) {
    Watcher watcher;
    gWatcher = &watcher;
    watcher.tracing = watch == Watch::kTraced;
    lcdm::ModuleReset();
    SetHooks(watcher.tracing);
    for (const Action& action : c.actions) Apply(action);
    HashModule(watcher.hash);
    ClearHooks();
    gWatcher = nullptr;
    return Outcome{watcher.hash.Result(), watcher.tags};
}

// ------------------------------------------------------------- text form ---

namespace {

struct KindName {
    Action::Kind kind;
    const char* name;
};
constexpr KindName kKindNames[] = {
    {Action::Kind::kSend, "send"},
    {Action::Kind::kStatus, "status"},
    {Action::Kind::kFillStore, "fill-store"},
    {Action::Kind::kEmptyStacks, "empty-stacks"},
    {Action::Kind::kInitVocabulary, "init-vocabulary"},
    {Action::Kind::kLinkReset, "link-reset"},
    {Action::Kind::kMemory, "memory"},
    {Action::Kind::kRun, "run"},
    {Action::Kind::kPump, "pump"},
    {Action::Kind::kQueue, "queue"},
};
constexpr const char* kPumpNames[] = {"tick", "feed", "toggle-trace", "stop-after"};

void AppendHex(std::string& out, const std::vector<uint8_t>& bytes, size_t from, size_t to) {
    static const char* digits = "0123456789ABCDEF";
    for (size_t i = from; i < to; ++i) {
        out += ' ';
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
}

}  // namespace

std::string FormatCases(const std::vector<Case>& cases) {
    constexpr size_t kPerLine = 32;
    std::string out;
    for (const Case& c : cases) {
        out += "case " + c.name + "\n";
        for (const Action& a : c.actions) {
            const char* name = "";
            for (const KindName& k : kKindNames)
                if (k.kind == a.kind) name = k.name;
            switch (a.kind) {
                case Action::Kind::kSend:
                case Action::Kind::kQueue:
                    // A queued group is one line whatever its length: it is
                    // sent in one pass.
                    for (size_t i = 0; i < a.bytes.size() || i == 0;
                         i += a.kind == Action::Kind::kSend ? kPerLine : a.bytes.size() + 1) {
                        const size_t to = a.kind == Action::Kind::kSend
                                              ? std::min(a.bytes.size(), i + kPerLine)
                                              : a.bytes.size();
                        out += name;
                        AppendHex(out, a.bytes, i, to);
                        out += '\n';
                    }
                    break;
                case Action::Kind::kMemory:
                    for (size_t i = 0; i < a.bytes.size(); i += kPerLine) {
                        out += std::string(name) + " " + std::to_string(a.value + i);
                        AppendHex(out, a.bytes, i, std::min(a.bytes.size(), i + kPerLine));
                        out += '\n';
                    }
                    break;
                case Action::Kind::kRun:
                    out += std::string(name) + " " + std::to_string(a.value) + " " +
                           std::to_string(a.bytes.empty() ? 0 : a.bytes[0]) + "\n";
                    break;
                case Action::Kind::kPump:
                    out += std::string(name) + " " + kPumpNames[a.value] + "\n";
                    break;
                case Action::Kind::kEmptyStacks:
                case Action::Kind::kLinkReset: out += std::string(name) + "\n"; break;
                default: out += std::string(name) + " " + std::to_string(a.value) + "\n"; break;
            }
        }
    }
    return out;
}

std::vector<Case> ParseCases(const std::string& text) {
    std::vector<Case> cases;
    std::istringstream in(text);
    std::string line;
    int lineNumber = 0;
    const auto fail = [&](const std::string& what) {
        throw std::runtime_error("corpus line " + std::to_string(lineNumber) + ": " + what +
                                 " in \"" + line + "\"");
    };
    while (std::getline(in, line)) {
        ++lineNumber;
        const std::string content = line.substr(0, line.find('#'));
        std::istringstream words(content);
        std::string word;
        if (!(words >> word)) continue;
        if (word == "case") {
            Case c;
            if (!(words >> c.name)) fail("a case needs a name");
            cases.push_back(std::move(c));
            continue;
        }
        if (cases.empty()) fail("an action before the first case");
        Action a{Action::Kind::kSend, 0, {}};
        bool known = false;
        for (const KindName& k : kKindNames)
            if (word == k.name) {
                a.kind = k.kind;
                known = true;
            }
        if (!known) fail("unknown action " + word);
        const auto number = [&] {
            long value = -1;
            if (!(words >> value) || value < 0 || value > 65535) fail("expected a number 0..65535");
            return static_cast<uint32_t>(value);
        };
        const auto hexBytes = [&] {
            std::string token;
            while (words >> token) {
                if (token.size() != 2 || !std::isxdigit(static_cast<unsigned char>(token[0])) ||
                    !std::isxdigit(static_cast<unsigned char>(token[1])))
                    fail("expected a hex byte, got " + token);
                a.bytes.push_back(static_cast<uint8_t>(std::stoul(token, nullptr, 16)));
            }
        };
        switch (a.kind) {
            case Action::Kind::kSend:
            case Action::Kind::kQueue: hexBytes(); break;
            case Action::Kind::kMemory:
                a.value = number();
                hexBytes();
                break;
            case Action::Kind::kRun:
                a.value = number();
                a.bytes.push_back(static_cast<uint8_t>(number()));
                break;
            case Action::Kind::kPump: {
                std::string mode;
                words >> mode;
                bool found = false;
                for (uint32_t i = 0; i < 4; ++i)
                    if (mode == kPumpNames[i]) {
                        a.value = i;
                        found = true;
                    }
                if (!found) fail("unknown pump " + mode);
                break;
            }
            case Action::Kind::kEmptyStacks:
            case Action::Kind::kLinkReset: break;
            default: a.value = number(); break;
        }
        cases.back().actions.push_back(std::move(a));
    }
    return cases;
}

}  // namespace digest
