// Groups the statements into items, end markers and stretches of data, lays
// them out one after another from the base address and checks the layout.
#include "Assembler.h"

#include "Body.h"
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
    }

private:
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
            Fail(statement.position, "a label cannot stand on a " + statement.name + " line");
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
            case Block::Kind::kData: block = Data(pending); break;
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

    // The image has to fit in module memory from its base.
    void CheckRoom(const Block& block) {
        const uint32_t end = address_ + block.length;
        if (end <= kModuleMemorySize || reportedRoom_) return;
        reportedRoom_ = true;
        Errors().Add(block.position, "this runs to address " + std::to_string(end) +
                                         ", past the end of module memory (" +
                                         std::to_string(kModuleMemorySize) + " bytes)");
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
};

}  // namespace

Assembly Assemble(const std::vector<std::string>& sources, const SourceFiles& files,
                  const AssembleOptions& options) {
    Assembly assembly;
    const std::vector<Statement> statements =
        ReadSources(sources, files, assembly.diagnostics, assembly.unreadable);
    if (!assembly.unreadable.empty()) return assembly;
    Layout(statements, files, options, assembly).Run();
    return assembly;
}

}  // namespace zorasm
