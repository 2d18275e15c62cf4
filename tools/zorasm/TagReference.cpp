#include "TagReference.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <sstream>
#include <stdexcept>

#include "Lcdm_common.h"
#include "Lcdm_opcode_list.h"
#include "Lcdm_opcodes.h"
#include "Lcdm_status.h"

namespace zorasm {

namespace {

using lcdm::OperandKind;

struct Facts {
    std::string cells;
    std::vector<uint8_t> statuses;
    bool hasCells = false;
    bool hasStatuses = false;
};

// The facts tables by mnemonic; a mnemonic named twice in one table, or one
// the tag list does not hold, is a fault of the tables.
std::map<std::string, Facts> ReadFacts() {
    std::map<std::string, Facts> facts;
    const auto cells = [&](const char* mnemonic, const char* text) {
        Facts& entry = facts[mnemonic];
        if (entry.hasCells)
            throw std::logic_error(std::string("LCDM_TAG_CELLS names ") + mnemonic + " twice");
        entry.cells = text;
        entry.hasCells = true;
    };
    const auto statuses = [&](const char* mnemonic, std::vector<uint8_t> list) {
        Facts& entry = facts[mnemonic];
        if (entry.hasStatuses)
            throw std::logic_error(std::string("LCDM_TAG_STATUSES names ") + mnemonic + " twice");
        entry.statuses = std::move(list);
        entry.hasStatuses = true;
    };
    using namespace lcdm;
#define ZORASM_CELLS_ROW(mnemonic, text) cells(#mnemonic, text);
    LCDM_TAG_CELLS(ZORASM_CELLS_ROW)
#undef ZORASM_CELLS_ROW
#define ZORASM_STATUS_ROW(mnemonic, ...) statuses(#mnemonic, {__VA_ARGS__});
    LCDM_TAG_STATUSES(ZORASM_STATUS_ROW)
#undef ZORASM_STATUS_ROW
    return facts;
}

std::string OperandName(OperandKind kind) {
    switch (kind) {
        case OperandKind::kNone: return "";
        case OperandKind::kInOpcode: return "in the opcode, 0..15";
        case OperandKind::kByte: return "byte";
        case OperandKind::kOffset: return "offset -128..127";
        case OperandKind::kCount: return "count, then its table";
        case OperandKind::kWord: return "word";
        case OperandKind::kAddress: return "address";
    }
    return "";
}

// The summary, then what the names stand for (both as the list has them:
// names keep their case, so no sentence starts with a capital).
std::string Does(const TagRow& row) {
    std::string text = row.summary;
    if (!row.cells.empty()) text += (text.empty() ? "" : "; ") + row.cells;
    return text.empty() ? text : text + ".";
}

// Words wrapped to lines of at most `width`, each led by `indent`.
std::string Wrapped(const std::string& text, const std::string& indent, size_t width = 96) {
    std::istringstream words(text);
    std::string out, line, word;
    while (words >> word) {
        if (!line.empty() && indent.size() + line.size() + 1 + word.size() > width) {
            out += indent + line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) out += indent + line + "\n";
    return out;
}

std::string StatusList(const std::vector<uint8_t>& statuses) {
    std::string text;
    for (uint8_t status : statuses)
        text +=
            (text.empty() ? "" : "; ") + std::to_string(status) + " " + lcdm::StatusName(status);
    return text;
}

// A table cell: a '|' would end it.
std::string Cell(const std::string& text) {
    std::string cell;
    for (char c : text) {
        if (c == '|') cell += '\\';
        cell += c;
    }
    return cell;
}

std::string Code(const std::string& text) {
    return text.empty() ? "" : "`" + Cell(text) + "`";
}

}  // namespace

std::vector<TagRow> TagRows() {
    std::map<std::string, Facts> facts = ReadFacts();
    std::vector<TagRow> rows;
    std::map<std::string, bool> used;
    for (int op = 0; op < 256;) {
        const lcdm::OpcodeInfo& info = lcdm::Opcode(static_cast<uint8_t>(op));
        int last = op;
        while (last + 1 < 256 && info.mnemonic != nullptr &&
               lcdm::Opcode(static_cast<uint8_t>(last + 1)).mnemonic != nullptr &&
               std::string(lcdm::Opcode(static_cast<uint8_t>(last + 1)).mnemonic) == info.mnemonic)
            ++last;
        if (info.mnemonic == nullptr) {
            ++op;
            continue;
        }
        TagRow row;
        row.opcodes = std::to_string(op) + (last > op ? ".." + std::to_string(last) : "");
        row.mnemonic = info.mnemonic;
        row.operand = OperandName(info.operand);
        row.stack = info.stackEffect;
        row.summary = info.summary;
        const auto found = facts.find(row.mnemonic);
        if (found == facts.end() || !found->second.hasCells || !found->second.hasStatuses)
            throw std::logic_error("the facts tables of Lcdm_opcode_list.h miss the tag " +
                                   row.mnemonic +
                                   " (give it a row in LCDM_TAG_CELLS and "
                                   "LCDM_TAG_STATUSES)");
        row.cells = found->second.cells;
        row.statuses = found->second.statuses;
        std::sort(row.statuses.begin(), row.statuses.end());
        used[row.mnemonic] = true;
        rows.push_back(std::move(row));
        op = last + 1;
    }
    for (const auto& [mnemonic, entry] : facts)
        if (!used.count(mnemonic))
            throw std::logic_error("the facts tables of Lcdm_opcode_list.h name " + mnemonic +
                                   ", which the tag list does not hold");
    TagRow invalid;
    invalid.opcodes = "others";
    invalid.stack = "->";
    invalid.summary =
        "invalid opcode: its operand bytes (by the opcode's range) are fetched, then the run stops";
    invalid.statuses = {lcdm::kStatusInvalidOpcode};
    rows.push_back(std::move(invalid));
    return rows;
}

std::vector<std::pair<uint8_t, std::string>> StatusRows() {
    std::vector<std::pair<uint8_t, std::string>> rows;
    const std::string unknown = lcdm::StatusName(255);
    for (int status = 0; status < 256; ++status) {
        const std::string name = lcdm::StatusName(static_cast<uint8_t>(status));
        if (name != unknown) rows.emplace_back(static_cast<uint8_t>(status), name);
    }
    return rows;
}

std::string TagTableText() {
    std::ostringstream out;
    out << "opcode  mnemonic               operand                stack effect (top on the "
           "right)\n";
    for (const TagRow& row : TagRows()) {
        char head[200];
        std::snprintf(head, sizeof head, "%-7s %-22s %-22s %s", row.opcodes.c_str(),
                      row.mnemonic.empty() ? "(invalid)" : row.mnemonic.c_str(),
                      row.operand.empty() ? "-" : row.operand.c_str(), row.stack.c_str());
        out << "\n" << head << "\n" << Wrapped(Does(row), "        ");
        if (!row.statuses.empty())
            out << Wrapped("statuses: " + StatusList(row.statuses), "        ");
    }
    return out.str();
}

std::string TagTableMarkdown() {
    std::ostringstream out;
    out << "| opcode | tag | operand | stack effect | what it does | statuses |\n"
        << "|---:|---|---|---|---|---|\n";
    for (const TagRow& row : TagRows())
        out << "| " << row.opcodes << " | "
            << (row.mnemonic.empty() ? "(invalid)" : Code(row.mnemonic)) << " | "
            << Cell(row.operand) << " | " << Code(row.stack) << " | " << Cell(Does(row)) << " | "
            << Cell(StatusList(row.statuses)) << " |\n";
    return out.str();
}

std::string StatusTableMarkdown() {
    std::ostringstream out;
    out << "| status | name |\n|---:|---|\n";
    for (const auto& [status, name] : StatusRows())
        out << "| " << int(status) << " | " << Cell(name) << " |\n";
    return out.str();
}

std::string FontClassTableMarkdown() {
    std::ostringstream out;
    out << "| font class | languages |\n|---:|---|\n";
    for (int language = 0; language < 256;) {
        const int fontClass = lcdm::FontClassOf(static_cast<uint8_t>(language));
        int last = language;
        while (last < 255 && lcdm::FontClassOf(static_cast<uint8_t>(last + 1)) == fontClass) ++last;
        out << "| " << fontClass << " | " << language << ".." << last << " |\n";
        language = last + 1;
    }
    return out.str();
}

std::optional<std::string> MergeTagReference(const std::string& templateText,
                                             const std::string& templatePath,
                                             const SourceFiles& files, std::string& error) {
    std::ostringstream out;
    out << "<!-- Generated by zorasm tag-reference from lcdm/Lcdm_opcode_list.h and "
        << templatePath << "; edit those, not this file. -->\n";
    std::istringstream lines(templateText);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const std::string where = templatePath + ":" + std::to_string(number) + ": ";
        if (line == "<!-- tag table -->") {
            out << TagTableMarkdown();
            continue;
        }
        if (line == "<!-- status table -->") {
            out << StatusTableMarkdown();
            continue;
        }
        if (line == "<!-- font class table -->") {
            out << FontClassTableMarkdown();
            continue;
        }
        const std::string recipe = "<!-- recipe ";
        if (line.rfind(recipe, 0) != 0) {
            out << line << "\n";
            continue;
        }
        // "<!-- recipe FILE NAME -->", the name being the rest, spaces and all.
        const std::string end = " -->";
        std::string rest = line.substr(recipe.size());
        const size_t space = rest.find(' ');
        if (rest.size() < end.size() ||
            rest.compare(rest.size() - end.size(), end.size(), end) != 0 ||
            space == std::string::npos || space + end.size() >= rest.size()) {
            error = where + "expected <!-- recipe FILE NAME -->";
            return std::nullopt;
        }
        const std::string file = rest.substr(0, space);
        const std::string name = rest.substr(space + 1, rest.size() - end.size() - space - 1);
        const std::string path = RelativeTo(templatePath, file);
        const std::optional<std::string> source = files.Read(path, error);
        if (!source) {
            error = where + error;
            return std::nullopt;
        }
        std::istringstream sourceLines(*source);
        std::string sourceLine, block;
        bool inRecipe = false, found = false;
        while (std::getline(sourceLines, sourceLine)) {
            if (sourceLine.rfind("; recipe: ", 0) == 0) {
                inRecipe = sourceLine.substr(10) == name;
                found = found || inRecipe;
                continue;
            }
            if (inRecipe) block += sourceLine + "\n";
        }
        while (block.size() >= 2 && block.compare(block.size() - 2, 2, "\n\n") == 0)
            block.pop_back();
        if (!found) {
            error = where + path + " has no line \"; recipe: " + name + "\"";
            return std::nullopt;
        }
        out << "```\n" << block << "```\n";
    }
    return out.str();
}

}  // namespace zorasm
