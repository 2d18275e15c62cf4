#include "Generators.h"

#include <stdexcept>
#include <vector>

#include "Lcdm.h"
#include "Lcdm_opcodes.h"

namespace digest {

uint64_t Random::Next() {
    // splitmix64
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint32_t Random::Below(uint32_t bound) {
    return static_cast<uint32_t>(((Next() >> 32) * bound) >> 32);
}

namespace {

using Bytes = std::vector<uint8_t>;

enum Op : uint8_t {
    END = 0,
    JUMP = 1,
    CALL = 2,
    PUSH16 = 3,
    PUSH8 = 16,
    BRANCH = 17,
    BRANCH_IF_ZERO = 18,
    BRANCH_IF_NONZERO = 19,
    SELECT = 20,
    LIT0 = 32,
    NOP = 48,
    DUP = 49,
    DROP = 51,
    DROP2 = 52,
    ADD = 67,
    RETURN = 73,
    DELAY = 78,
    CLEAR = 80,
    MOVE_TO = 81,
    PLOT = 82,
    LINE_TO = 83,
    RECTANGLE = 84,
    FILL = 85,
    EMIT = 86,
    EMIT_HEX = 87,
    PRINT_U8 = 88,
    PRINT_U16 = 89,
    PRINT_S8 = 90,
    PRINT_S16 = 91,
    VAR_GET = 92,
    VAR_SET = 94,
    SET_LANGUAGE = 98,
    DRAW_ICON = 103,
    FIND_ITEM = 112,
    RUN_ITEM = 113,
    DRAW_BITMAP = 114,
    SELECT_FONT = 115,
    PRINT_STRING = 116,
    DRAW_KEY_LABEL = 117,
    SELECT_ICON_SET = 118,
    DRAW_LOGO = 121,
};

constexpr uint16_t kFreeMemory = 18838;  // the first byte the default image leaves free
constexpr uint16_t kMemoryEnd = lcdm::kModuleMemorySize;

void Word(Bytes& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value & 0xFF));
}

Action Send(Bytes bytes) {
    return Action{Action::Kind::kSend, 0, std::move(bytes)};
}
Action Memory(uint16_t address, Bytes bytes) {
    return Action{Action::Kind::kMemory, address, std::move(bytes)};
}
Action Run(uint8_t number, uint8_t parameter) {
    return Action{Action::Kind::kRun, number, {parameter}};
}
Action PumpAction(Pump pump) {
    return Action{Action::Kind::kPump, static_cast<uint32_t>(pump), {}};
}
Action InitAt(uint16_t start) {
    return Action{Action::Kind::kInitVocabulary, start, {}};
}

// --------------------------------------------------------- tag programs ---

// What a program may refer to: item numbers stay small so that lookups find
// their items, and calls go to bodies written before.
struct Context {
    uint16_t start = kFreeMemory;
    std::vector<uint16_t> bodies;     // procedure and script bodies so far
    std::vector<uint8_t> numbers[8];  // the vocabulary's item numbers by type
    uint32_t delayPercent = 2;
};

// Mostly the number of an item of that type, so that lookups find it.
uint8_t ItemNumber(Random& r, const Context& c, uint8_t type) {
    const std::vector<uint8_t>& numbers = c.numbers[type & 7];
    if (!numbers.empty() && r.Percent(85))
        return numbers[r.Below(static_cast<uint32_t>(numbers.size()))];
    return r.Percent(90) ? static_cast<uint8_t>(r.Below(8)) : r.Byte();
}

void PushByte(Random& r, Bytes& out, uint8_t value) {
    if (value < 16 && r.Percent(60)) {
        out.push_back(static_cast<uint8_t>(LIT0 + value));
    } else {
        out.push_back(PUSH8);
        out.push_back(value);
    }
}

void PushWord(Bytes& out, uint16_t value) {
    out.push_back(PUSH16);
    Word(out, value);
}

// A coordinate pair as two words, mostly on the screen, sometimes beside it.
void PushPoint(Random& r, Bytes& out) {
    const auto coordinate = [&](int size) {
        return static_cast<uint16_t>(r.Percent(85) ? static_cast<int>(r.Below(size))
                                                   : static_cast<int>(r.Below(size + 40)) - 20);
    };
    PushWord(out, coordinate(64));
    PushWord(out, coordinate(128));
}

void AnyTag(Random& r, Bytes& out) {
    const uint8_t opcode = r.Byte();
    out.push_back(opcode);
    for (int i = 1; i < lcdm::EncodedLength(opcode); ++i) out.push_back(r.Byte());
}

// The bytes a tag takes from the data stack, as its stack effect names them.
int Inputs(uint8_t opcode) {
    const char* effect = lcdm::Opcode(opcode).stackEffect;
    int words = 0;
    bool inWord = false;
    for (const char* c = effect; *c != '\0' && !(c[0] == '-' && c[1] == '>'); ++c) {
        const bool letter = *c != ' ';
        if (letter && !inWord) ++words;
        inWord = letter;
    }
    return words;
}

// Any valid tag with random operands, after the pushes it needs (now and
// then one too few).
void ValidTag(Random& r, Bytes& out) {
    uint8_t opcode = r.Byte();
    while (!lcdm::IsValidOpcode(opcode) || opcode == DELAY || opcode == END) opcode = r.Byte();
    int inputs = Inputs(opcode);
    if (inputs > 0 && r.Percent(5)) --inputs;
    for (int i = 0; i < inputs; ++i) PushByte(r, out, r.Percent(50) ? r.Byte() : r.Below(8));
    out.push_back(opcode);
    for (int i = 1; i < lcdm::EncodedLength(opcode); ++i)
        out.push_back(opcode == BRANCH || opcode == BRANCH_IF_ZERO || opcode == BRANCH_IF_NONZERO
                          ? static_cast<uint8_t>(r.Below(12))
                          : r.Byte());
    if (opcode == SELECT) {
        out.back() = static_cast<uint8_t>(r.Below(5));
        for (uint8_t i = 0; i < out.back(); ++i) {
            out.push_back(static_cast<uint8_t>(r.Below(8)));
            out.push_back(static_cast<uint8_t>(r.Below(8)));
        }
    }
}

void ItemTag(Random& r, Bytes& out, const Context& c) {
    static constexpr struct {
        uint8_t opcode;
        uint8_t type;
    } kItemTags[] = {
        {RUN_ITEM, lcdm::kItemProcedure},      {RUN_ITEM, lcdm::kItemScript},
        {FIND_ITEM, lcdm::kItemString},        {DRAW_BITMAP, lcdm::kItemBitmap},
        {SELECT_FONT, lcdm::kItemTextFont},    {PRINT_STRING, lcdm::kItemString},
        {DRAW_KEY_LABEL, lcdm::kItemKeyLabel}, {SELECT_ICON_SET, lcdm::kItemIconSet},
    };
    const auto& tag = kItemTags[r.Below(sizeof kItemTags / sizeof kItemTags[0])];
    if (tag.opcode != SELECT_FONT && tag.opcode != SELECT_ICON_SET && r.Percent(40))
        PushPoint(r, out);
    if (r.Percent(40)) out.push_back(MOVE_TO);
    const uint8_t number = tag.opcode == DRAW_KEY_LABEL ? static_cast<uint8_t>(r.Below(10))
                                                        : ItemNumber(r, c, tag.type);
    PushByte(r, out, number);
    PushByte(r, out, r.Percent(92) ? tag.type : static_cast<uint8_t>(r.Below(9)));
    out.push_back(tag.opcode);
    if (tag.opcode == FIND_ITEM) out.push_back(r.Percent(50) ? DROP : NOP);
}

void TextTag(Random& r, Bytes& out) {
    if (r.Percent(50)) {
        PushPoint(r, out);
        out.push_back(MOVE_TO);
    }
    switch (r.Below(6)) {
        case 0:
            for (uint32_t i = 1 + r.Below(6); i > 0; --i) {
                PushByte(r, out, static_cast<uint8_t>(r.Percent(80) ? 32 + r.Below(96) : r.Byte()));
                out.push_back(EMIT);
            }
            break;
        case 1:
            PushByte(r, out, r.Byte());
            out.push_back(EMIT_HEX);
            break;
        case 2:
            PushByte(r, out, r.Byte());
            PushByte(r, out, static_cast<uint8_t>(r.Below(6)));
            out.push_back(PRINT_U8);
            break;
        case 3:
            PushWord(out, static_cast<uint16_t>(r.Next()));
            PushByte(r, out, static_cast<uint8_t>(r.Below(9)));
            out.push_back(PRINT_U16);
            break;
        case 4:
            PushByte(r, out, r.Byte());
            out.push_back(PRINT_S8);
            break;
        default:
            PushWord(out, static_cast<uint16_t>(r.Next()));
            out.push_back(PRINT_S16);
            break;
    }
}

void DrawingTag(Random& r, Bytes& out) {
    switch (r.Below(6)) {
        case 0:
            PushPoint(r, out);
            out.push_back(MOVE_TO);
            break;
        case 1:
            PushPoint(r, out);
            out.push_back(LINE_TO);
            break;
        case 2:
            PushPoint(r, out);
            out.push_back(RECTANGLE);
            break;
        case 3:
            PushPoint(r, out);
            PushWord(out, static_cast<uint16_t>(r.Next()));
            out.push_back(FILL);
            break;
        case 4:
            PushByte(r, out, r.Byte() & 1);
            out.push_back(PLOT);
            break;
        default:
            if (r.Percent(20)) {
                out.push_back(CLEAR);
            } else {
                PushWord(out, static_cast<uint16_t>(r.Below(8)));
                out.push_back(DRAW_ICON);
                out.push_back(DROP);
            }
            break;
    }
}

// A count-down loop, the shape every counted loop of a vocabulary has, with
// a short body that leaves the stack as it found it.
void CountedLoop(Random& r, Bytes& out) {
    PushByte(r, out, static_cast<uint8_t>(1 + r.Below(r.Percent(10) ? 255 : 12)));
    const size_t top = out.size();
    switch (r.Below(4)) {
        case 0: break;
        case 1: out.push_back(NOP); break;
        case 2:
            out.push_back(DUP);
            PushByte(r, out, static_cast<uint8_t>(r.Below(64)));
            out.push_back(VAR_SET);
            break;
        default:
            PushWord(out, static_cast<uint16_t>(r.Next()));
            out.push_back(DROP2);
            break;
    }
    out.push_back(PUSH8);
    out.push_back(255);
    out.push_back(ADD);
    out.push_back(DUP);
    out.push_back(BRANCH_IF_NONZERO);
    out.push_back(static_cast<uint8_t>(static_cast<int>(top) - static_cast<int>(out.size() + 1)));
    out.push_back(DROP);
}

void ControlTag(Random& r, Bytes& out, const Context& c) {
    switch (r.Below(8)) {
        case 0: CountedLoop(r, out); break;
        case 1:
            PushByte(r, out, static_cast<uint8_t>(r.Below(3)));
            out.push_back(r.Percent(50) ? BRANCH_IF_ZERO : BRANCH_IF_NONZERO);
            out.push_back(static_cast<uint8_t>(r.Below(10)));
            break;
        case 2: {
            const uint8_t count = static_cast<uint8_t>(r.Below(5));
            PushByte(r, out, static_cast<uint8_t>(r.Below(count + 2)));
            out.push_back(SELECT);
            out.push_back(count);
            for (uint8_t i = 0; i < count; ++i) {
                const uint8_t type = static_cast<uint8_t>(r.Percent(80) ? r.Below(7) : r.Below(9));
                out.push_back(type);
                out.push_back(ItemNumber(r, c, type));
            }
            break;
        }
        case 3:
            if (!c.bodies.empty() && r.Percent(80)) {
                out.push_back(CALL);
                Word(out, c.bodies[r.Below(static_cast<uint32_t>(c.bodies.size()))]);
            } else {
                out.push_back(r.Percent(50) ? CALL : JUMP);
                Word(out, static_cast<uint16_t>(r.Percent(50) ? c.start + r.Below(400)
                                                              : kMemoryEnd - 4 + r.Below(8)));
            }
            break;
        case 4: out.push_back(RETURN); break;
        case 5:
            out.push_back(BRANCH);
            out.push_back(static_cast<uint8_t>(r.Below(6)));
            break;
        case 6:
            PushByte(r, out, static_cast<uint8_t>(r.Below(4)));
            out.push_back(DELAY);
            break;
        default:
            // The return address of a jump to the end of memory or past it.
            PushWord(out, static_cast<uint16_t>(r.Percent(50) ? kMemoryEnd - r.Below(4)
                                                              : 0xFFFF - r.Below(3)));
            out.push_back(62);  // TO_RSTACK, twice: the word onto the return stack
            out.push_back(62);
            out.push_back(RETURN);
            break;
    }
}

void VariableTag(Random& r, Bytes& out) {
    PushByte(r, out, r.Byte());
    PushByte(r, out, static_cast<uint8_t>(r.Below(r.Percent(95) ? 64 : 256)));
    out.push_back(VAR_SET);
    if (r.Percent(50)) {
        PushByte(r, out, static_cast<uint8_t>(r.Below(r.Percent(95) ? 64 : 256)));
        out.push_back(VAR_GET);
    }
}

Bytes ProgramBody(Random& r, const Context& c) {
    Bytes out;
    const uint32_t tags = 1 + r.Below(r.Percent(20) ? 80 : 25);
    for (uint32_t i = 0; i < tags; ++i) {
        const uint32_t pick = r.Below(100);
        if (pick < 18)
            PushByte(r, out, r.Percent(50) ? r.Byte() : static_cast<uint8_t>(r.Below(16)));
        else if (pick < 38)
            ValidTag(r, out);
        else if (pick < 50)
            ItemTag(r, out, c);
        else if (pick < 60)
            TextTag(r, out);
        else if (pick < 70)
            DrawingTag(r, out);
        else if (pick < 80)
            ControlTag(r, out, c);
        else if (pick < 88)
            VariableTag(r, out);
        else if (pick < 88 + c.delayPercent) {
            PushByte(r, out, static_cast<uint8_t>(r.Below(3)));
            out.push_back(DELAY);
        } else if (pick < 95) {
            PushByte(r, out, static_cast<uint8_t>(r.Percent(70) ? 1 + r.Below(3) : r.Byte()));
            out.push_back(SET_LANGUAGE);
        } else if (pick < 98) {
            PushByte(r, out, static_cast<uint8_t>(r.Below(3)));
            out.push_back(DRAW_LOGO);
        } else {
            AnyTag(r, out);
        }
    }
    if (r.Percent(85)) {
        out.push_back(r.Percent(50) ? END : RETURN);
        out.push_back(0);
        out.push_back(0);
    }
    return out;
}

// ------------------------------------------------------------ data items ---

Bytes StringBody(Random& r) {
    Bytes out;
    for (uint32_t i = r.Below(20); i > 0; --i)
        out.push_back(static_cast<uint8_t>(r.Percent(85)   ? 32 + r.Below(96)
                                           : r.Percent(50) ? (r.Percent(50) ? 10 : 13)
                                                           : r.Byte()));
    if (r.Percent(90)) out.push_back(0);
    return out;
}

// A text font: proportional or fixed, its glyphs as the walk counts them.
Bytes FontBody(Random& r) {
    Bytes out;
    const bool proportional = r.Percent(70);
    const uint8_t first = static_cast<uint8_t>(r.Percent(80) ? 33 + r.Below(40) : r.Byte());
    const uint8_t last = static_cast<uint8_t>(r.Percent(90) ? first + r.Below(60) : r.Byte());
    const uint8_t cellWidth = static_cast<uint8_t>(r.Percent(85) ? 1 + r.Below(16) : r.Byte());
    const uint8_t cellHeight = static_cast<uint8_t>(1 + r.Below(16));
    out.push_back(proportional ? lcdm::kProportionalFont : static_cast<uint8_t>(r.Below(2)));
    out.push_back(first);
    out.push_back(last);
    out.push_back(cellWidth);
    out.push_back(cellHeight);
    out.push_back(static_cast<uint8_t>(r.Below(cellHeight + 2u)));         // ascent
    out.push_back(static_cast<uint8_t>(r.Below(3)));                       // spacing
    out.push_back(static_cast<uint8_t>(r.Below(4)));                       // line gap
    out.push_back(static_cast<uint8_t>(r.Percent(60) ? 0 : r.Below(11)));  // class
    const int glyphs = last >= first ? last - first + 1 : 0;
    const int written = r.Percent(90) ? glyphs : static_cast<int>(r.Below(glyphs + 1u));
    for (int g = 0; g < written; ++g) {
        const uint8_t rows = static_cast<uint8_t>(r.Below(cellHeight));
        out.push_back(static_cast<uint8_t>((r.Percent(80) ? 0 : r.Below(3)) << 4 | rows));
        int bytesPerRow = cellWidth / 8 + 1;
        if (proportional) {
            const uint8_t width = static_cast<uint8_t>(r.Percent(95) ? 1 + r.Below(16) : r.Byte());
            out.push_back(width);
            bytesPerRow = (width - 1) / 8 + 1;
        }
        for (int i = 0; i < (rows + 1) * bytesPerRow; ++i) out.push_back(r.Byte());
    }
    return out;
}

Bytes BitmapBody(Random& r) {
    Bytes out;
    const uint8_t compression = static_cast<uint8_t>(r.Percent(85) ? r.Below(3) : r.Byte());
    const uint16_t width = static_cast<uint16_t>(r.Percent(90) ? 1 + r.Below(64) : r.Below(70));
    const uint16_t height = static_cast<uint16_t>(r.Percent(90) ? 1 + r.Below(40) : r.Below(140));
    const uint32_t raw = (width + 7u) / 8 * height;
    const uint16_t length = static_cast<uint16_t>(compression == 0 ? raw : 1 + r.Below(raw + 8));
    out.push_back(compression);
    Word(out, length);
    Word(out, width);
    Word(out, height);
    out.push_back(0);
    const uint32_t data = r.Percent(90) ? length : r.Below(length + 1u);
    for (uint32_t i = 0; i < data; ++i) out.push_back(r.Byte());
    return out;
}

// An icon set: its two own bytes (the second is its language), then records
// of length, code, width, height and rows drawn above.
Bytes IconSetBody(Random& r) {
    Bytes out;
    out.push_back(r.Byte());
    out.push_back(static_cast<uint8_t>(r.Percent(80) ? 1 + r.Below(3) : r.Byte()));
    for (uint32_t n = r.Below(6); n > 0; --n) {
        const uint8_t width = static_cast<uint8_t>(r.Percent(90) ? 1 + r.Below(40) : r.Byte());
        const uint8_t height = static_cast<uint8_t>(1 + r.Below(20));
        const uint32_t data = (width + 7u) / 8 * height;
        uint16_t length = static_cast<uint16_t>(8 + data);
        if (r.Percent(5)) length = static_cast<uint16_t>(r.Below(12));
        Word(out, length);
        Word(out, static_cast<uint16_t>(r.Below(8)));
        out.push_back(width);
        out.push_back(height);
        out.push_back(static_cast<uint8_t>(r.Below(6)));
        out.push_back(0);
        for (uint32_t i = 0; i < data; ++i) out.push_back(r.Byte());
    }
    return out;
}

struct VocabularyBytes {
    uint16_t start;
    Bytes bytes;
    std::vector<uint8_t> scripts;  // script numbers in it
};

// A vocabulary of random items at `start`; now and then a length lies. With
// `fillers`, that many small items come first (more than the vocabulary
// index holds) and six fonts follow them.
VocabularyBytes RandomVocabulary(Random& r, uint16_t start, uint32_t delayPercent,
                                 uint32_t fillers = 0) {
    VocabularyBytes v{start, {}, {}};
    Context c;
    c.start = start;
    c.delayPercent = delayPercent;
    Bytes& out = v.bytes;
    Word(out, r.Percent(97) ? 4 : static_cast<uint16_t>(r.Below(8)));
    out.push_back(static_cast<uint8_t>(r.Percent(95) ? 1 + r.Below(254) : 0));
    out.push_back(lcdm::kItemHeader);
    for (uint32_t i = 0; i < fillers; ++i) {
        Word(out, 5);
        out.push_back(r.Byte());
        out.push_back(r.Percent(50) ? lcdm::kItemString : lcdm::kItemKeyLabel);
        out.push_back(static_cast<uint8_t>(32 + r.Below(96)));
    }
    // The items' types and numbers first, so that programs can name them.
    struct Planned {
        uint8_t type;
        uint8_t number;
    };
    std::vector<Planned> plan;
    for (uint32_t i = fillers > 0 ? 8 + r.Below(10) : 1 + r.Below(r.Percent(10) ? 40 : 10); i > 0;
         --i) {
        // The first item is a script, so that a run finds one.
        const uint32_t pick = plan.empty()                      ? 0
                              : fillers > 0 && plan.size() <= 6 ? 65
                                                                : r.Below(100);
        const uint8_t type = pick < 27       ? uint8_t{lcdm::kItemScript}
                             : pick < 45     ? uint8_t{lcdm::kItemProcedure}
                             : pick < 60     ? uint8_t{lcdm::kItemString}
                             : pick < 72     ? uint8_t{lcdm::kItemTextFont}
                             : pick < 84     ? uint8_t{lcdm::kItemBitmap}
                             : pick < 94     ? uint8_t{lcdm::kItemIconSet}
                             : r.Percent(90) ? uint8_t{lcdm::kItemKeyLabel}
                                             : r.Byte();
        const uint8_t number = r.Percent(90) ? static_cast<uint8_t>(r.Below(8)) : r.Byte();
        plan.push_back({type, number});
        if (type <= lcdm::kMaxItemType) c.numbers[type].push_back(number);
        if (type == lcdm::kItemScript) v.scripts.push_back(number);
    }
    for (const Planned& item : plan) {
        Bytes body;
        const uint16_t address = static_cast<uint16_t>(start + out.size());
        switch (item.type) {
            case lcdm::kItemScript:
            case lcdm::kItemProcedure:
                body = ProgramBody(r, c);
                c.bodies.push_back(static_cast<uint16_t>(address + lcdm::kItemHeaderSize));
                break;
            case lcdm::kItemString: body = StringBody(r); break;
            case lcdm::kItemTextFont: body = FontBody(r); break;
            case lcdm::kItemBitmap: body = BitmapBody(r); break;
            case lcdm::kItemIconSet: body = IconSetBody(r); break;
            default:
                for (uint32_t k = r.Below(8); k > 0; --k) body.push_back(r.Byte());
                break;
        }
        uint16_t length = static_cast<uint16_t>(body.size() + lcdm::kItemHeaderSize);
        if (r.Percent(3)) {
            static constexpr uint16_t kLies[] = {0, 1, 2, 3, 0xFFFF, 0x8000};
            length =
                r.Percent(50) ? kLies[r.Below(6)] : static_cast<uint16_t>(length + r.Below(9) - 4);
        }
        Word(out, length);
        out.push_back(item.number);
        out.push_back(item.type);
        out.insert(out.end(), body.begin(), body.end());
    }
    if (r.Percent(95)) Word(out, r.Percent(80) ? 0xFFFF : 0);
    // What lies past the end of memory is never written.
    if (start + out.size() > kMemoryEnd) out.resize(kMemoryEnd - start);
    return v;
}

uint16_t VocabularyStart(Random& r) {
    if (r.Percent(8)) return static_cast<uint16_t>(kMemoryEnd - 40 - r.Below(400));
    return static_cast<uint16_t>(kFreeMemory + r.Below(kMemoryEnd - kFreeMemory - 3000));
}

// ---------------------------------------------------------- host commands ---

void DataBytes(Bytes& out, const Bytes& data) {
    for (uint8_t b : data) {
        out.push_back(0x60);
        out.push_back(b);
    }
}

// One host command or command sequence with random operands.
Bytes HostCommand(Random& r, uint16_t vocabularyArea) {
    Bytes out;
    switch (r.Below(16)) {
        case 0: {
            static constexpr uint8_t kScripts[] = {0, 1, 2, 3, 9, 10, 10, 10, 11, 12, 13, 14, 15};
            out = {0x81, r.Percent(85) ? kScripts[r.Below(sizeof kScripts)] : r.Byte(), r.Byte()};
            break;
        }
        case 1: out = {static_cast<uint8_t>(0x50 | r.Below(16)), r.Byte()}; break;
        case 2:
            if (r.Percent(50))
                out = {0x80, static_cast<uint8_t>(r.Below(70)), r.Byte()};
            else
                out = {static_cast<uint8_t>(0x40 | r.Below(16)), r.Byte()};
            break;
        case 3: {  // a text label
            out = {0x09};
            Bytes label = {static_cast<uint8_t>(r.Percent(80) ? 1 + r.Below(3) : r.Byte())};
            for (uint32_t i = r.Below(19); i > 0; --i)
                label.push_back(static_cast<uint8_t>(r.Percent(90) ? 32 + r.Below(96) : r.Byte()));
            DataBytes(out, label);
            for (uint32_t k = 1 + r.Below(2); k > 0; --k) {
                out.push_back(0x61);
                out.push_back(static_cast<uint8_t>(r.Percent(90) ? 1 + r.Below(8) : r.Byte()));
            }
            out.push_back(0x24);
            break;
        }
        case 4: {  // settings
            out = {0x09};
            Bytes data;
            for (uint32_t i = r.Below(8); i > 0; --i) data.push_back(r.Byte());
            DataBytes(out, data);
            out.insert(out.end(), {0x6B, r.Percent(90) ? lcdm::kConfirm : r.Byte()});
            break;
        }
        case 5: {  // memory bytes at a pointer
            const uint16_t at = static_cast<uint16_t>(r.Percent(60) ? vocabularyArea + r.Below(300)
                                                                    : r.Below(kMemoryEnd + 10));
            out = {0x82, static_cast<uint8_t>(at >> 8), static_cast<uint8_t>(at & 0xFF)};
            if (r.Percent(40)) {
                out.insert(out.end(), {0x0A, 0x09});
                Bytes data;
                for (uint32_t i = 1 + r.Below(18); i > 0; --i) data.push_back(r.Byte());
                DataBytes(out, data);
                out.push_back(0x24);
            } else if (r.Percent(50)) {
                out.insert(out.end(), {0x62, r.Byte()});
            } else {
                out.insert(out.end(), {0x83, r.Byte(), r.Byte()});
            }
            break;
        }
        case 6: {  // a vocabulary initialised at the pointer
            const uint16_t at = static_cast<uint16_t>(r.Percent(50)   ? 0
                                                      : r.Percent(60) ? vocabularyArea
                                                                      : r.Below(kMemoryEnd));
            out = {0x82, static_cast<uint8_t>(at >> 8), static_cast<uint8_t>(at & 0xFF), 0x67,
                   r.Percent(95) ? lcdm::kConfirm : r.Byte()};
            break;
        }
        case 7: {
            static constexpr uint8_t kLanguages[] = {1, 2, 3, 32, 64, 128, 200, 255};
            out = {0x64, r.Percent(85) ? kLanguages[r.Below(8)] : r.Byte()};
            break;
        }
        case 8: {  // a dynamic icon: header, rows, finish
            out = {0x09};
            DataBytes(out,
                      {static_cast<uint8_t>(r.Percent(80) ? 1 : r.Byte()), 0,
                       static_cast<uint8_t>(r.Below(4)), static_cast<uint8_t>(1 + r.Below(62)),
                       static_cast<uint8_t>(1 + r.Below(16)), static_cast<uint8_t>(r.Below(4))});
            out.insert(out.end(), {0x20, 0x24});
            for (uint32_t chunk = r.Below(6); chunk > 0; --chunk) {
                Bytes data;
                for (uint32_t i = 1 + r.Below(18); i > 0; --i) data.push_back(r.Byte());
                DataBytes(out, data);
                out.insert(out.end(), {0x21, 0x24});
            }
            if (r.Percent(80)) out.push_back(0x22);
            break;
        }
        case 9: out = {static_cast<uint8_t>(r.Below(0x17))}; break;
        case 10: {  // logos
            if (r.Percent(40)) {
                out = {0x6A, static_cast<uint8_t>(r.Below(4))};
                break;
            }
            out = r.Percent(50) ? Bytes{0x2A} : Bytes{0x6C, static_cast<uint8_t>(r.Below(3))};
            Bytes data;
            for (uint32_t i = 1 + r.Below(18); i > 0; --i) data.push_back(r.Byte());
            DataBytes(out, data);
            out.push_back(r.Percent(70) ? 0x2B : 0x24);
            break;
        }
        case 11: {
            static constexpr uint8_t kOps[] = {0x65, 0x66, 0x23, 0x28, 0x29, 0x27, 0x85};
            const uint8_t op = kOps[r.Below(sizeof kOps)];
            if (op == 0x65 || op == 0x66)
                out = {op, static_cast<uint8_t>(r.Below(30))};
            else if (op == 0x85)
                out = {op, static_cast<uint8_t>(r.Below(4)), lcdm::kConfirm};
            else
                out = {op};
            break;
        }
        case 12: {
            static constexpr uint8_t kOps[] = {0x68, 0x69, 0x63};
            out = {kOps[r.Below(3)], r.Percent(90) ? lcdm::kConfirm : r.Byte()};
            break;
        }
        case 13:
            for (uint32_t i = 1 + r.Below(5); i > 0; --i) out.push_back(r.Byte());
            break;
        case 14: {  // a block read
            const uint16_t at = static_cast<uint16_t>(r.Below(r.Percent(50) ? 8192 : kMemoryEnd));
            out = {0x82, static_cast<uint8_t>(at >> 8), static_cast<uint8_t>(at & 0xFF), 0x09};
            DataBytes(out, {static_cast<uint8_t>(r.Below(40)), static_cast<uint8_t>(r.Below(2))});
            for (uint32_t i = 1 + r.Below(5); i > 0; --i) out.push_back(0x16);
            break;
        }
        default: out = {0x9F, 0xBF, r.Percent(80) ? uint8_t{0xBF} : r.Byte()}; break;
    }
    return out;
}

// The window's start-up as far as the module sees it, or the shortest way
// to the default vocabulary.
void StartDefaultModule(Random& r, Case& c) {
    if (r.Percent(60)) {
        c.actions.push_back({Action::Kind::kFillStore, 255, {}});
        c.actions.push_back({Action::Kind::kEmptyStacks, 0, {}});
        c.actions.push_back(InitAt(0));
        c.actions.push_back({Action::Kind::kLinkReset, 0, {}});
        c.actions.push_back(Send({0x27}));
    } else {
        c.actions.push_back(Send({0x82, 0x00, 0x00, 0x67, lcdm::kConfirm}));
    }
}

}  // namespace

