#include "Disassembler.h"

#include <cstdio>
#include <optional>
#include <set>
#include <sstream>

#include "Assembler.h"
#include "Mnemonics.h"

namespace zorasm {

namespace {

using lcdm::OperandKind;

constexpr size_t kBytesPerLine = 16;
constexpr size_t kMinRepeat = 8;  // runs of one byte at least this long become .repeat
const std::string kIndent = "        ";

std::string Format(const char* format, auto... values) {
    char text[160];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string HexByte(uint8_t value) {
    return Format("0x%02X", value);
}

std::string Label(uint32_t address) {
    return Format("L%04X", address);
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
    std::optional<long>
        target;  // may lie outside memory (a branch near 0)  // where a jump, call or branch goes
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

class Disassembler {
public:
    Disassembler(const std::vector<uint8_t>& image, uint32_t base, const std::string& name)
        : image_(image), base_(base), name_(name) {}

    std::string Run() {
        out_ << "; Disassembled by zorasm from " << name_ << ": " << image_.size()
             << " bytes from address " << base_ << ".\n";
        if (base_ != 0) out_ << "; Assemble it with --base " << base_ << ".\n";
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

    // Bytes as .byte lines, long runs of one value as .repeat.
    void Bytes(size_t begin, size_t end, const std::string& indent) {
        std::string row;
        size_t inRow = 0;
        auto flush = [&] {
            if (inRow > 0) out_ << indent << ".byte " << row << "\n";
            row.clear();
            inRow = 0;
        };
        for (size_t i = begin; i < end;) {
            size_t run = 1;
            while (i + run < end && image_[i + run] == image_[i]) ++run;
            if (run >= kMinRepeat) {
                flush();
                out_ << indent << ".repeat " << run << ", " << HexByte(image_[i]) << "\n";
                i += run;
                continue;
            }
            row += (inRow == 0 ? "" : ", ") + HexByte(image_[i]);
            if (++inRow == kBytesPerLine) flush();
            ++i;
        }
        flush();
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
        if (type == 0 && length == kItemHeaderSize) {
            out_ << ".header " << int(number) << "\n";
        } else if (type == 1 || type == 5) {
            Program(pos, end, type == 1 ? ".procedure" : ".script", number);
        } else if (type == 4 && CleanString(pos + 4, end)) {
            out_ << ".string " << int(number) << ", " << Escaped(image_, pos + 4, end - 1) << "\n";
        } else {
            out_ << ".item " << int(number) << ", " << int(type) << Describe(pos, end, type)
                 << "\n";
            DataBody(pos + 4, end, type);
        }
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
            for (int i = 0; i < count; ++i, pos += 2)
                lines.push_back(MakeLine(
                    Address(pos), 2, Format("    .entry %u, %u", image_[pos], image_[pos + 1])));
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
                line.text = line.mnemonic + " " +
                            std::to_string(opcode - FindMnemonic(line.mnemonic)->opcode);
                break;
            case OperandKind::kByte: line.text = line.mnemonic + " " + std::to_string(first); break;
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

    void Program(size_t pos, size_t end, const char* directive, uint8_t number) {
        std::vector<ProgramLine> lines = Decode(pos + 4, end);
        std::set<long> starts;
        for (const ProgramLine& line : lines) starts.insert(line.address);
        std::set<long> labels;
        for (const ProgramLine& line : lines)
            if (line.target && starts.count(*line.target)) labels.insert(*line.target);
        // Trailing NOPs are the padding of a program given a length, unless
        // something jumps to them.
        size_t shown = lines.size();
        while (shown > 0 && lines[shown - 1].mnemonic == "NOP" &&
               !labels.count(lines[shown - 1].address))
            --shown;
        out_ << directive << " " << int(number);
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
    std::ostringstream out_;
};

}  // namespace

std::string Disassemble(const std::vector<uint8_t>& image, uint32_t base, const std::string& name) {
    return Disassembler(image, base, name).Run();
}

}  // namespace zorasm
