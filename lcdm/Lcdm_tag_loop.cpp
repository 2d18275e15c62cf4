// The loop that runs a script's tags, and the dispatch table, both expanded
// from the one tag list.
//
// While a tag trace hook is set, every tag goes through FetchCycle, as it
// always has: the run guard, the fetch, the hook, the handler. Without one,
// the fast loop runs the tags: it keeps the program counter, the data stack
// depth and the run guard's count in locals, reads program bytes straight
// from memory (and from the 0s behind it, which read as every read past the
// end does; FetchCycle's checked reads only where a program counter set from
// the stack may point), runs the common tags in place (their bodies are the
// handlers' own, Lcdm_tag_bodies.h) and calls the handler of any other.
// Before a handler runs (it may wait in DELAY, where the front end takes host
// bytes, runs other scripts, writes memory or sets hooks) the loop writes its
// registers back and reads them again after, and it looks at the trace hook
// again; so every hook, nested run and caller sees exactly what FetchCycle's
// loop would leave.
//
// The fast loop dispatches by direct threading (a table of label addresses)
// where the compiler has labels as values, GCC and Clang; by a switch over
// the same labels otherwise (or with LCDM_NO_THREADED_DISPATCH defined), or
// when asked to (SetTagDispatch), so that both are built and tested.
#include "Lcdm_memory.h"
#include "Lcdm_opcode_list.h"
#include "Lcdm_opcodes.h"
#include "Lcdm_tag_bodies.h"
#include "Lcdm_tag_support.h"

#if (defined(__GNUC__) || defined(__clang__)) && !defined(LCDM_NO_THREADED_DISPATCH)
#define LCDM_THREADED_DISPATCH 1
#else
#define LCDM_THREADED_DISPATCH 0
#endif

namespace lcdm {

namespace {

struct HandlerTable {
    TagHandler handlers[256];
};

// Every opcode the list does not name is invalid.
constexpr HandlerTable BuildHandlers() {
    HandlerTable table{};
    for (TagHandler& handler : table.handlers) handler = TagInvalid;
#define LCDM_HANDLER_ROW(first, last, mnemonic, operand, stack, summary, handler) \
    for (int op = first; op <= last; ++op) table.handlers[op] = handler;
    LCDM_OPCODE_LIST(LCDM_HANDLER_ROW)
#undef LCDM_HANDLER_ROW
    return table;
}

constexpr HandlerTable kHandlers = BuildHandlers();

// The tags the fast loop runs in place, by their handlers; every other tag
// it runs by calling its handler.
// clang-format off
#define LCDM_IN_PLACE_TAGS(X) \
    X(TagEnd) X(TagJump) X(TagCall) X(TagPush16) X(TagPush8) X(TagBranch) X(TagBranchIfZero) \
    X(TagBranchIfNonzero) X(TagLit) X(TagNop) X(TagDup) X(TagDup2) X(TagDrop) X(TagDrop2) \
    X(TagSwap) X(TagRot) X(TagOver) X(TagAnd) X(TagOr) X(TagXor) X(TagFromRstack) \
    X(TagToRstack) X(TagNot) X(TagGreater) X(TagGreaterSigned) X(TagAdd) X(TagAdd16) \
    X(TagNegate) X(TagShiftLeft) X(TagShiftRight) X(TagReturn) X(TagSkipIfZero) \
    X(TagSkipIfNonzero) X(TagEqual) X(TagVarGet) X(TagVarSet)
// clang-format on

// What the fast loop does with an opcode.
enum Kind : uint8_t {
    kByHandler,
#define LCDM_KIND(handler) k##handler,
    LCDM_IN_PLACE_TAGS(LCDM_KIND)
#undef LCDM_KIND
        kKindCount,
};

// Each handler's kind, by the handler itself.
template <TagHandler>
constexpr uint8_t kKindOf = kByHandler;
#define LCDM_KIND_OF(handler) \
    template <>               \
    constexpr uint8_t kKindOf<handler> = k##handler;
LCDM_IN_PLACE_TAGS(LCDM_KIND_OF)
#undef LCDM_KIND_OF

struct KindTable {
    uint8_t kinds[256];
};

// Every opcode the list does not name is invalid, which its handler runs.
constexpr KindTable BuildKinds() {
    KindTable table{};
    for (uint8_t& kind : table.kinds) kind = kByHandler;
#define LCDM_KIND_ROW(first, last, mnemonic, operand, stack, summary, handler) \
    for (int op = first; op <= last; ++op) table.kinds[op] = kKindOf<handler>;
    LCDM_OPCODE_LIST(LCDM_KIND_ROW)
#undef LCDM_KIND_ROW
    return table;
}

constexpr KindTable kKinds = BuildKinds();

// The fast loop's program counter: the address of the memory byte it
// points at, so that a fetch needs no index. Read as a number, and set from
// one, it is the engine's program counter (which may lie past memory: only
// the checked fetch reads there).
struct LoopCounter {
    uintptr_t at;