// ----------------------------------------------------------------- cases ---

Case ProgramCase(uint64_t seed) {
    Random r(seed * 0x100000001B3ull + 1);
    Case c{std::string(kProgramKind) + "/" + std::to_string(seed), {}};
    const uint32_t fillers = r.Percent(6) ? 1030 + r.Below(400) : 0;
    const uint16_t start =
        fillers > 0 ? static_cast<uint16_t>(kFreeMemory + r.Below(3000)) : VocabularyStart(r);
    const VocabularyBytes v = RandomVocabulary(r, start, 2, fillers);
    c.actions.push_back(Memory(v.start, v.bytes));
    if (r.Percent(30)) {
        c.actions.push_back({Action::Kind::kFillStore, 255, {}});
        c.actions.push_back(Send({0x27}));  // default labels; also runs script 10
    }
    c.actions.push_back(
        InitAt(r.Percent(97) ? v.start : static_cast<uint16_t>(r.Below(kMemoryEnd))));
    const uint32_t pick = r.Below(10);
    c.actions.push_back(PumpAction(pick < 5   ? Pump::kTick
                                   : pick < 8 ? Pump::kStopAfter
                                              : Pump::kToggleTrace));
    for (uint32_t run = 1 + r.Below(4); run > 0; --run) {
        const uint8_t script = !v.scripts.empty() && r.Percent(85)
                                   ? v.scripts[r.Below(static_cast<uint32_t>(v.scripts.size()))]
                                   : static_cast<uint8_t>(r.Below(16));
        c.actions.push_back(Run(script, r.Byte()));
        // Now and then memory changes under the vocabulary between runs.
        if (r.Percent(25)) {
            const uint16_t at =
                static_cast<uint16_t>(v.start + r.Below(static_cast<uint32_t>(v.bytes.size()) + 1));
            if (r.Percent(50))
                c.actions.push_back(Memory(at, {r.Byte()}));
            else
                c.actions.push_back(Send({0x82, static_cast<uint8_t>(at >> 8),
                                          static_cast<uint8_t>(at & 0xFF), 0x62, r.Byte()}));
        }
        if (r.Percent(15)) c.actions.push_back(Send(HostCommand(r, v.start)));
    }
    return c;
}

