// Names given by `.equ`, and how operands become numbers.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Statement.h"

namespace zorasm {

class Constants {
public:
    // Records a `.equ NAME, VALUE` statement; throws on a malformed or
    // repeated definition. A value may name another constant, defined before
    // or after it.
    void Define(const Statement& statement);
    bool Has(const std::string& name) const { return table_.count(name) != 0; }
    std::vector<std::string> Names() const;
    // The constant's value; throws at `at` if it is unknown or circular.
    long Value(const std::string& name, const Position& at) const;

private:
    // "; did you mean NAME?" for a name close to one defined, else "".
    std::string Suggest(const std::string& name) const;

    std::map<std::string, Statement> table_;
    // Values already followed to their number: a long chain of names is
    // walked once, not once per use.
    mutable std::map<std::string, long> resolved_;
};

// Labels of one item: name -> module memory address.
using Labels = std::map<std::string, long>;

// The operand's number: a number, a label of `labels` (if given) or a
// constant. `what` names the operand in messages ("PUSH8", "item number").
long Evaluate(const Operand& operand, const Constants& constants, const Labels* labels,
              const Position& at, const std::string& what);
// The same, checked against min..max.
long EvaluateIn(const Operand& operand, const Constants& constants, const Labels* labels,
                const Position& at, const std::string& what, long min, long max);

}  // namespace zorasm
