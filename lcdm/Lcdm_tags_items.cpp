// Tags that name vocabulary items by (number, type), and the language tags.
// Each item tag takes the number below and the type on top, and checks that
// the type is its own although it works on one type only.
#include "Lcdm_bitmaps.h"
#include "Lcdm_fonts.h"
#include "Lcdm_labels.h"
#include "Lcdm_memory.h"
#include "Lcdm_opcodes.h"
#include "Lcdm_tag_support.h"
#include "Lcdm_voc.h"

namespace lcdm {
namespace {

// Operands present and the type on top is `type`; nothing is popped.
bool NeedItemOperands(uint8_t type) {
    if (!NeedData(2)) return false;
    return Cell(0) == type || Fail(kStatusWrongType);
}

// The item named by the two top bytes, or 0 with status 2 (nothing popped).
uint16_t LookUpOperandItem() {
    const uint16_t item = FindVocabularyItem(Cell(1), Cell(0));
    if (item == 0) Fail(kStatusNotFound);
    return item;
}

inline uint16_t Body(uint16_t item) { return static_cast<uint16_t>(item + kItemHeaderSize); }

// Runs one more tag as a stored program would, unless an earlier one failed.
void Then(uint8_t opcode, uint8_t operand = 0) {
    if (Engine.StatusRegister == kStatusOk) Dispatch(opcode, operand, 0);
}

}  // namespace

void TagFindItem(uint8_t, uint16_t) {
    if (!NeedData(2) || !RoomData(1)) return;
    const uint16_t item = FindVocabularyItem(Cell(1), Cell(0));
    Engine.dataDepth -= 2;
    if (item == 0) return Push(0);
    PushWord(Body(item));
    Push(0xFF);
}

void TagRunItem(uint8_t, uint16_t) {
    if (!NeedData(2)) return;
    const uint8_t type = Cell(0);
    if (type != kItemProcedure && type != kItemScript) return void(Fail(kStatusWrongType));
    const uint16_t item = LookUpOperandItem();
    if (item == 0) return;
    // A procedure returns to the tag after RUN_ITEM; a script ends with END.
    if (type == kItemProcedure) {
        if (!RoomReturn(2)) return;
        PushReturnWord(Engine.programCounter);
    }
    Engine.programCounter = Body(item);
    Engine.dataDepth -= 2;
}

void TagDrawBitmap(uint8_t, uint16_t) {
    if (!NeedItemOperands(kItemBitmap)) return;
    const uint16_t item = LookUpOperandItem();
    if (item == 0) return;
    Engine.dataDepth -= 2;
    const Point at = Graphics.GraphicsCursor;
    if (DrawImageRecord(at.x, at.y, MemoryView(Body(item))) != kStatusOk) Fail(kStatusBitmapFailed);
}

// Font n takes effect only when the vocabulary holds it both for class 0
// (the primary font) and for the current language's class (the secondary).
void TagSelectFont(uint8_t, uint16_t) {
    if (!NeedItemOperands(kItemTextFont)) return;
    const uint16_t previous = Fonts.primaryFont;
    const uint8_t number = Cell(1);
    Language.fontNumber = number;
    Engine.dataDepth -= 2;
    const uint16_t primary = FindTextFont(number, 0);
    if (primary == 0) return;
    SelectFont(primary, 0);
    const uint8_t fontClass = Language.currentFontClass;
    const uint16_t companion = FindTextFont(number, fontClass);
    if (companion == 0)
        SelectFont(previous, 0);
    else
        SelectFont(companion, fontClass);  // class 0: the same font, as primary again
}

void TagPrintString(uint8_t, uint16_t) {
    if (!NeedItemOperands(kItemString)) return;
    const uint16_t item = LookUpOperandItem();
    if (item == 0) return;
    Engine.dataDepth -= 2;
    // Stops at the 0 byte or at the first character that cannot be drawn; a
    // string that runs past the end of memory meets the 0 that reads there.
    for (uint16_t at = Body(item);; at = static_cast<uint16_t>(at + 1)) {
        const uint8_t code = ReadMemoryByte(at);
        if (code == 0 || DrawCharacter(code) == 0) break;
    }
}

// When the key has nothing to show, "Button " and its digit stand in, drawn
// from where the cursor was.
void TagDrawKeyLabel(uint8_t, uint16_t) {
    if (!NeedItemOperands(kItemKeyLabel)) return;
    const uint8_t key = Cell(1);
    if (key == 0 || key > 8) return void(Fail(kStatusIndexRange));
    const Point at = Graphics.GraphicsCursor;
    Engine.dataDepth -= 2;
    if (DrawKeyLabel(key) != 0) return;
    Graphics.GraphicsCursor = at;
    for (const char* c = "Button "; *c != '\0'; ++c) DrawCharacter(static_cast<uint8_t>(*c));
    DrawCharacter(static_cast<uint8_t>('0' + key));
}

void TagSelectIconSet(uint8_t, uint16_t) {
    if (!NeedItemOperands(kItemIconSet)) return;
    const uint8_t number = Cell(1);
    Language.iconSetNumber = number;
    const uint16_t body = FindIconSet(number, Language.currentLanguage);
    Engine.dataDepth -= 2;
    Vocabulary.currentIconSet = body;
    Language.iconSetLanguage = body == 0 ? 0 : ReadMemoryByte(static_cast<uint16_t>(body + 1));
}

void TagDrawIcon(uint8_t, uint16_t) {
    if (!NeedData(2)) return;
    const uint16_t code = PopWord();
    uint8_t flag = 0;
    if (Vocabulary.currentIconSet != 0) {
        const uint16_t record = FindIcon(code);
        const Point at = Graphics.GraphicsCursor;
        if (record != 0 && DrawIcon(at.x, at.y, MemoryView(record)) == kStatusOk) flag = 0xFF;
    }
    Push(flag);
}

// The new language selects its icon set and font again, through the stack
// with the normal checks, as a stored program would.
void TagSetLanguage(uint8_t, uint16_t) {
    if (!NeedData(1)) return;
    const uint8_t language = Pop();
    Language.currentLanguage = language;
    Language.currentFontClass = FontClassOf(language);
    Then(kOpPush8, Language.iconSetNumber);
    Then(kOpPush8, kItemIconSet);
    Then(kOpSelectIconSet);
    Then(kOpPush8, Language.fontNumber);
    Then(kOpPush8, kItemTextFont);
    Then(kOpSelectFont);
}

void TagGetLanguage(uint8_t, uint16_t) {
    if (RoomData(1)) Push(Language.currentLanguage);
}

void TagGetFontClass(uint8_t, uint16_t) {
    if (RoomData(1)) Push(Language.currentFontClass);
}

void TagUsedLanguage(uint8_t, uint16_t) {
    if (!NeedData(1)) return;
    const uint8_t i = Cell(0);
    const LanguageList& used = Vocabulary.usedLanguages;
    Cell(0) = i < used.count && i < kLanguageListSize ? used.entries[i] : 0;
}

void TagPushVocabularyId(uint8_t, uint16_t) {
    if (RoomData(1)) Push(Vocabulary.vocabularyId);
}

}  // namespace lcdm