Case HostCase(uint64_t seed) {
    Random r(seed * 0x100000001B3ull + 2);
    Case c{std::string(kHostKind) + "/" + std::to_string(seed), {}};
    StartDefaultModule(r, c);
    if (r.Percent(30)) c.actions.push_back(PumpAction(Pump::kStopAfter));
    for (uint32_t n = 5 + r.Below(40); n > 0; --n) {
        if (r.Percent(4)) {
            c.actions.push_back({Action::Kind::kStatus, r.Below(3), {}});
            continue;
        }
        c.actions.push_back(Send(HostCommand(r, static_cast<uint16_t>(r.Below(18834)))));
    }
    return c;
}

Case ReentrantCase(uint64_t seed) {
    Random r(seed * 0x100000001B3ull + 3);
    Case c{std::string(kReentrantKind) + "/" + std::to_string(seed), {}};
    StartDefaultModule(r, c);
    // Two vocabularies of waiting programs; the host may switch between them,
    // or back to the default one, while a script of either waits.
    const VocabularyBytes a =
        RandomVocabulary(r, static_cast<uint16_t>(kFreeMemory + r.Below(4000)), 12);
    const VocabularyBytes b = RandomVocabulary(r, static_cast<uint16_t>(28000 + r.Below(4000)), 12);
    c.actions.push_back(Memory(a.start, a.bytes));
    c.actions.push_back(Memory(b.start, b.bytes));
    c.actions.push_back(InitAt(a.start));
    c.actions.push_back(PumpAction(Pump::kFeed));
    for (uint32_t n = 4 + r.Below(20); n > 0; --n) {
        Bytes group;
        const uint32_t pick = r.Below(10);
        if (pick < 2) {
            const uint16_t at = r.Percent(40) ? a.start : r.Percent(70) ? b.start : 0;
            group = {0x82, static_cast<uint8_t>(at >> 8), static_cast<uint8_t>(at & 0xFF), 0x67,
                     lcdm::kConfirm};
        } else if (pick < 4) {
            const VocabularyBytes& v = r.Percent(50) ? a : b;
            const std::vector<uint8_t>& numbers = v.scripts;
            group = {0x81,
                     numbers.empty() ? uint8_t{10}
                                     : numbers[r.Below(static_cast<uint32_t>(numbers.size()))],
                     r.Byte()};
        } else if (pick < 6) {
            const uint16_t at =
                static_cast<uint16_t>(a.start + r.Below(static_cast<uint32_t>(a.bytes.size()) + 1));
            group = {0x82, static_cast<uint8_t>(at >> 8), static_cast<uint8_t>(at & 0xFF), 0x62,
                     r.Byte()};
        } else {
            group = HostCommand(r, a.start);
        }
        c.actions.push_back({Action::Kind::kQueue, 0, group});
    }
    for (uint32_t run = 1 + r.Below(3); run > 0; --run) {
        const uint8_t script = !a.scripts.empty() && r.Percent(85)
                                   ? a.scripts[r.Below(static_cast<uint32_t>(a.scripts.size()))]
                                   : static_cast<uint8_t>(r.Below(16));
        c.actions.push_back(Run(script, r.Byte()));
    }
    return c;
}

