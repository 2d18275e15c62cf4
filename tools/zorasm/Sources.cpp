#include "Sources.h"

#include <algorithm>

namespace zorasm {

namespace {

constexpr size_t kMaxIncludeDepth = 32;

class Reader {
public:
    Reader(const SourceFiles& files, Diagnostics& diagnostics)
        : files_(files), diagnostics_(diagnostics) {}

    // False, with the reason, when the file cannot be read.
    bool ReadFile(const std::string& path, std::vector<Statement>& out, std::string& why) {
        const std::optional<std::string> text = files_.Read(path, why);
        if (!text) return false;
        diagnostics_.texts[path] = *text;
        stack_.push_back(path);
        int number = 0;
        size_t start = 0;
        while (start < text->size()) {
            size_t end = text->find('\n', start);
            if (end == std::string::npos) end = text->size();
            std::string line = text->substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            Line(line, Position{path, ++number}, out);
            start = end + 1;
        }
        stack_.pop_back();
        return true;
    }

private:
    void Line(const std::string& line, const Position& position, std::vector<Statement>& out) {
        try {
            Statement statement;
            if (!LexLine(line, position, statement)) return;
            if (statement.name == ".include") return Include(statement, out);
            out.push_back(std::move(statement));
        } catch (const pixelart::Error& error) {
            diagnostics_.Add(error);
        }
    }

    void Include(const Statement& statement, std::vector<Statement>& out) {
        const Position& at = statement.position;
        if (!statement.label.empty())
            Fail(At(at, statement.labelColumn), "a label cannot stand on an .include line");
        if (statement.operands.size() != 1 || statement.operands[0].kind != Operand::Kind::kString)
            Fail(at, ".include takes one file name in double quotes");
        const std::string path = RelativeTo(at.file, statement.operands[0].text);
        if (std::find(stack_.begin(), stack_.end(), path) != stack_.end())
            Fail(at, ".include \"" + statement.operands[0].text + "\" includes " + path +
                         ", which is already being read (an include loop)");
        if (stack_.size() >= kMaxIncludeDepth)
            Fail(at, ".include nested more than " + std::to_string(kMaxIncludeDepth) + " deep");
        std::string why;
        if (!ReadFile(path, out, why)) {
            Fail(at, ".include: " + why);
        }
    }

    const SourceFiles& files_;
    Diagnostics& diagnostics_;
    std::vector<std::string> stack_;
};

}  // namespace

std::vector<Statement> ReadSources(const std::vector<std::string>& paths, const SourceFiles& files,
                                   Diagnostics& diagnostics, std::vector<std::string>& unreadable) {
    Reader reader(files, diagnostics);
    std::vector<Statement> statements;
    for (const std::string& path : paths) {
        std::string why;
        if (reader.ReadFile(path, statements, why)) continue;
        unreadable.push_back(why);
    }
    return statements;
}

}  // namespace zorasm
