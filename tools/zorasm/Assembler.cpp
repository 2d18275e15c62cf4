// Groups the statements into items, end markers and stretches of data, lays
// them out one after another from the base address and checks the layout.
#include "Assembler.h"

#include <optional>

#include "Body.h"
#include "ChainChecks.h"
#include "Constants.h"
#include "Items.h"
#include "Sources.h"

namespace zorasm {

namespace {

// One block to be placed: its directive (none for data that stands before the
// first item or after the end marker), the statements that belong to it and
// the `.at` checks that name its address.
struct Pending {
    Block::Kind kind = Block::Kind::kData;
    const Statement* directive = nullptr;
    std::vector<const Statement*> body;
    std::vector<const Statement*> ats;
};

class Layout {
public:
    Layout(const std::vector<Statement>& statements, const SourceFiles& files,
           const AssembleOptions& options, Assembly& assembly)
        : statements_(statements),
          assembly_(assembly),
          art_(files, assembly.diagnostics),
          context_{constants_, assembly.diagnostics, art_},
          address_(options.base) {
        assembly_.base = options.base;
    }

    void Run() {
        DefineConstants();
        Group();
        for (const Pending& pending : pending_) Place(pending);
        for (const Statement* at : ats_) CheckAt(*at, "the image ends");
        if (overflow_) ReportRoom();
        if (!Errors().Failed()) CheckChain(assembly_);
    }

private:
    // The first block past the end of module memory, and where it ends.
    struct Overflow {
        Position position;
        uint32_t end;
    };
    // A `.repeat` of zeros outside any item.
    struct FreeSpace {
        const Statement* statement;
        long count;
        long width;  // bytes of one repetition
        long Bytes() const { return count * width; }
    };

    Diagnostics& Errors() { return assembly_.diagnostics; }

    void DefineConstants() {
        for (const Statement& statement : statements_) {
            if (statement.name != ".equ") continue;
            try {
                constants_.Define(statement);
            } catch (const pixelart::Error& error) {
                Errors().Add(error);
            }
        }
    }

    void Group() {
        for (const Statement& statement : statements_) {
            const std::string& name = statement.name;
            try {
                if (name == ".equ") continue;
                if (name == ".at") {
                    ExpectBare(statement, 1, ".at ADDRESS");
                    ats_.push_back(&statement);
                } else if (IsItemDirective(name)) {
                    Open(Block::Kind::kItem, &statement);
                } else if (name == ".end") {
                    ExpectBare(statement, 0, ".end");
                    Open(Block::Kind::kEndMarker, &statement);
                    open_ = false;  // what follows the marker stands outside items
                } else if (name == ".data") {
                    ExpectBare(statement, 0, ".data");
                    Open(Block::Kind::kData, &statement);
                } else {
                    if (!open_) Open(Block::Kind::kData, nullptr);
                    pending_.back().body.push_back(&statement);
                }
            } catch (const pixelart::Error& error) {
                Errors().Add(error);
            }
        }
    }

    static void ExpectBare(const Statement& statement, size_t operands, const std::string& form) {
        if (!statement.label.empty())
            Fail(At(statement.position, statement.labelColumn),
                 "a label cannot stand on a " + statement.name + " line");
        if (statement.operands.size() != operands) Fail(statement.position, "expected " + form);
    }

    void Open(Block::Kind kind, const Statement* directive) {
        Pending pending;
        pending.kind = kind;
        pending.directive = directive;
        pending.ats = std::move(ats_);
        ats_.clear();
        pending_.push_back(std::move(pending));
        open_ = true;
    }

    void CheckAt(const Statement& at, const std::string& what) {
        try {
            const long wanted =
                EvaluateIn(at.operands[0], constants_, nullptr, at.position, ".at", 0, 65535);
            if (wanted != static_cast<long>(address_))
                Fail(at.position, ".at " + at.operands[0].source + ": " + what + " at " +
                                      std::to_string(address_) + ", not at " +
                                      std::to_string(wanted));
        } catch (const pixelart::Error& error) {
            Errors().Add(error);
        }
    }

    void Place(const Pending& pending) {
        for (const Statement* at : pending.ats)
            CheckAt(*at, pending.kind == Block::Kind::kItem        ? "the next item starts"
                         : pending.kind == Block::Kind::kEndMarker ? "the end marker starts"
                                                                   : "the data starts");
        Block block;
        switch (pending.kind) {
            case Block::Kind::kItem:
                block = BuildItem(*pending.directive, pending.body, address_, context_);
                break;
            case Block::Kind::kEndMarker: block = EndMarker(*pending.directive); break;
            case Block::Kind::kData:
                block = Data(pending);
                NoteFreeSpace(pending);
                break;
        }
        CheckRoom(block);
        // Past the end of memory the image is in error and never written:
        // the blocks still take their room, so that every later message
        // names the right address, but their bytes are not kept.
        if (reportedRoom_) block.lines.clear();
        for (const ListingLine& line : block.lines)
            assembly_.bytes.insert(assembly_.bytes.end(), line.bytes.begin(), line.bytes.end());
        address_ += block.length;
        assembly_.blocks.push_back(std::move(block));
    }

    Block EndMarker(const Statement& directive) {
        Block block;
        block.kind = Block::Kind::kEndMarker;
        block.address = address_;
        block.length = 4;
        block.position = directive.position;
        block.lines.push_back(
            ListingLine{address_, {0xFF, 0xFF, 0xFF, 0xFF}, directive.position, directive.text});
        return block;
    }