Case GuardCase(uint64_t which) {
    Case c{std::string(kGuardKind) + "/" + std::to_string(which), {}};
    Bytes voc;
    Word(voc, 4);
    voc.push_back(40);
    voc.push_back(lcdm::kItemHeader);
    Bytes body;
    switch (which) {
        case 0:  // a branch to itself
            body = {NOP, BRANCH, 0xFE};
            break;
        case 1:  // a loop of several tags through a procedure, ended by the guard
            body = {LIT0 + 1, LIT0 + 2, ADD, DROP, CALL, 0, 0, JUMP, 0, 0};
            break;
        case 2:  // the count-down loop, waiting after every 256 rounds: ended by the host
            body = {PUSH8, 0,    PUSH8, 255,   ADD,    DUP, BRANCH_IF_NONZERO,
                    0xFA,  DROP, LIT0,  DELAY, BRANCH, 0xF3};
            break;
        default:  // a script that counts down, then loops for ever in a nested run
            body = {PUSH8, 200,  PUSH8,    255,   ADD, DUP, BRANCH_IF_NONZERO,
                    0xFA,  DROP, LIT0 + 1, DELAY, END, 0,   0};
            break;
    }
    const uint16_t start = kFreeMemory;
    const uint16_t bodyAt = static_cast<uint16_t>(start + 8);
    if (which == 1) {
        // CALL the procedure after the script, JUMP back to the script's start.
        const uint16_t procedure = static_cast<uint16_t>(bodyAt + body.size() + 4);
        body[5] = static_cast<uint8_t>(procedure >> 8);
        body[6] = static_cast<uint8_t>(procedure & 0xFF);
        body[8] = static_cast<uint8_t>(bodyAt >> 8);
        body[9] = static_cast<uint8_t>(bodyAt & 0xFF);
    }
    Word(voc, static_cast<uint16_t>(body.size() + 4));
    voc.push_back(1);
    voc.push_back(lcdm::kItemScript);
    voc.insert(voc.end(), body.begin(), body.end());
    if (which == 1) {
        const Bytes procedure = {LIT0 + 3, DROP, RETURN};
        Word(voc, static_cast<uint16_t>(procedure.size() + 4));
        voc.push_back(2);
        voc.push_back(lcdm::kItemProcedure);
        voc.insert(voc.end(), procedure.begin(), procedure.end());
    }
    // Script 2: the branch to itself, run in a nested run by guard/3.
    const Bytes forever = {BRANCH, 0xFE};
    Word(voc, static_cast<uint16_t>(forever.size() + 4));
    voc.push_back(2);
    voc.push_back(lcdm::kItemScript);
    voc.insert(voc.end(), forever.begin(), forever.end());
    Word(voc, 0xFFFF);
    c.actions.push_back(Memory(start, voc));
    c.actions.push_back(InitAt(start));
    c.actions.push_back(PumpAction(which == 3 ? Pump::kFeed : Pump::kTick));
    if (which == 3) c.actions.push_back({Action::Kind::kQueue, 0, {0x81, 2, 7}});
    c.actions.push_back(Run(1, 5));
    return c;
}

Case GeneratedCase(const std::string& name) {
    const size_t slash = name.find('/');
    if (slash == std::string::npos) throw std::runtime_error("no generator makes case " + name);
    const std::string kind = name.substr(0, slash);
    const uint64_t seed = std::stoull(name.substr(slash + 1));
    if (kind == kProgramKind) return ProgramCase(seed);
    if (kind == kHostKind) return HostCase(seed);
    if (kind == kReentrantKind) return ReentrantCase(seed);
    if (kind == kGuardKind && seed < kGuardCases) return GuardCase(seed);
    throw std::runtime_error("no generator makes case " + name);
}

}  // namespace digest
