#include "Disassembler.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <tuple>

#include "Assembler.h"
#include "ChainChecks.h"
#include "Constants.h"
#include "DataLines.h"
#include "Mnemonics.h"
#include "PictureSources.h"
#include "Sources.h"

namespace zorasm {

namespace {

using lcdm::OperandKind;

const std::string kIndent = "        ";
constexpr uint8_t kProcedureType = 1;

std::string Format(const char* format, auto... values) {
    char text[160];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string Label(uint32_t address) {
    return Format("L%04X", address);
}

// Names the disassembler makes for labels; a constant of that form would
// clash with them.
bool IsLabelName(const std::string& name) {
    if (name.size() != 5 || name[0] != 'L') return false;
    for (size_t i = 1; i < 5; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(name[i])) ||
            std::islower(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

// A string item's text in double quotes, escaped so that it reads back exactly.
std::string Escaped(const std::vector<uint8_t>& image, size_t begin, size_t end) {
    std::string text = "\"";
    for (size_t i = begin; i < end; ++i) {
        const uint8_t c = image[i];
        if (c == '"' || c == '\\') {
            text += '\\';
            text += static_cast<char>(c);
        } else if (c == '\n') {
            text += "\\n";
        } else if (c >= 0x20 && c < 0x7F) {
            text += static_cast<char>(c);
        } else {
            text += Format("\\x%02X", c);
        }
    }
    return text + "\"";
}

// One printed line of a program: a tag, a table entry or bytes.
struct ProgramLine {
    uint32_t address = 0;
    uint32_t size = 0;
    std::string text;
    std::optional<long> target;  // where a jump, call or branch goes (may lie outside memory)
    std::optional<int> pushed;   // the value a LIT or PUSH8 pushes
    std::optional<std::pair<int, int>> entry;  // a SELECT entry's type and number
    OperandKind kind = OperandKind::kNone;
    std::string mnemonic;
};

ProgramLine MakeLine(uint32_t address, uint32_t size, std::string text) {
    ProgramLine line;
    line.address = address;
    line.size = size;
    line.text = std::move(text);
    return line;
}

// The names given for the sources, by kind: item types (t_...), tag
// variables (v_...) and procedure numbers (any other name). The first name
// of a kind and value is the one used.
class NameTable {
public:
    explicit NameTable(const std::vector<Name>& names) {
        for (const Name& name : names) {
            if (name.value < 0 || name.value > 255 || IsLabelName(name.name)) continue;
            std::map<long, std::string>& kind = name.name.rfind("t_", 0) == 0   ? types_
                                                : name.name.rfind("v_", 0) == 0 ? variables_
                                                                                : procedures_;
            kind.emplace(name.value, name.name);
        }
    }
    std::string Type(long value) const { return Of(types_, value); }
    std::string Variable(long value) const { return Of(variables_, value); }
    std::string Procedure(long value) const { return Of(procedures_, value); }

private:
    static std::string Of(const std::map<long, std::string>& kind, long value) {
        const auto found = kind.find(value);
        return found == kind.end() ? std::to_string(value) : found->second;
    }
    std::map<long, std::string> types_, variables_, procedures_;
};

bool IsItemTag(const std::string& mnemonic) {
    static const std::set<std::string> kTags = {"FIND_ITEM",      "RUN_ITEM",     "DRAW_BITMAP",
                                                "SELECT_FONT",    "PRINT_STRING", "DRAW_KEY_LABEL",
                                                "SELECT_ICON_SET"};
    return kTags.count(mnemonic) != 0;
}

bool IsVariableTag(const std::string& mnemonic) {
    return mnemonic == "VAR_GET" || mnemonic == "VAR_SET" || mnemonic == "VAR_GET16" ||
           mnemonic == "VAR_SET16";
}

class Disassembler {
public:
    Disassembler(const std::vector<uint8_t>& image, uint32_t base, const std::string& name,
                 SourceSet* sources, const std::vector<Name>& names)
        : image_(image),
          base_(base),
          name_(name),
          sources_(sources),
          names_(names),
          named_(names) {}

    std::string Run() {
        out_ << "; Disassembled by zorasm from " << name_ << ": " << image_.size()
             << " bytes from address " << base_ << ".\n";
        if (base_ != 0) out_ << "; Assemble it with --base " << base_ << ".\n";
        if (sources_ != nullptr) SourcesHeader();
        size_t pos = 0;
        while (pos < image_.size()) {
            const size_t left = image_.size() - pos;
            const uint16_t length = left >= 4 ? Word(pos) : 0;
            if (left >= 4 && length == 0xFFFF && Word(pos + 2) == 0xFFFF) {
                out_ << "\n.end\n";
                Tail(pos + 4, false);
                return out_.str();
            }
            if (left < 4 || length < kItemHeaderSize || length == 0xFFFF || length > left) break;
            Item(pos, length);
            pos += length;
        }
        Tail(pos, true);
        return out_.str();
    }

private:
    uint16_t Word(size_t pos) const {
        return static_cast<uint16_t>((image_[pos] << 8) | image_[pos + 1]);
    }
    uint32_t Address(size_t pos) const { return base_ + static_cast<uint32_t>(pos); }

    void Bytes(size_t begin, size_t end, const std::string& indent) {
        out_ << DataLines(image_.data() + begin, image_.data() + end, indent);
    }

    void SourcesHeader() {
        out_ << "; Bitmaps are drawn in " << kSourcesBitmaps
             << ", icon sets and fonts in files of their own;\n"
             << "; the items' lengths are as the image has them.\n";
        if (names_.empty()) return;
        out_ << "\n.include \"" << kSourcesNames << "\"\n";
        std::string text = "; Names for " + name_ + ", from the .equ lines given to zorasm.\n";
        for (const Name& name : names_)
            if (!IsLabelName(name.name))
                text += ".equ " + name.name + ", " + std::to_string(name.value) + "\n";
        sources_->files[kSourcesNames] = text;
    }

    // What lies past the chain: raw data, then the free space as zeros.
    void Tail(size_t pos, bool needDirective) {
        if (pos >= image_.size()) return;
        size_t last = image_.size();
        while (last > pos && image_[last - 1] == 0) --last;
        out_ << "\n";
        if (needDirective)
            out_ << ".data                   ; past the end of the chain, outside any item\n";
        if (last > pos) Bytes(pos, last, "");
        if (last < image_.size())
            out_ << "; " << image_.size() - last << " bytes of free space (zeros) to the end\n"
                 << ".repeat " << image_.size() - last << ", 0\n";
    }

    void Item(size_t pos, uint16_t length) {
        const uint8_t number = image_[pos + 2];
        const uint8_t type = image_[pos + 3];
        const size_t end = pos + length;
        out_ << "\n";
        if (sources_ != nullptr) ++sources_->items;
        // The lookups find the first item of a number and type; a second
        // one, never found, would be an error as an item of the source.
        const auto key =
            std::make_tuple(int(number), int(type), LookupDetail(type, &image_[pos], length));
        if (pos != 0 && !seen_.insert(key).second) return Shadowed(pos, end);
        if (type == 0 && length == kItemHeaderSize) {
            out_ << ".header " << int(number) << "\n";
        } else if (type == 1 || type == 5) {
            Program(pos, end, type == 1 ? ".procedure" : ".script", number);
        } else if (type == 4 && CleanString(pos + 4, end)) {
            out_ << ".string " << int(number) << ", " << Escaped(image_, pos + 4, end - 1) << "\n";
        } else if (!Picture(pos, length)) {
            out_ << ".item " << int(number) << ", " << Type(type) << Describe(pos, end, type)
                 << "\n";
            DataBody(pos + 4, end, type);
            if (sources_ != nullptr) ++sources_->itemsAsBytes;
        }
    }

    std::string Type(uint8_t type) const { return named_.Type(type); }

    void Shadowed(size_t pos, size_t end) {
        out_ << ".data                   ; "
             << Format("item %u, type %u", image_[pos + 2], image_[pos + 3])
             << " again: the module finds only the first\n";
        Bytes(pos, end, kIndent);
        if (sources_ != nullptr) ++sources_->itemsAsBytes;
    }

    // A bitmap, font or icon set as pixel art, for the sources to edit.
    bool Picture(size_t pos, uint16_t length) {
        if (sources_ == nullptr) return false;
        const std::optional<PictureItem> item = PictureItemOf(&image_[pos], length, Address(pos));
        if (!item) return false;
        out_ << item->lines;
        sources_->files[item->file] += item->art;
        return true;
    }

    // A bitmap's image header and an icon set's records get lines of their
    // own, so the bytes can be read against the formats.
    void DataBody(size_t begin, size_t end, uint8_t type) {
        if (type == 2 && end - begin >= 8) {
            Bytes(begin, begin + 8, kIndent);
            return Bytes(begin + 8, end, kIndent);
        }
        if (type != 7 || end - begin < 2) return Bytes(begin, end, kIndent);
        Bytes(begin, begin + 2, kIndent);
        size_t pos = begin + 2;
        while (end - pos >= 8 && Word(pos) >= 8 && Word(pos) <= end - pos) {
            out_ << kIndent
                 << Format("; icon %u: %u x %u, y-offset %u\n", Word(pos + 2), image_[pos + 4],
                           image_[pos + 5], image_[pos + 6]);
            Bytes(pos, pos + 8, kIndent);
            Bytes(pos + 8, pos + Word(pos), kIndent);
            pos += Word(pos);
        }
        Bytes(pos, end, kIndent);
    }

    // Ends with its only 0 byte.
    bool CleanString(size_t begin, size_t end) const {
        if (end - begin < 1 || image_[end - 1] != 0) return false;
        for (size_t i = begin; i + 1 < end; ++i)
            if (image_[i] == 0) return false;
        return true;
    }

    // A comment on what the bytes of a data item hold.
    std::string Describe(size_t pos, size_t end, uint8_t type) const {
        const size_t body = pos + 4;
        if (type == 2 && end - body >= 8)
            return Format("          ; bitmap: compression %u, %u x %u, %u bytes of data",
                          image_[body], Word(body + 3), Word(body + 5), Word(body + 1));
        if (type == 3 && end - body >= 9)
            return Format("          ; text font: codes 0x%02X..0x%02X, cell %u x %u, class %u",
                          image_[body + 1], image_[body + 2], image_[body + 3], image_[body + 4],
                          image_[body + 8]);
        if (type == 7 && end - body >= 2)
            return Format("          ; icon set: language 0x%02X", image_[body + 1]);
        if (type > 7) return "          ; a type the module does not know";
        return "";
    }

    // ------------------------------------------------------------ programs

    std::vector<ProgramLine> Decode(size_t begin, size_t end) const {
        std::vector<ProgramLine> lines;
        for (size_t pos = begin; pos < end;) {
            ProgramLine line = DecodeTag(pos, end);
            pos += line.size;
            const bool select = line.kind == OperandKind::kCount && line.mnemonic == "SELECT";
            lines.push_back(std::move(line));
            if (!select) continue;
            const int count = image_[pos - 1];
            for (int i = 0; i < count; ++i, pos += 2) {
                ProgramLine entry = MakeLine(Address(pos), 2, "");
                entry.entry = std::make_pair(int(image_[pos]), int(image_[pos + 1]));
                lines.push_back(std::move(entry));
            }
        }
        return lines;
    }

    ProgramLine DecodeTag(size_t pos, size_t end) const {
        const uint8_t opcode = image_[pos];
        const lcdm::OpcodeInfo& info = lcdm::Opcode(opcode);
        const size_t length = lcdm::EncodedLength(opcode);
        ProgramLine line = MakeLine(Address(pos), static_cast<uint32_t>(length), "");
        auto bytes = [&](size_t count, const std::string& why) {
            line.size = static_cast<uint32_t>(count);
            line.mnemonic.clear();
            line.kind = OperandKind::kNone;
            line.text = ".byte ";
            for (size_t i = 0; i < count; ++i)
                line.text += (i ? ", " : "") + HexByte(image_[pos + i]);
            line.text += "    ; " + why;
            return line;
        };
        if (pos + length > end) return bytes(end - pos, "a tag cut by the item's end");
        if (info.mnemonic == nullptr) return bytes(length, Format("invalid opcode %u", opcode));
        if (!WrittenByMnemonic(opcode))
            return bytes(length, Format("%s (opcode %u)", info.mnemonic, opcode));
        line.mnemonic = info.mnemonic;
        line.kind = info.operand;
        const uint8_t first = length > 1 ? image_[pos + 1] : 0;
        const uint16_t word = length > 2 ? Word(pos + 1) : 0;
        switch (info.operand) {
            case OperandKind::kNone: line.text = line.mnemonic; break;
            case OperandKind::kInOpcode:
                line.pushed = opcode - FindMnemonic(line.mnemonic)->opcode;
                line.text = line.mnemonic + " " + std::to_string(*line.pushed);
                break;
            case OperandKind::kByte:
                line.pushed = first;
                line.text = line.mnemonic + " " + std::to_string(first);
                break;
            case OperandKind::kCount:
                if (pos + 2 + 2 * size_t{first} > end)
                    return bytes(length, "SELECT whose table runs past the item's end");
                line.text = line.mnemonic + " " + std::to_string(first);
                break;
            case OperandKind::kWord:
                line.text =
                    opcode == lcdm::kOpEnd
                        ? (word == 0 ? line.mnemonic : line.mnemonic + " " + Format("0x%04X", word))
                        : line.mnemonic + " " +
                              std::to_string(word >= 0x8000 ? word - 0x10000 : word);
                break;
            case OperandKind::kAddress: line.target = word; break;
            case OperandKind::kOffset:
                line.target = static_cast<long>(Address(pos)) + 2 + static_cast<int8_t>(first);
                break;
        }
        return line;
    }

    // Jump and branch operands: a label where the target starts a line of
    // this item, the number otherwise.
    std::string Operand(const ProgramLine& line, const std::set<long>& labels) const {
        const long target = *line.target;
        if (labels.count(target)) return line.mnemonic + " " + Label(static_cast<uint32_t>(target));
        if (line.kind == OperandKind::kAddress) return line.mnemonic + " " + std::to_string(target);
        const long offset = target - static_cast<long>(line.address + 2);
        return line.mnemonic + " " + (offset >= 0 ? "+" : "") + std::to_string(offset);
    }

    // Constants pushed right before the tag that takes them (no label
    // between, where another path could join) are named by what they are:
    // the item type and number of an item tag, the index of a variable tag.
    void NameOperands(std::vector<ProgramLine>& lines, const std::set<long>& labels) const {
        const NameTable& names = named_;
        auto rename = [](ProgramLine& line, const std::string& name) {
            line.text = line.mnemonic + " " + name;
        };
        for (size_t i = 0; i < lines.size(); ++i) {
            ProgramLine& line = lines[i];
            if (line.entry) {
                const auto [type, number] = *line.entry;
                line.text =
                    "    .entry " + names.Type(type) + ", " +
                    (type == kProcedureType ? names.Procedure(number) : std::to_string(number));
                continue;
            }
            const bool joined = labels.count(line.address) != 0;
            if (i >= 1 && IsVariableTag(line.mnemonic) && lines[i - 1].pushed && !joined)
                rename(lines[i - 1], names.Variable(*lines[i - 1].pushed));
            if (i < 1 || !IsItemTag(line.mnemonic) || !lines[i - 1].pushed || joined) continue;
            const int type = *lines[i - 1].pushed;
            rename(lines[i - 1], names.Type(type));
            if (i >= 2 && lines[i - 2].pushed && !labels.count(lines[i - 1].address) &&
                type == kProcedureType)
                rename(lines[i - 2], names.Procedure(*lines[i - 2].pushed));
        }
    }

    void Program(size_t pos, size_t end, const char* directive, uint8_t number) {
        std::vector<ProgramLine> lines = Decode(pos + 4, end);
        std::set<long> starts;
        for (const ProgramLine& line : lines) starts.insert(line.address);
        std::set<long> labels;
        for (const ProgramLine& line : lines)
            if (line.target && starts.count(*line.target)) labels.insert(*line.target);
        NameOperands(lines, labels);
        // Trailing NOPs are the padding of a program given a length, unless
        // something jumps to them.
        size_t shown = lines.size();
        while (shown > 0 && lines[shown - 1].mnemonic == "NOP" &&
               !labels.count(lines[shown - 1].address))
            --shown;
        const bool procedure = std::string(directive) == ".procedure";
        out_ << directive << " " << (procedure ? named_.Procedure(number) : std::to_string(number));
        if (shown < lines.size()) out_ << ", " << end - pos << "          ; padded with NOP";
        out_ << "\n";
        for (size_t i = 0; i < shown; ++i) {
            const ProgramLine& line = lines[i];
            if (labels.count(line.address)) out_ << Label(line.address) << ":\n";
            out_ << kIndent << (line.target ? Operand(line, labels) : line.text) << "\n";
        }
    }

    const std::vector<uint8_t>& image_;
    uint32_t base_;
    std::string name_;
    SourceSet* sources_;
    const std::vector<Name>& names_;
    const NameTable named_;
    std::set<std::tuple<int, int, int>> seen_;
    std::ostringstream out_;
};

}  // namespace

std::string Disassemble(const std::vector<uint8_t>& image, uint32_t base, const std::string& name) {
    return Disassembler(image, base, name, nullptr, {}).Run();
}

SourceSet DisassembleToSources(const std::vector<uint8_t>& image, uint32_t base,
                               const std::string& name, const std::vector<Name>& names) {
    SourceSet set;
    const std::string main = Disassembler(image, base, name, &set, names).Run();
    set.files[kSourcesMain] = main;
    return set;
}

std::optional<std::vector<Name>> ReadNames(const std::string& path, const SourceFiles& files,
                                           std::string& error) {
    Diagnostics diagnostics;
    std::vector<std::string> unreadable;
    const std::vector<Statement> statements = ReadSources({path}, files, diagnostics, unreadable);
    if (!unreadable.empty()) {
        error = unreadable.front();
        return std::nullopt;
    }
    Constants constants;
    std::vector<const Statement*> equs;
    for (const Statement& statement : statements) {
        if (statement.name != ".equ") continue;
        try {
            constants.Define(statement);
            equs.push_back(&statement);
        } catch (const pixelart::Error& failure) {
            diagnostics.Add(failure);
        }
    }
    std::vector<Name> names;
    for (const Statement* equ : equs) {
        try {
            const std::string& name = equ->operands[0].text;
            names.push_back(Name{name, constants.Value(name, equ->position)});
        } catch (const pixelart::Error& failure) {
            diagnostics.Add(failure);
        }
    }
    if (diagnostics.Failed()) {
        error = diagnostics.errors.front();
        return std::nullopt;
    }
    return names;
}

}  // namespace zorasm
