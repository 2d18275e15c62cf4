#include "Constants.h"

#include <vector>

#include "Diagnostics.h"

namespace zorasm {

void Constants::Define(const Statement& statement) {
    const Position& at = statement.position;
    if (!statement.label.empty()) Fail(at, "a label cannot stand on an .equ line");
    if (statement.operands.size() != 2 || statement.operands[0].kind != Operand::Kind::kName ||
        statement.operands[0].to)
        Fail(at, "expected .equ NAME, VALUE");
    const std::string& name = statement.operands[0].text;
    if (name == "to") Fail(at, "'to' is a word of the language, not a constant name");
    const Operand& value = statement.operands[1];
    if (value.kind == Operand::Kind::kString || value.to)
        Fail(at, ".equ " + name + ": the value " + value.source + " is not a number or a name");
    const auto found = table_.find(name);
    if (found != table_.end())
        Fail(at, ".equ " + name + " is defined twice (first at " + found->second.position.file +
                     ":" + std::to_string(found->second.position.line) + ")");
    table_.emplace(name, statement);
}

long Constants::Value(const std::string& name, const Position& at) const {
    // Follows a chain of names of any length; an unknown one is reported
    // where it is written. A chain longer than the table has come round to a
    // name it passed: the constant is defined in terms of itself.
    std::vector<const std::string*> chain;
    const std::string* current = &name;
    Position written = at;
    long number = 0;
    for (;;) {
        if (const auto known = resolved_.find(*current); known != resolved_.end()) {
            number = known->second;
            break;
        }
        const auto found = table_.find(*current);
        if (found == table_.end()) Fail(written, "unknown name " + *current);
        chain.push_back(&found->first);
        if (chain.size() > table_.size())
            Fail(at, "the constant " + name + " is defined in terms of itself");
        const Operand& value = found->second.operands[1];
        if (value.kind == Operand::Kind::kNumber) {
            number = value.number;
            break;
        }
        current = &value.text;
        written = found->second.position;
    }
    for (const std::string* passed : chain) resolved_[*passed] = number;
    return number;
}

long Evaluate(const Operand& operand, const Constants& constants, const Labels* labels,
              const Position& at, const std::string& what) {
    if (operand.to) Fail(at, what + " " + operand.source + ": 'to' gives only an item's length");
    switch (operand.kind) {
        case Operand::Kind::kNumber: return operand.number;
        case Operand::Kind::kString:
            Fail(at, what + " " + operand.source + " is a string (expected a number)");
        case Operand::Kind::kName: break;
    }
    if (labels != nullptr) {
        const auto found = labels->find(operand.text);
        if (found != labels->end()) return found->second;
    }
    if (constants.Has(operand.text)) return constants.Value(operand.text, at);
    Fail(at, what + " " + operand.text + ": unknown " +
                 (labels != nullptr ? "label or constant (labels are local to their item)"
                                    : "constant"));
}

long EvaluateIn(const Operand& operand, const Constants& constants, const Labels* labels,
                const Position& at, const std::string& what, long min, long max) {
    const long value = Evaluate(operand, constants, labels, at, what);
    if (value < min || value > max) {
        const std::string shown = operand.kind == Operand::Kind::kName
                                      ? operand.text + " (= " + std::to_string(value) + ")"
                                      : operand.source;
        Fail(at, what + " " + shown + " is out of range (expected " + std::to_string(min) + " to " +
                     std::to_string(max) + ")");
    }
    return value;
}

}  // namespace zorasm