    // Module memory and the 0s behind it, as one run of bytes.
    static uintptr_t Base() { return reinterpret_cast<uintptr_t>(&Memory); }
    operator size_t() const { return at - Base(); }
    LoopCounter& operator=(size_t pc) {
        at = Base() + pc;
        return *this;
    }
    // The program byte `offset` bytes on (inside memory).
    uint8_t Byte(ptrdiff_t offset) const { return reinterpret_cast<const uint8_t*>(at)[offset]; }
};

// The fast loop's copies of the engine registers a body works on.
struct LoopRegisters {
    size_t depth;
    LoopCounter pc;
};

// The run guard's trail takes the addresses of the tags after this many.
constexpr uint32_t kTrailStart = kRunGuardTags - kGuardTrailTags;
static_assert(kTrailStart <= 0x7FFFFFFF, "the fast loop counts down to the trail in an int32_t");
// The last address from which all three bytes of a tag can be read without a
// check: from memory, or as the 0s behind it. Only a tag that sets the
// program counter from a number it does not check (RETURN, the handlers)
// can take it further; every other tag stops at 37349 at most: a branch at
// 37344, a skip three bytes past it, and a tag that runs over the end leads
// to the 0s behind it, which read as END.
constexpr uint32_t kLastInsideAddress = kModuleMemorySize + kZerosPastTheEnd - 3;

bool gThreaded = LCDM_THREADED_DISPATCH != 0;

#if LCDM_THREADED_DISPATCH
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#ifdef __clang__
#pragma clang diagnostic ignored "-Wgnu-label-as-value"
#endif
#endif

#if defined(__GNUC__) || defined(__clang__)
#define LCDM_COLD __attribute__((cold, noinline))
#else
#define LCDM_COLD
#endif

// Hands the fast loop's registers back to the engine when it stops after a
// tag of `length` bytes, which has left the program counter behind it.
// Memory has not changed since the tag's fetch, so its opcode is still there
// (or it was one of the 0s past the end).
LCDM_COLD void HandBack(size_t depth, size_t pc, uint32_t tagsSinceWait, size_t length) {
    const auto at = static_cast<uint16_t>(pc - length);
    Engine.dataDepth = static_cast<uint8_t>(depth);
    Engine.programCounter = static_cast<uint16_t>(pc);
    Engine.tagsSinceWait = tagsSinceWait;
    Engine.lastTagAddress = at;
    Engine.currentOpcode = ReadMemoryByte(at);
}

#if LCDM_THREADED_DISPATCH
// The label of each opcode's kind, by opcode: one load dispatches a tag.
struct OpcodeLabels {
    const void* labels[256];
};

OpcodeLabels LabelsByOpcode(const void* const* byKind) {
    OpcodeLabels table{};
    for (int op = 0; op < 256; ++op) table.labels[op] = byKind[kKinds.kinds[op]];
    return table;
}
#endif

// Runs tags until the StatusRegister is no longer 0, or until a handler has
// set the trace hook; the registers are the engine's again when it returns.
//
// The loop keeps no copy of the address of the tag it runs: a tag that stops
// the run lies its own length before the program counter, and when the run
// guard stops it the last tag's address ends the guard's trail.
template <bool kThreaded>
void RunFast() {
    LoopRegisters r{Engine.dataDepth, {}};
    r.pc = Engine.programCounter;
    const uintptr_t lastInside = LoopCounter::Base() + kLastInsideAddress;
    // The run guard's count: until the trail begins, as the tags left until
    // it does (`budget`, counted down before each tag); from there on counted
    // up in `count` (count >= kTrailStart).
    int32_t budget;
    uint32_t count;

// The registers to and from the engine.
#define LCDM_LOAD_COUNT()                                                             \
    budget = static_cast<int32_t>(                                                    \
        Engine.tagsSinceWait < kTrailStart ? kTrailStart - Engine.tagsSinceWait : 0); \
    count = Engine.tagsSinceWait < kTrailStart ? 0 : Engine.tagsSinceWait;
#define LCDM_STORE_REGISTERS()                           \
    Engine.dataDepth = static_cast<uint8_t>(r.depth);    \
    Engine.programCounter = static_cast<uint16_t>(r.pc); \
    Engine.tagsSinceWait = LCDM_SINCE_WAIT();
#define LCDM_SINCE_WAIT() (count >= kTrailStart ? count : kTrailStart - budget)
#define LCDM_WRITE_BACK(length) HandBack(r.depth, r.pc, LCDM_SINCE_WAIT(), (length));
#define LCDM_RELOAD()             \
    r.depth = Engine.dataDepth;   \
    r.pc = Engine.programCounter; \
    LCDM_LOAD_COUNT()

    LCDM_LOAD_COUNT()

    // The operand bytes of the tag at the program counter, which moves past it.
    const auto byteOperand = [&r] {
        const uint8_t byte = r.pc.Byte(1);
        r.pc.at += 2;
        Engine.operandByte1 = byte;
        return byte;
    };
    const auto wordOperand = [&r] {
        const uint8_t high = r.pc.Byte(1);
        const uint8_t low = r.pc.Byte(2);
        r.pc.at += 3;
        Engine.operandByte1 = high;
        Engine.operandByte2 = low;
        return MakeWord(high, low);
    };

#if LCDM_THREADED_DISPATCH
#define LCDM_LABEL(handler) &&L_##handler,
    static const void* const kLabelsByKind[kKindCount] = {&&L_byHandler,
                                                          LCDM_IN_PLACE_TAGS(LCDM_LABEL)};
#undef LCDM_LABEL
    static const OpcodeLabels kLabels = LabelsByOpcode(kLabelsByKind);
#endif

// The next tag: the run guard (DELAY starts its count afresh after each
// wait), the fetch, the dispatch. Threaded, every tag ends with its own copy,
// which leaves out the check of the program counter no such tag needs.
#if LCDM_THREADED_DISPATCH
#define LCDM_DISPATCH_NEXT                  \
    if constexpr (kThreaded) {              \
        if (--budget < 0) [[unlikely]]      \
            goto lastTags;                  \
        goto* kLabels.labels[r.pc.Byte(0)]; \
    } else {                                \
        goto next;                          \
    }
#else
#define LCDM_DISPATCH_NEXT goto next;
#endif
// A tag of `length` bytes whose operands have been read: on to the next, or
// stop with the registers handed back.
#define LCDM_NEXT(length, body) \
    if (body) [[likely]] {      \
        LCDM_DISPATCH_NEXT      \
    }                           \
    LCDM_WRITE_BACK(length)     \
    return;
#define LCDM_ONE_BYTE(body) \
    r.pc.at += 1;           \
    LCDM_NEXT(1, body)

next:
    if (--budget < 0) [[unlikely]]
        goto lastTags;
    if (r.pc.at > lastInside) [[unlikely]]
        goto checkedFetch;
dispatch:
#if LCDM_THREADED_DISPATCH
    if constexpr (kThreaded) goto* kLabels.labels[r.pc.Byte(0)];
#endif
    switch (kKinds.kinds[r.pc.Byte(0)]) {
#define LCDM_CASE(handler) \
    case k##handler: goto L_##handler;
        LCDM_IN_PLACE_TAGS(LCDM_CASE)
#undef LCDM_CASE
        default: goto L_byHandler;
    }

L_TagEnd:
    wordOperand();
    hot::End(r);
    LCDM_WRITE_BACK(3)
    return;
L_TagJump:
    LCDM_NEXT(3, hot::Jump(r, wordOperand()))
L_TagCall:
    LCDM_NEXT(3, hot::Call(r, wordOperand()))
L_TagPush16:
    LCDM_NEXT(3, hot::Push16(r, wordOperand()))
L_TagPush8:
    LCDM_NEXT(2, hot::Push8(r, byteOperand()))
L_TagBranch:
    LCDM_NEXT(2, hot::BranchBy(r, byteOperand()))
L_TagBranchIfZero:
    LCDM_NEXT(2, hot::BranchIfZero(r, byteOperand()))
L_TagBranchIfNonzero:
    LCDM_NEXT(2, hot::BranchIfNonzero(r, byteOperand()))
L_TagLit:
    LCDM_ONE_BYTE(hot::Lit(r, r.pc.Byte(-1)))
L_TagNop:
    LCDM_ONE_BYTE(true)
L_TagDup:
    LCDM_ONE_BYTE(hot::Dup(r))
L_TagDup2:
    LCDM_ONE_BYTE(hot::Dup2(r))
L_TagDrop:
    LCDM_ONE_BYTE(hot::Drop(r))
L_TagDrop2:
    LCDM_ONE_BYTE(hot::Drop2(r))
L_TagSwap:
    LCDM_ONE_BYTE(hot::Swap(r))
L_TagRot:
    LCDM_ONE_BYTE(hot::Rot(r))
L_TagOver:
    LCDM_ONE_BYTE(hot::Over(r))
L_TagAnd:
    LCDM_ONE_BYTE(hot::And(r))
L_TagOr:
    LCDM_ONE_BYTE(hot::Or(r))
L_TagXor:
    LCDM_ONE_BYTE(hot::Xor(r))
L_TagFromRstack:
    LCDM_ONE_BYTE(hot::FromRstack(r))
L_TagToRstack:
    LCDM_ONE_BYTE(hot::ToRstack(r))
L_TagNot:
    LCDM_ONE_BYTE(hot::Not(r))
L_TagGreater:
    LCDM_ONE_BYTE(hot::Greater(r))
L_TagGreaterSigned:
    LCDM_ONE_BYTE(hot::GreaterSigned(r))
L_TagAdd:
    LCDM_ONE_BYTE(hot::Add(r))
L_TagAdd16:
    LCDM_ONE_BYTE(hot::Add16(r))
L_TagNegate:
    LCDM_ONE_BYTE(hot::Negate(r))
L_TagShiftLeft:
    LCDM_ONE_BYTE(hot::ShiftLeft(r))
L_TagShiftRight:
    LCDM_ONE_BYTE(hot::ShiftRight(r))
L_TagReturn:
    // The return address may lie anywhere: on through the checked dispatch.
    r.pc.at += 1;
    if (hot::Return(r)) goto next;
    LCDM_WRITE_BACK(1)
    return;
L_TagSkipIfZero:
    LCDM_ONE_BYTE(hot::SkipIf(r, true))
L_TagSkipIfNonzero:
    LCDM_ONE_BYTE(hot::SkipIf(r, false))
L_TagEqual:
    LCDM_ONE_BYTE(hot::Equal(r))
L_TagVarGet:
    LCDM_ONE_BYTE(hot::VarGet(r))
L_TagVarSet:
    LCDM_ONE_BYTE(hot::VarSet(r))

#undef LCDM_ONE_BYTE
#undef LCDM_NEXT
#undef LCDM_DISPATCH_NEXT

L_byHandler : {
    // As FetchCycle: operand registers a tag does not fill keep their values.
    const uint8_t opcode = r.pc.Byte(0);
    const uint8_t length = EncodedLength(opcode);
    if (length >= 2) Engine.operandByte1 = r.pc.Byte(1);
    if (length == 3) Engine.operandByte2 = r.pc.Byte(2);
    r.pc.at += length;
    const uint16_t operand = length == 3   ? MakeWord(Engine.operandByte1, Engine.operandByte2)
                             : length == 2 ? Engine.operandByte1
                                           : 0;
    LCDM_STORE_REGISTERS()
    Engine.lastTagAddress = static_cast<uint16_t>(r.pc - length);
    Engine.currentOpcode = opcode;
    kHandlers.handlers[opcode](opcode, operand);
    LCDM_RELOAD()
    if (Engine.StatusRegister != kStatusOk || gTraceHook != nullptr) return;
    goto next;
}

lastTags:
    // The last tags before the bound leave their addresses in the trail, and
    // each its opcode in the engine as it is fetched: the run guard's stop
    // reports the last one, whose handler may have let memory change since.
    budget = 0;
    if (count < kTrailStart) count = kTrailStart;
    if (count >= kRunGuardTags) {
        Engine.StatusRegister = kStatusRunGuard;
        LCDM_STORE_REGISTERS()
        Engine.lastTagAddress = Engine.guardTrail[kGuardTrailTags - 1];
        return;
    }
    Engine.guardTrail[count - kTrailStart] = static_cast<uint16_t>(r.pc);
    ++count;
    if (r.pc.at > lastInside) goto checkedFetch;
    Engine.currentOpcode = r.pc.Byte(0);
    goto dispatch;

checkedFetch:
    // Near the end of memory: the tag's bytes are read as FetchCycle reads
    // them, 0 past the end, the program counter wrapping at 65535.
    LCDM_STORE_REGISTERS()
    FetchCycle();
    LCDM_RELOAD()
    if (Engine.StatusRegister != kStatusOk || gTraceHook != nullptr) return;
    goto next;

#undef LCDM_LOAD_COUNT
#undef LCDM_STORE_REGISTERS
#undef LCDM_WRITE_BACK
#undef LCDM_SINCE_WAIT
#undef LCDM_RELOAD
}

#if LCDM_THREADED_DISPATCH
#pragma GCC diagnostic pop
#endif

// One tag as a tracer sees it: the run guard, then FetchCycle. DELAY resets
// the count after each wait, so only a program that computes without ever
// waiting can reach the bound; the last tags before it leave their addresses
// in the trail, which a wait among them starts afresh.
void TracedTag() {
    if (Engine.tagsSinceWait >= kRunGuardTags) {
        Engine.StatusRegister = kStatusRunGuard;
        return;
    }
    ++Engine.tagsSinceWait;
    if (Engine.tagsSinceWait > kTrailStart)
        Engine.guardTrail[Engine.tagsSinceWait - 1 - kTrailStart] = Engine.programCounter;
    FetchCycle();
}

}  // namespace

TagHandler HandlerOf(uint8_t opcode) {
    return kHandlers.handlers[opcode];
}

void Dispatch(uint8_t opcode, uint8_t byte1, uint8_t byte2) {
    const uint16_t operand = opcode < 16 ? MakeWord(byte1, byte2) : opcode < 32 ? byte1 : 0;
    kHandlers.handlers[opcode](opcode, operand);
}

void RunTags() {
    while (Engine.StatusRegister == kStatusOk) {
        if (gTraceHook != nullptr)
            TracedTag();
        else if (gThreaded)
            RunFast<true>();
        else
            RunFast<false>();
    }
}

bool SetTagDispatch(TagDispatch dispatch) {
    gThreaded = LCDM_THREADED_DISPATCH != 0 && dispatch == TagDispatch::kThreaded;
    return gThreaded == (dispatch == TagDispatch::kThreaded);
}

TagDispatch CurrentTagDispatch() {
    return gThreaded ? TagDispatch::kThreaded : TagDispatch::kTable;
}

}  // namespace lcdm
