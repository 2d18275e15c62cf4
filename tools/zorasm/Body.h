// The statements inside one item (or one stretch of data outside items):
// labels, tags, SELECT tables and data. They are measured first, so that
// labels are known before any tag that names them is encoded.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Assembler.h"
#include "Constants.h"
#include "Diagnostics.h"

namespace zorasm {

class Body {
public:
    // `program`: tags are allowed (procedures and scripts). `where` names the
    // item for messages about tags that stand outside a program.
    Body(std::vector<const Statement*> statements, bool program, std::string where,
         const Constants& constants, Diagnostics& diagnostics);

    uint32_t Size() const { return size_; }
    // The bytes of every statement placed from `address` on, one listing line
    // per statement. A statement with an error keeps its measured size (as
    // zeros), so that nothing after it moves.
    std::vector<ListingLine> Encode(uint32_t address);

private:
    struct Entry {
        const Statement* statement;
        uint32_t offset;
        uint32_t size;
        bool failed;  // already reported while measuring
    };

    void Measure();
    void DefineLabel(const Statement& statement, uint32_t offset);
    [[noreturn]] void TableCutShort(const Statement& statement);
    uint32_t MeasureTag(const Statement& statement);
    uint32_t MeasureData(const Statement& statement);
    std::vector<uint8_t> EncodeOne(const Statement& statement, uint32_t address);
    std::vector<uint8_t> EncodeTag(const Statement& statement, uint32_t address);
    std::vector<uint8_t> EncodeData(const Statement& statement);
    long Value(const Statement& statement, size_t index, const std::string& what, long min,
               long max) const;
    uint8_t BranchOffset(const Statement& statement, uint32_t address) const;

    std::vector<const Statement*> statements_;
    bool program_;
    std::string where_;
    const Constants& constants_;
    Diagnostics& diagnostics_;
    std::vector<Entry> entries_;
    struct LabelPlace {
        uint32_t offset;
        Position position;
    };
    std::vector<std::pair<std::string, LabelPlace>> labelOffsets_;
    Labels labels_;
    uint32_t size_ = 0;
    // SELECT tables: the entries still due after the last SELECT.
    long entriesDue_ = 0;
    const Statement* select_ = nullptr;
};

}  // namespace zorasm
