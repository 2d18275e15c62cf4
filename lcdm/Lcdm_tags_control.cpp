// Jumps, calls, branches, SELECT, returns, skips, the return stack moves and
// DELAY. The program counter already points past the whole tag while a tag
// executes, so relative branches, CALL and PUSH_PC count from the next tag.
#include "Lcdm_memory.h"
#include "Lcdm_opcodes.h"
#include "Lcdm_tag_bodies.h"
#include "Lcdm_tag_support.h"
#include "Lcdm_voc.h"

namespace lcdm {
namespace {

// Runs the action of a SELECT entry whose number and type were just pushed.
void RunSelectEntry(uint8_t type) {
    switch (type) {
        case 0: Pop(); break;  // a constant: the number stays as the result
        case kItemProcedure:
        case kItemScript: TagRunItem(kOpRunItem, 0); break;
        case kItemBitmap: TagDrawBitmap(0, 0); break;
        case kItemTextFont: TagSelectFont(0, 0); break;
        case kItemString: TagPrintString(0, 0); break;
        case kItemKeyLabel: TagDrawKeyLabel(0, 0); break;
        default: Fail(kStatusWrongType); break;  // both pushed bytes stay
    }
}

// Selector past the table: procedure 0 runs with 17 on the stack and returns
// to the tag after the table.
void RunSelectDefault() {
    const uint16_t procedure = FindVocabularyItem(0, kItemProcedure);
    if (procedure == 0) return void(Fail(kStatusNotFound));
    if (!RoomData(1) || !RoomReturn(2)) return;
    Push(17);
    PushReturnWord(Engine.programCounter);
    Engine.programCounter = static_cast<uint16_t>(procedure + kItemHeaderSize);
}

}  // namespace

// Jumps, branches, calls, returns, the return stack moves and the skips also
// run in place in the fast loop; their work is in Lcdm_tag_bodies.h.
LCDM_HOT_TAG(TagJump, Jump, operand)
LCDM_HOT_TAG(TagCall, Call, operand)
LCDM_HOT_TAG(TagBranch, BranchBy, operand)
LCDM_HOT_TAG(TagBranchIfZero, BranchIfZero, operand)
LCDM_HOT_TAG(TagBranchIfNonzero, BranchIfNonzero, operand)
LCDM_HOT_TAG(TagFromRstack, FromRstack)
LCDM_HOT_TAG(TagToRstack, ToRstack)
LCDM_HOT_TAG(TagReturn, Return)
LCDM_HOT_TAG(TagSkipIfZero, SkipIf, true)
LCDM_HOT_TAG(TagSkipIfNonzero, SkipIf, false)

void TagSelect(uint8_t, uint16_t count) {
    if (!NeedData(1) || count == 0) return;
    const uint8_t selector = Cell(0);
    const bool inTable = selector < count;
    // The entry's two bytes take the selector's place: one more cell is needed.
    if (inTable && Engine.dataDepth == kMaxStackDepth) return void(Fail(kStatusDataOverflow));
    Pop();
    const uint16_t table = Engine.programCounter;
    Engine.programCounter = static_cast<uint16_t>(table + 2 * count);
    if (!inTable) return RunSelectDefault();
    const uint16_t entry = static_cast<uint16_t>(table + 2 * selector);
    const uint8_t type = ReadMemoryByte(entry);
    Push(ReadMemoryByte(static_cast<uint16_t>(entry + 1)));
    Push(type);
    RunSelectEntry(type);
}

// Addresses below 1024 read the frame buffer; the rest read module memory.
void TagFetchR(uint8_t, uint16_t) {
    if (!NeedReturn(2) || !RoomData(1)) return;
    const uint16_t address = PopReturnWord();
    Push(address < kFrameBufferSize ? ReadFrameByte(address) : ReadMemoryByte(address));
}

void TagPushPc(uint8_t, uint16_t) {
    if (RoomData(2)) PushWord(static_cast<uint16_t>(Engine.programCounter + 1));
}

// Waits at least one pass, even for 0. Each pass hands control to the front
// end, whose timer counts the DelayCounter down; without a front end each
// pass counts one tick itself, so the wait always ends.
void TagDelay(uint8_t, uint16_t) {
    if (!NeedData(1)) return;
    Engine.DelayCounter = Pop();
    do {
        if (gRenderLcdAndPump)
            gRenderLcdAndPump();
        else if (Engine.DelayCounter > 0)
            --Engine.DelayCounter;
    } while (Engine.DelayCounter != 0);
    Engine.tagsSinceWait = 0;
}

}  // namespace lcdm
