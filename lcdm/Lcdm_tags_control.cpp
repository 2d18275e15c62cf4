// Jumps, calls, branches, SELECT, returns, skips, the return stack moves and
// DELAY. The program counter already points past the whole tag while a tag
// executes, so relative branches, CALL and PUSH_PC count from the next tag.
#include "Lcdm_memory.h"
#include "Lcdm_opcodes.h"
#include "Lcdm_tag_support.h"
#include "Lcdm_voc.h"

namespace lcdm {
namespace {

// A branch may land exactly on 37344: the fetch there reads 0, which is END.
void BranchBy(uint16_t offset) {
    const int target = Engine.programCounter + static_cast<int8_t>(offset & 0xFF);
    if (target < 0 || target > kModuleMemorySize) return void(Fail(kStatusAddressRange));
    Engine.programCounter = static_cast<uint16_t>(target);
}

// Steps over the tag at the program counter by the same length rule as the
// fetch cycle; a skipped SELECT loses only its opcode and count byte.
void SkipNextTag() {
    const uint8_t opcode = ReadMemoryByte(Engine.programCounter);
    Engine.programCounter = static_cast<uint16_t>(Engine.programCounter + TagLength(opcode));
}

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

void TagJump(uint8_t, uint16_t address) {
    if (address >= kModuleMemorySize) return void(Fail(kStatusAddressRange));
    Engine.programCounter = address;
}

void TagCall(uint8_t, uint16_t address) {
    if (address >= kModuleMemorySize) return void(Fail(kStatusAddressRange));
    if (!RoomReturn(2)) return;
    PushReturnWord(Engine.programCounter);
    Engine.programCounter = address;
}

void TagBranch(uint8_t, uint16_t offset) { BranchBy(offset); }

// The flag stays popped even when the branch itself is refused.
void TagBranchIfZero(uint8_t, uint16_t offset) {
    if (NeedData(1) && Pop() == 0) BranchBy(offset);
}

void TagBranchIfNonzero(uint8_t, uint16_t offset) {
    if (NeedData(1) && Pop() != 0) BranchBy(offset);
}

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

void TagFromRstack(uint8_t, uint16_t) {
    if (NeedReturn(1) && RoomData(1)) Push(PopReturn());
}

void TagToRstack(uint8_t, uint16_t) {
    if (NeedData(1) && RoomReturn(1)) PushReturn(Pop());
}

// Addresses below 1024 read the frame buffer; the rest read module memory.
void TagFetchR(uint8_t, uint16_t) {
    if (!NeedReturn(2) || !RoomData(1)) return;
    const uint16_t address = PopReturnWord();
    Push(address < kFrameBufferSize ? ReadFrameByte(address) : ReadMemoryByte(address));
}

// Not compared with the memory size: a counter beyond memory reads END.
void TagReturn(uint8_t, uint16_t) {
    if (NeedReturn(2)) Engine.programCounter = PopReturnWord();
}

void TagSkipIfZero(uint8_t, uint16_t) {
    if (NeedData(1) && Pop() == 0) SkipNextTag();
}

void TagSkipIfNonzero(uint8_t, uint16_t) {
    if (NeedData(1) && Pop() != 0) SkipNextTag();
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
