// Runs random tag programs through the engine. The input is not a memory
// image but a recipe for a vocabulary, so that almost every input is a chain
// the module accepts and every program is made of real tags:
//
//   S1 S2     vocabulary start: 18838 + (S1 S2) modulo the free memory above
//             the default image (whose items stay where they are, so that a
//             raw JUMP or CALL may land in them); items that run past the end
//             of memory are cut there, as a host writing them would find
//   ID        vocabulary id; 0 becomes 1 (id 0 means "no vocabulary"). Its top
//             bit set runs the programs unwatched (no trace hook), so that
//             the engine's fast tag loop is fuzzed too, not only the checked
//             fetch a hook selects
//   N         1 + N % 8 items follow the header item, each:
//     TYPE    1, 2, 3, 4, 5 or 7 as it is; any other value picks one of them
//     NUMBER  item number, taken modulo 16 so that tags find their items
//     SIZE    procedures and scripts: SIZE % 64 tags, each an opcode byte (an
//             invalid opcode picks a valid one from the table) and its operand
//             bytes as the opcode table gives them: a byte, a branch offset, a
//             word; an address (first byte with bit 7 set: that many bytes
//             (15 bits, modulo 256) past the vocabulary start, else
//             (B1 B2) x 2, which also reaches past module memory); SELECT: a
//             count (% 6: 0 to 5) and two bytes per entry (type % 8, number
//             % 16).
//             Other items: SIZE % 64 bytes of body taken as they are.
//   then up to four runs, two bytes each: RunScript(SCRIPT % 16, PARAMETER).
//   A recipe cut short reads as zeros (opcode 0 is END).
//
// The DELAY hook counts ticks and ends a run that has waited more than a few
// times, as the window does when it is closed during a wait. In a watched run
// every tag is observed through the trace hook: the stacks stay within their
// depth, and the tags since the last wait never exceed the run guard's
// bound; an unwatched run is checked by the engine's own count. Every run
// ends with a status the module defines, and the run guard's status only
// after the whole bound of tags without a wait.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "Lcdm.h"
#include "Lcdm_opcodes.h"