    Block Data(const Pending& pending) {
        Block block;
        block.kind = Block::Kind::kData;
        block.address = address_;
        if (pending.directive != nullptr) {
            block.position = pending.directive->position;
            block.lines.push_back(
                ListingLine{address_, {}, block.position, pending.directive->text});
        } else if (!pending.body.empty()) {
            block.position = pending.body.front()->position;
        }
        Body body(pending.body, false, "data outside any item", constants_, Errors());
        block.length = body.Size();
        // Data longer than module memory can only be an error (CheckRoom
        // reports it); its bytes are not made.
        if (block.length > kModuleMemorySize) return block;
        for (ListingLine& line : body.Encode(address_)) block.lines.push_back(std::move(line));
        return block;
    }

    // The image has to fit in module memory from its base. The first block
    // that does not is reported once the whole image is measured, with what
    // it takes to fit.
    void CheckRoom(const Block& block) {
        const uint32_t end = address_ + block.length;
        if (end <= kModuleMemorySize || reportedRoom_) return;
        reportedRoom_ = true;
        overflow_ = Overflow{block.position, end};
    }

    // A `.repeat` of zeros outside any item is free space: the bytes an image
    // that has grown can take back.
    void NoteFreeSpace(const Pending& pending) {
        for (const Statement* statement : pending.body) {
            if (statement->name != ".repeat" || statement->operands.size() < 2) continue;
            try {
                bool zeros = true;
                for (size_t i = 1; i < statement->operands.size(); ++i)
                    zeros = zeros && Evaluate(statement->operands[i], constants_, nullptr,
                                              statement->position, ".repeat") == 0;
                const long count = Evaluate(statement->operands[0], constants_, nullptr,
                                            statement->position, ".repeat count");
                if (zeros)
                    free_.push_back(FreeSpace{statement, count,
                                              static_cast<long>(statement->operands.size() - 1)});
            } catch (const pixelart::Error&) {
                // Reported where the bytes are made.
            }
        }
    }

    void ReportRoom() {
        const long excess = static_cast<long>(address_) - static_cast<long>(kModuleMemorySize);
        std::string message =
            "this runs to address " + std::to_string(overflow_->end) +
            ", past the end of module memory (" + std::to_string(kModuleMemorySize) +
            " bytes): " + std::to_string(excess) + (excess == 1 ? " byte" : " bytes") + " too many";
        const FreeSpace* largest = nullptr;
        for (const FreeSpace& run : free_)
            if (largest == nullptr || run.Bytes() >= largest->Bytes()) largest = &run;
        if (largest == nullptr) {
            message +=
                "; no free space (a .repeat of zeros outside any item) is left to give "
                "them: shorten or remove items";
        } else if (largest->Bytes() < excess) {
            message += "; the largest free space, " + Quoted(*largest) + " at " +
                       zorasm::Place(largest->statement->position) + ", holds only " +
                       std::to_string(largest->Bytes()) + ": shorten or remove items";
        } else {
            const long fewer = (excess + largest->width - 1) / largest->width;
            message += "; the free space " + Quoted(*largest) + " at " +
                       zorasm::Place(largest->statement->position) +
                       " can give them (make its count " + std::to_string(largest->count - fewer) +
                       ")";
        }
        Errors().Add(overflow_->position, message);
    }

    static std::string Quoted(const FreeSpace& run) {
        std::string text = ".repeat";
        for (size_t i = 0; i < run.statement->operands.size(); ++i)
            text += (i == 0 ? " " : ", ") + run.statement->operands[i].source;
        return text;
    }

    const std::vector<Statement>& statements_;
    Assembly& assembly_;
    Constants constants_;
    ArtFiles art_;
    ItemContext context_;
    uint32_t address_;
    std::vector<Pending> pending_;
    std::vector<const Statement*> ats_;
    bool open_ = false;
    bool reportedRoom_ = false;
    std::optional<Overflow> overflow_;
    std::vector<FreeSpace> free_;
};

// Items added to a finished vocabulary go before its end marker, which moves
// behind them; what would change the vocabulary's own items is refused.
void AddBeforeEnd(std::vector<Statement>& statements, std::vector<Statement> added,
                  Diagnostics& diagnostics) {
    bool itemSeen = false;
    std::vector<Statement> kept;
    for (Statement& statement : added) {
        const std::string& name = statement.name;
        if (name == ".header") {
            diagnostics.Add(statement.position,
                            ".header in an added source: the items join the vocabulary of the "
                            "sources they are added to, which has its header; remove this line");
        } else if (name == ".end") {
            diagnostics.Add(statement.position,
                            ".end in an added source: the end marker of the sources the items "
                            "are added to moves behind them; remove this line");
        } else if (!itemSeen && !name.empty() && name != ".equ" && name != ".at" &&
                   !IsItemDirective(name)) {
            diagnostics.Add(statement.position,
                            name +
                                " before the first item of an added source would join the "
                                "last item it is added after; start the source with an item");
        } else {
            itemSeen = itemSeen || IsItemDirective(name);
            kept.push_back(std::move(statement));
        }
    }
    auto end = statements.end();
    for (auto it = statements.begin(); it != statements.end(); ++it)
        if (it->name == ".end") end = it;
    statements.insert(end, std::make_move_iterator(kept.begin()),
                      std::make_move_iterator(kept.end()));
}

}  // namespace

Assembly Assemble(const std::vector<std::string>& sources, const SourceFiles& files,
                  const AssembleOptions& options) {
    Assembly assembly;
    std::vector<Statement> statements =
        ReadSources(sources, files, assembly.diagnostics, assembly.unreadable);
    if (!options.added.empty())
        AddBeforeEnd(statements,
                     ReadSources(options.added, files, assembly.diagnostics, assembly.unreadable),
                     assembly.diagnostics);
    if (!assembly.unreadable.empty()) return assembly;
    Layout(statements, files, options, assembly).Run();
    return assembly;
}

}  // namespace zorasm
