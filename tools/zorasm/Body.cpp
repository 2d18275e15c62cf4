#include "Body.h"

#include <cctype>

#include "Items.h"
#include "Mnemonics.h"
#include "Suggestions.h"

namespace zorasm {

namespace {

using lcdm::OperandKind;

bool IsDirective(const Statement& statement) {
    return statement.name.front() == '.';
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

void ExpectOperands(const Statement& statement, size_t min, size_t max, const std::string& form) {
    const size_t count = statement.operands.size();
    if (count >= min && count <= max) return;
    Fail(statement.position, statement.name + " takes " +
                                 (max == 0 ? std::string("no operand") : form) + ", found " +
                                 std::to_string(count) + " operand" + (count == 1 ? "" : "s"));
}

void PutWord(std::vector<uint8_t>& out, long value) {
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
    out.push_back(static_cast<uint8_t>(value & 0xFF));
}

// A misspelt mnemonic is most likely another mnemonic, or a data directive
// written without its dot.
const Mnemonic& LookUp(const Statement& statement) {
    if (const Mnemonic* mnemonic = FindMnemonic(statement.name)) return *mnemonic;
    const std::string upper = Upper(statement.name);
    if (upper != statement.name && FindMnemonic(upper) != nullptr)
        Fail(statement.position, "unknown mnemonic " + statement.name +
                                     " (mnemonics are written in capitals: " + upper + ")");
    std::vector<std::string> candidates = MnemonicNames();
    for (const std::string& directive : DirectiveNames()) candidates.push_back(directive);
    Fail(statement.position,
         "unknown mnemonic " + statement.name + DidYouMean(statement.name, candidates));
}

std::string Lines(long count) {
    return std::to_string(count) + (count == 1 ? " .entry line" : " .entry lines");
}

}  // namespace

Body::Body(std::vector<const Statement*> statements, bool program, std::string where,
           const Constants& constants, Diagnostics& diagnostics)
    : statements_(std::move(statements)),
      program_(program),
      where_(std::move(where)),
      constants_(constants),
      diagnostics_(diagnostics) {
    Measure();
}

void Body::Measure() {
    for (const Statement* statement : statements_) {
        uint32_t size = 0;
        bool failed = false;
        try {
            if (!statement->label.empty()) DefineLabel(*statement, size_);
            if (!statement->name.empty())
                size = IsDirective(*statement) ? MeasureData(*statement) : MeasureTag(*statement);
        } catch (const pixelart::Error& error) {
            diagnostics_.Add(error);
            failed = true;
        }
        entries_.push_back(Entry{statement, size_, size, failed});
        size_ += size;
    }
    if (entriesDue_ > 0)
        diagnostics_.Add(select_->position,
                         select_->name + " " + select_->operands[0].source + ": " +
                             Lines(entriesDue_) + " missing after it (its table of " +
                             select_->operands[0].source +
                             " .entry lines follows it directly, before anything else)");
}

void Body::DefineLabel(const Statement& statement, uint32_t offset) {
    const std::string& name = statement.label;
    const Position at = At(statement.position, statement.labelColumn);
    for (const auto& [known, first] : labelOffsets_)
        if (known == name)
            Fail(at, "label " + name + " is defined twice in " + where_ + " (first at " +
                         Place(first.position) + ")");
    if (constants_.Has(name)) Fail(at, "label " + name + " has the name of a constant (.equ)");
    labelOffsets_.emplace_back(name, LabelPlace{offset, at});
}

// A statement other than .entry inside a SELECT table: reported once, here.
void Body::TableCutShort(const Statement& statement) {
    const long due = entriesDue_;
    entriesDue_ = 0;
    Fail(statement.position, statement.name + " stands inside the table of " + select_->name + " " +
                                 select_->operands[0].source + " (" + Place(select_->position) +
                                 "): " + Lines(due) + (due == 1 ? " is" : " are") +
                                 " still due there (make the count match the .entry " + "lines)");
}

uint32_t Body::MeasureTag(const Statement& statement) {
    const Position& at = statement.position;
    if (!program_)
        Fail(at, "tag " + statement.name + " in " + where_ +
                     " (tags belong in .procedure and .script items)");
    const Mnemonic& mnemonic = LookUp(statement);
    if (entriesDue_ > 0) TableCutShort(statement);
    if (mnemonic.operand == OperandKind::kCount) {
        ExpectOperands(statement, 1, 1, "an entry count");
        entriesDue_ = EvaluateIn(statement.operands[0], constants_, nullptr, at, "SELECT", 0, 255);
        select_ = &statement;
    }
    return lcdm::TagLength(mnemonic.opcode);
}

uint32_t Body::MeasureData(const Statement& statement) {
    const std::string& name = statement.name;
    const Position& at = statement.position;
    if (entriesDue_ > 0 && name != ".entry") TableCutShort(statement);
    if (name == ".entry") {
        if (entriesDue_ == 0) Fail(at, ".entry outside a SELECT table");
        --entriesDue_;
        ExpectOperands(statement, 2, 2, "TYPE, NUMBER");
        return 2;
    }
    if (name == ".byte") {
        ExpectOperands(statement, 1, SIZE_MAX, "one or more bytes");
        return static_cast<uint32_t>(statement.operands.size());
    }
    if (name == ".word") {
        ExpectOperands(statement, 1, SIZE_MAX, "one or more words");
        return static_cast<uint32_t>(2 * statement.operands.size());
    }
    if (name == ".text") {
        ExpectOperands(statement, 1, 1, "one string");
        if (statement.operands[0].kind != Operand::Kind::kString)
            Fail(At(at, statement.operands[0].column),
                 ".text takes a string in double quotes, found " + statement.operands[0].source);
        return static_cast<uint32_t>(statement.operands[0].text.size());
    }
    if (name == ".repeat") {
        ExpectOperands(statement, 2, SIZE_MAX, "COUNT, BYTE, ...");
        const long count =
            EvaluateIn(statement.operands[0], constants_, nullptr, at, ".repeat count", 0, 65535);
        const long size = count * static_cast<long>(statement.operands.size() - 1);
        // Refused before a byte is made: no image holds more than module
        // memory, and a line of a few hundred characters could ask for a GB.
        if (size > static_cast<long>(kModuleMemorySize))
            Fail(at, ".repeat " + statement.operands[0].source + " of " +
                         std::to_string(statement.operands.size() - 1) + " bytes makes " +
                         std::to_string(size) + " bytes, more than module memory holds (" +
                         std::to_string(kModuleMemorySize) + ")");
        return static_cast<uint32_t>(size);
    }
    Fail(at, "unknown directive " + name + " in " + where_ +
                 " (expected a tag, .byte, .word, .text, .repeat or .entry)" +
                 DidYouMean(name, DirectiveNames()));
}

std::vector<ListingLine> Body::Encode(uint32_t address) {
    labels_.clear();
    for (const auto& [name, place] : labelOffsets_) labels_[name] = address + place.offset;
    std::vector<ListingLine> lines;
    for (const Entry& entry : entries_) {
        ListingLine line{
            address + entry.offset, {}, entry.statement->position, entry.statement->text};
        try {
            if (!entry.statement->name.empty() && !entry.failed)
                line.bytes = EncodeOne(*entry.statement, line.address);
        } catch (const pixelart::Error& error) {
            diagnostics_.Add(error);
        }
        line.bytes.resize(entry.size, 0);  // an error keeps the statement's room
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<uint8_t> Body::EncodeOne(const Statement& statement, uint32_t address) {
    return IsDirective(statement) ? EncodeData(statement) : EncodeTag(statement, address);
}

long Body::Value(const Statement& statement, size_t index, const std::string& what, long min,
                 long max) const {
    return EvaluateIn(statement.operands[index], constants_, &labels_, statement.position, what,
                      min, max);
}

std::vector<uint8_t> Body::EncodeTag(const Statement& statement, uint32_t address) {
    const Mnemonic& mnemonic = LookUp(statement);
    const std::string& name = statement.name;
    std::vector<uint8_t> out{mnemonic.opcode};
    switch (mnemonic.operand) {
        case OperandKind::kNone: ExpectOperands(statement, 0, 0, ""); break;
        case OperandKind::kInOpcode:
            ExpectOperands(statement, 1, 1, "a value");
            out[0] = static_cast<uint8_t>(mnemonic.opcode +
                                          Value(statement, 0, name, 0, mnemonic.span - 1));
            break;
        case OperandKind::kByte:
            ExpectOperands(statement, 1, 1, "a byte");
            out.push_back(static_cast<uint8_t>(Value(statement, 0, name, -128, 255) & 0xFF));
            break;
        case OperandKind::kCount:
            ExpectOperands(statement, 1, 1, "an entry count");
            out.push_back(static_cast<uint8_t>(Value(statement, 0, name, 0, 255)));
            break;
        case OperandKind::kOffset:
            ExpectOperands(statement, 1, 1, "a label or an offset");
            out.push_back(BranchOffset(statement, address));
            break;
        case OperandKind::kWord:
            // END ignores its operand; stored programs write it as 0.
            ExpectOperands(statement, mnemonic.opcode == lcdm::kOpEnd ? 0 : 1, 1, "a word");
            PutWord(out, statement.operands.empty() ? 0 : Value(statement, 0, name, -32768, 65535));
            break;
        case OperandKind::kAddress:
            ExpectOperands(statement, 1, 1, "a label or an address");
            PutWord(out, Value(statement, 0, name, 0, 65535));
            break;
    }
    return out;
}

// A label is reached from the next tag; a number is the offset itself.
uint8_t Body::BranchOffset(const Statement& statement, uint32_t address) const {
    const Operand& operand = statement.operands[0];
    const auto label =
        operand.kind == Operand::Kind::kName ? labels_.find(operand.text) : labels_.end();
    if (label == labels_.end())
        return static_cast<uint8_t>(Value(statement, 0, statement.name, -128, 127) & 0xFF);
    const long offset = label->second - static_cast<long>(address + 2);
    if (offset < -128 || offset > 127)
        Fail(At(statement.position, operand.column),
             statement.name + " " + operand.text + ": the label lies " +
                 std::to_string(offset < 0 ? -offset : offset) + " bytes " +
                 (offset < 0 ? "before" : "after") +
                 " the next tag, out of a branch's reach (-128 to 127)");
    return static_cast<uint8_t>(offset & 0xFF);
}

std::vector<uint8_t> Body::EncodeData(const Statement& statement) {
    const std::string& name = statement.name;
    std::vector<uint8_t> out;
    if (name == ".entry") {
        out.push_back(static_cast<uint8_t>(Value(statement, 0, ".entry type", 0, 255)));
        out.push_back(static_cast<uint8_t>(Value(statement, 1, ".entry number", 0, 255)));
    } else if (name == ".byte") {
        for (size_t i = 0; i < statement.operands.size(); ++i)
            out.push_back(static_cast<uint8_t>(Value(statement, i, name, -128, 255) & 0xFF));
    } else if (name == ".word") {
        for (size_t i = 0; i < statement.operands.size(); ++i)
            PutWord(out, Value(statement, i, name, -32768, 65535));
    } else if (name == ".text") {
        out.assign(statement.operands[0].text.begin(), statement.operands[0].text.end());
    } else if (name == ".repeat") {
        std::vector<uint8_t> pattern;
        for (size_t i = 1; i < statement.operands.size(); ++i)
            pattern.push_back(static_cast<uint8_t>(Value(statement, i, name, -128, 255) & 0xFF));
        const long count = Value(statement, 0, ".repeat count", 0, 65535);
        for (long n = 0; n < count; ++n) out.insert(out.end(), pattern.begin(), pattern.end());
    }
    return out;
}

}  // namespace zorasm