namespace {

constexpr uint16_t kFreeMemory = 18838;  // the first byte the default image leaves free
constexpr int kMaxItems = 8;
constexpr int kMaxBody = 64;
constexpr int kMaxRuns = 4;
constexpr int kMaxSelectEntries = 5;
constexpr uint32_t kMaxWaitsPerRun = 4;
constexpr uint8_t kItemTypes[] = {lcdm::kItemProcedure, lcdm::kItemScript,   lcdm::kItemString,
                                  lcdm::kItemBitmap,    lcdm::kItemTextFont, lcdm::kItemIconSet};

// Statuses a run may end with.
constexpr uint8_t kEndStatuses[] = {
    lcdm::kStatusEnded,          lcdm::kStatusNotFound,
    lcdm::kStatusDataUnderflow,  lcdm::kStatusReturnUnderflow,
    lcdm::kStatusDataOverflow,   lcdm::kStatusReturnOverflow,
    lcdm::kStatusInvalidOpcode,  lcdm::kStatusAddressRange,
    lcdm::kStatusWrongType,      lcdm::kStatusIndexRange,
    lcdm::kStatusOffScreen,      lcdm::kStatusStoreAccess,
    lcdm::kStatusBitmapFailed,   lcdm::kStatusLanguageNotAllowed,
    lcdm::kStatusLabelNotStored, lcdm::kStatusUsedLanguageRefused,
    lcdm::kStatusLogoDisabled,   lcdm::kStatusRunGuard,
};

// What one run looked like from the hooks.
struct RunWatch {
    uint32_t tagsSinceWait = 0;  // fetch cycles since the DELAY hook last ran
    uint32_t waits = 0;          // DELAY tags that reached the hook
    uint32_t ticks = 0;
    uint32_t tags = 0;
    bool watched = true;  // through the trace hook; else by the engine's own count
} gWatch;

[[noreturn]] void Broken(const char* what, unsigned value) {
    std::fprintf(stderr,
                 "tag_engine_fuzzer: %s (%u) at pc %u, opcode %u, after %u tags, %u waits and "
                 "%u ticks of the run\n",
                 what, value, lcdm::Engine.programCounter, lcdm::Engine.currentOpcode, gWatch.tags,
                 gWatch.waits, gWatch.ticks);
    std::abort();
}

// One pass of a DELAY wait: one 100 ms tick. A run that keeps waiting is
// ended the way a closing window ends it.
uint8_t CountTick() {
    // Unwatched, the engine's own count tells a new wait (it is not reset
    // until the wait ends, so every pass counts: the run only ends sooner).
    const uint32_t since = gWatch.watched ? gWatch.tagsSinceWait : lcdm::Engine.tagsSinceWait;
    if (since != 0) ++gWatch.waits;
    gWatch.tagsSinceWait = 0;
    ++gWatch.ticks;
    if (lcdm::Engine.DelayCounter > 0) --lcdm::Engine.DelayCounter;
    if (gWatch.waits > kMaxWaitsPerRun) {
        lcdm::Engine.DelayCounter = 0;
        lcdm::Engine.StatusRegister = lcdm::kStatusEnded;
    }
    return 0;
}

void WatchTag(uint16_t, uint8_t, uint8_t, uint8_t) {
    ++gWatch.tags;
    if (++gWatch.tagsSinceWait > lcdm::kRunGuardTags)
        Broken("a run went past the run guard's bound without waiting", gWatch.tagsSinceWait);
    if (lcdm::Engine.tagsSinceWait != gWatch.tagsSinceWait)
        Broken("the engine's count of tags since the last wait is off", lcdm::Engine.tagsSinceWait);
    if (lcdm::Engine.dataDepth > lcdm::kMaxStackDepth)
        Broken("the data stack is deeper than its cells", lcdm::Engine.dataDepth);
    if (lcdm::Engine.returnDepth > lcdm::kMaxStackDepth)
        Broken("the return stack is deeper than its cells", lcdm::Engine.returnDepth);
}

class Recipe {
public:
    Recipe(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t Next() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint16_t NextWord() {
        const uint8_t high = Next();
        return static_cast<uint16_t>((high << 8) | Next());
    }
    bool Done() const { return pos_ >= size_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Writes into module memory; what falls past its end is refused there.
class Writer {
public:
    explicit Writer(uint16_t at) : at_(at) {}

    void Byte(uint8_t value) {
        if (at_ < lcdm::kModuleMemorySize) lcdm::WriteMemoryByte(value, static_cast<uint16_t>(at_));
        ++at_;
    }
    void Word(uint16_t value) {
        Byte(static_cast<uint8_t>(value >> 8));
        Byte(static_cast<uint8_t>(value & 0xFF));
    }
    uint32_t at() const { return at_; }
    void Seek(uint32_t at) { at_ = at; }

private:
    uint32_t at_;
};

uint8_t ValidOpcode(uint8_t byte) {
    if (lcdm::IsValidOpcode(byte)) return byte;
    static uint8_t valid[256];
    static int count = 0;
    if (count == 0)
        for (int op = 0; op < 256; ++op)
            if (lcdm::IsValidOpcode(static_cast<uint8_t>(op)))
                valid[count++] = static_cast<uint8_t>(op);
    return valid[byte % count];
}

void WriteTag(Recipe& recipe, Writer& out, uint16_t start) {
    const uint8_t opcode = ValidOpcode(recipe.Next());
    out.Byte(opcode);
    switch (lcdm::Opcode(opcode).operand) {
        case lcdm::OperandKind::kNone:
        case lcdm::OperandKind::kInOpcode: break;
        case lcdm::OperandKind::kByte:
        case lcdm::OperandKind::kOffset: out.Byte(recipe.Next()); break;
        case lcdm::OperandKind::kWord: out.Word(recipe.NextWord()); break;
        case lcdm::OperandKind::kAddress: {
            const uint16_t word = recipe.NextWord();
            out.Word(word & 0x8000 ? static_cast<uint16_t>(start + (word & 0x7FFF) % 256)
                                   : static_cast<uint16_t>(word * 2));
            break;
        }
        case lcdm::OperandKind::kCount: {
            const int count = recipe.Next() % (kMaxSelectEntries + 1);
            out.Byte(static_cast<uint8_t>(count));
            for (int i = 0; i < count; ++i) {
                out.Byte(recipe.Next() % 8);
                out.Byte(recipe.Next() % 16);
            }
            break;
        }
    }
}

uint8_t ItemType(uint8_t byte) {
    for (uint8_t type : kItemTypes)
        if (byte == type) return type;
    return kItemTypes[byte % sizeof kItemTypes];
}

void WriteItem(Recipe& recipe, Writer& out, uint16_t start) {
    const uint8_t type = ItemType(recipe.Next());
    const uint8_t number = recipe.Next() % 16;
    const int size = recipe.Next() % kMaxBody;
    const uint32_t item = out.at();
    out.Seek(item + lcdm::kItemHeaderSize);
    const bool program = type == lcdm::kItemProcedure || type == lcdm::kItemScript;
    for (int i = 0; i < size; ++i) {
        if (program)
            WriteTag(recipe, out, start);
        else
            out.Byte(recipe.Next());
    }
    const uint32_t end = out.at();
    out.Seek(item);
    out.Word(static_cast<uint16_t>(end - item));
    out.Byte(number);
    out.Byte(type);
    out.Seek(end);
}

// The bound's last tag may itself end the run (END, a failed check), so only
// the guard's own status says how many tags ran since the last wait.
void CheckRunEnded() {
    const uint8_t status = lcdm::Engine.StatusRegister;
    bool known = false;
    for (uint8_t end : kEndStatuses) known = known || status == end;
    if (!known) Broken("a run ended with a status the module does not define", status);
    const uint32_t counted = gWatch.watched ? gWatch.tagsSinceWait : lcdm::Engine.tagsSinceWait;
    if (status == lcdm::kStatusRunGuard && counted != lcdm::kRunGuardTags)
        Broken("the run guard stopped a run short of its bound", counted);
    if (counted > lcdm::kRunGuardTags) Broken("a run went past the run guard's bound", counted);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool hooked = [] {
        lcdm::SetRenderLcdAndPump(&CountTick);
        return true;
    }();
    (void)hooked;
    lcdm::ModuleReset();

    Recipe recipe(data, size);
    const uint16_t start = static_cast<uint16_t>(
        kFreeMemory + recipe.NextWord() % (lcdm::kModuleMemorySize - kFreeMemory));
    const uint8_t id = recipe.Next();
    const bool watched = (id & 0x80) == 0;
    lcdm::SetTagTraceHook(watched ? &WatchTag : nullptr);
    Writer out(start);
    out.Word(lcdm::kItemHeaderSize);
    out.Byte(id == 0 ? 1 : id);
    out.Byte(lcdm::kItemHeader);
    const int items = 1 + recipe.Next() % kMaxItems;
    for (int i = 0; i < items; ++i) WriteItem(recipe, out, start);
    out.Word(0xFFFF);
    out.Word(0xFFFF);
    lcdm::InitVocabulary(start);

    for (int run = 0; run < kMaxRuns && (run == 0 || !recipe.Done()); ++run) {
        const uint8_t script = recipe.Next() % 16;
        const uint8_t parameter = recipe.Next();
        gWatch = RunWatch{};
        gWatch.watched = watched;
        lcdm::RunScript(script, parameter);
        CheckRunEnded();
    }
    return 0;
}
