#include "Constants.h"

#include <vector>

#include "Diagnostics.h"
#include "Suggestions.h"

namespace zorasm {

std::vector<std::string> Constants::Names() const {
    std::vector<std::string> names;
    for (const auto& [name, statement] : table_) names.push_back(name);
    return names;
}

std::string Constants::Suggest(const std::string& name) const {
    return DidYouMean(name, Names());
}

void Constants::Define(const Statement& statement) {
    const Position& at = statement.position;
    if (!statement.label.empty()) Fail(at, "a label cannot stand on an .equ line");
    if (statement.operands.size() != 2 || statement.operands[0].kind != Operand::Kind::kName ||
        statement.operands[0].to)
        Fail(at, "expected .equ NAME, VALUE");
    const std::string& name = statement.operands[0].text;
    const Position named = At(at, statement.operands[0].column);
    if (name == "to") Fail(named, "'to' is a word of the language, not a constant name");
    const Operand& value = statement.operands[1];
    if (value.kind == Operand::Kind::kString || value.to)
        Fail(At(at, value.column),
             ".equ " + name + ": the value " + value.source + " is not a number or a name");
    const auto found = table_.find(name);
    if (found != table_.end())
        Fail(named, ".equ " + name + " is defined twice (first at " +
                        Place(At(found->second.position, found->second.operands[0].column)) + ")");
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
        if (found == table_.end()) Fail(written, "unknown name " + *current + Suggest(*current));
        chain.push_back(&found->first);
        if (chain.size() > table_.size())
            Fail(at, "the constant " + name + " is defined in terms of itself");
        const Operand& value = found->second.operands[1];
        if (value.kind == Operand::Kind::kNumber) {
            number = value.number;
            break;
        }
        current = &value.text;
        written = At(found->second.position, value.column);
    }
    for (const std::string* passed : chain) resolved_[*passed] = number;
    return number;
}

long Evaluate(const Operand& operand, const Constants& constants, const Labels* labels,
              const Position& position, const std::string& what) {
    const Position at = At(position, operand.column);
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
    std::vector<std::string> names = constants.Names();
    if (labels != nullptr)
        for (const auto& [label, address] : *labels) names.push_back(label);
    Fail(at, what + " " + operand.text + ": unknown " +
                 (labels != nullptr ? "label or constant (labels are local to their item)"
                                    : "constant") +
                 DidYouMean(operand.text, names));
}

long EvaluateIn(const Operand& operand, const Constants& constants, const Labels* labels,
                const Position& position, const std::string& what, long min, long max) {
    const Position at = At(position, operand.column);
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
