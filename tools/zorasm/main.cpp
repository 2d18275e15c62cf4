// zorasm: the vocabulary assembler and disassembler.
//
//   zorasm assemble SOURCE... -o IMAGE.bin [--base ADDR] [--listing FILE]
//   zorasm disassemble IMAGE.bin [--base ADDR] [-o FILE | --sources DIR [--names FILE]]
//   zorasm default -o IMAGE.bin [--with SOURCE]... [--listing FILE]
//   zorasm tag-reference TEMPLATE -o FILE
//   zorasm --list-tags[=markdown]
//
// Exit status: 0 done, 1 the sources (or the image) have errors, 2 the
// command line is wrong or a file cannot be read or written.
#include <QCommandLineParser>
#include <QStringList>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <filesystem>

#include "Assembler.h"
#include "CppOutput.h"
#include "DefaultImage.h"
#include "Disassembler.h"
#include "Listing.h"
#include "SourceMap.h"
#include "Statement.h"
#include "TagReference.h"
#include "files/Files.h"

namespace {

constexpr int kExitSourceErrors = 1;
constexpr int kExitUsage = 2;

const char* const kHelp =
    "Usage: zorasm assemble SOURCE... -o IMAGE [--base ADDR] [--listing FILE] [--map FILE] [--symbol NAME] [--werror]\n"
    "  or:  zorasm disassemble IMAGE.bin [--base ADDR] [-o FILE | --sources DIR [--names FILE]]\n"
    "  or:  zorasm default -o IMAGE [--with SOURCE]... [--listing FILE] [--map FILE] [--symbol NAME] [--werror]\n"
    "  or:  zorasm tag-reference TEMPLATE -o FILE\n"
    "  or:  zorasm --list-tags[=markdown]\n"
    "  or:  zorasm --help | --version\n"
    "\n"
    "Builds module vocabularies from readable sources, and turns images back into source.\n"
    "\n"
    "Commands:\n"
    "  assemble       Assemble the SOURCEs, in order, into one image placed at --base.\n"
    "  disassemble    Print source that assembles back to exactly the bytes of IMAGE.bin.\n"
    "  default        Write the module's default memory image (37344 bytes), assembled\n"
    "                 from the lcdm/image sources built into this program.\n"
    "  tag-reference  Write the tag reference: TEMPLATE with the tag table, the status\n"
    "                 table and the recipes it names filled in (how docs/tags.md is made).\n"
    "\n"
    "Options:\n"
    "  -o, --output FILE   The image to write. A name ending in .cpp gets a C++ file that\n"
    "                      defines the bytes as `const uint8_t lcdm::NAME[]`.\n"
    "                      For disassemble: the source to write (default: standard output).\n"
    "  --base ADDR         Module memory address of the image's first byte (default 0).\n"
    "  --listing FILE      Write a listing: every item with its room, every line's bytes.\n"
    "  --map FILE          Write a map: the source file and line of every byte, which\n"
    "                      zorhost --map reads to name source lines in its reports.\n"
    "  --symbol NAME       The array's name in a .cpp output (default DefaultImage).\n"
    "  --with SOURCE       For default: add the items of SOURCE to the default vocabulary,\n"
    "                      before its end marker (repeatable).\n"
    "  --werror            Treat warnings as errors: write nothing, exit 1.\n"
    "  --sources DIR       For disassemble: write sources a person edits into DIR: the\n"
    "                      items in image.zasm, bitmaps and icon sets as pixel art, fonts\n"
    "                      as glyph files.\n"
    "  --names FILE        For disassemble --sources: the .equ lines of FILE name item\n"
    "                      types (t_...), tag variables (v_...) and procedures (others).\n"
    "  --list-tags[=markdown]  Print the tag set: opcode, mnemonic, operand, stack effect,\n"
    "                      what each tag does and the statuses it can set.\n"
    "  -h, --help          Show this help and exit.\n"
    "  --version           Show the version and exit.\n"
    "\n"
    "Messages go to standard error as FILE:LINE:COLUMN: message, each with its source line\n"
    "and a caret; warnings as FILE:LINE:COLUMN: warning: message.\n"
    "Exit status: 0 done, 1 the sources have errors, 2 a wrong command line or a file that\n"
    "cannot be read or written.\n";

struct CommandLine {
    std::string command;
    std::vector<std::string> inputs;
    std::string output;
    uint32_t base = 0;
    bool baseGiven = false;
    std::string listing;
    std::string map;
    std::string symbol = "DefaultImage";
    std::vector<std::string> added;  // --with
    bool werror = false;
    std::string sources;  // --sources DIR
    std::string names;    // --names FILE
};

[[noreturn]] void UsageError(const std::string& message) {
    std::cerr << "zorasm: " << message << "\nTry 'zorasm --help'.\n";
    std::exit(kExitUsage);
}

uint32_t ParseBase(const std::string& text) {
    zorasm::Statement statement;
    try {
        if (zorasm::LexLine("x " + text, {"--base", 0}, statement) &&
            statement.operands.size() == 1 &&
            statement.operands[0].kind == zorasm::Operand::Kind::kNumber &&
            !statement.operands[0].sign && statement.operands[0].number < zorasm::kModuleMemorySize)
            return static_cast<uint32_t>(statement.operands[0].number);
    } catch (const std::exception&) {
    }
    UsageError("--base " + text + " is not a module memory address (expected 0 to " +
               std::to_string(zorasm::kModuleMemorySize - 1) + ", decimal or 0x hexadecimal)");
}

void Check(const CommandLine& line, bool ok, const std::string& message) {
    if (!ok) UsageError(line.command + ": " + message);
}

// --list-tags takes an optional format ("--list-tags=markdown"), which the
// option parser cannot express: it is taken out before the parser runs.
void ListTagsIfAsked(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument != "--list-tags" && argument.rfind("--list-tags=", 0) != 0) continue;
        const std::string format = argument == "--list-tags" ? "text" : argument.substr(12);
        if (format != "text" && format != "markdown")
            UsageError("--list-tags=" + format + " is not a format (expected text or markdown)");
        if (argc != 2) UsageError("--list-tags takes no command or other option");
        std::cout << (format == "markdown" ? zorasm::TagTableMarkdown() : zorasm::TagTableText());
        std::exit(0);
    }
}

CommandLine ParseCommandLine(int argc, char** argv) {
    ListTagsIfAsked(argc, argv);
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    const QCommandLineOption help({"h", "help"}, "help");
    const QCommandLineOption version("version", "version");
    const QCommandLineOption output({"o", "output"}, "output", "FILE");
    const QCommandLineOption base("base", "base", "ADDR");
    const QCommandLineOption listing("listing", "listing", "FILE");
    const QCommandLineOption symbol("symbol", "symbol", "NAME");
    const QCommandLineOption map("map", "map", "FILE");
    const QCommandLineOption with("with", "with", "SOURCE");
    const QCommandLineOption werror("werror", "werror");
    const QCommandLineOption sources("sources", "sources", "DIR");
    const QCommandLineOption names("names", "names", "FILE");
    parser.addOptions(
        {help, version, output, base, listing, symbol, map, with, werror, sources, names});
    if (!parser.parse(arguments)) UsageError(parser.errorText().toStdString());
    if (parser.isSet(help)) {
        std::cout << kHelp;
        std::exit(0);
    }
    if (parser.isSet(version)) {
        std::cout << "zorasm " << ZOR_VERSION << "\n";
        std::exit(0);
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) UsageError("no command given (assemble, disassemble or default)");
    CommandLine line;
    line.command = positional.front().toStdString();
    for (qsizetype i = 1; i < positional.size(); ++i)
        line.inputs.push_back(positional[i].toStdString());
    line.output = parser.value(output).toStdString();
    line.listing = parser.value(listing).toStdString();
    line.map = parser.value(map).toStdString();
    line.baseGiven = parser.isSet(base);
    if (line.baseGiven) line.base = ParseBase(parser.value(base).toStdString());
    if (parser.isSet(symbol)) line.symbol = parser.value(symbol).toStdString();
    for (const QString& source : parser.values(with)) line.added.push_back(source.toStdString());
    line.werror = parser.isSet(werror);
    line.sources = parser.value(sources).toStdString();
    line.names = parser.value(names).toStdString();
    Check(line, zorasm::IsIdentifier(line.symbol),
          "--symbol " + line.symbol + " is not a C++ identifier");
    const bool assembling = line.command == "assemble" || line.command == "default";
    Check(line, line.added.empty() || line.command == "default",
          "--with belongs to default (it adds items to the default vocabulary)");
    Check(line, !line.werror || assembling, "--werror belongs to assemble and default");
    Check(line, (!parser.isSet(sources) && !parser.isSet(names)) || line.command == "disassemble",
          "--sources and --names belong to disassemble");

    if (line.command == "assemble") {
        Check(line, !line.inputs.empty(), "no SOURCE given");
        Check(line, !line.output.empty(), "no output given (-o IMAGE)");
    } else if (line.command == "disassemble") {
        Check(line, line.inputs.size() == 1, "expected one IMAGE.bin");
        Check(line, line.listing.empty() && line.map.empty() && !parser.isSet(symbol),
              "--listing, --map and --symbol belong to assemble and default");
        Check(line, line.sources.empty() || line.output.empty(),
              "-o FILE and --sources DIR exclude each other");
        Check(line, line.names.empty() || !line.sources.empty(),
              "--names FILE goes with --sources DIR");
    } else if (line.command == "default") {
        Check(line, line.inputs.empty(),
              "takes no SOURCE (its sources are built in; add items with --with SOURCE)");
        Check(line, !line.output.empty(), "no output given (-o IMAGE)");
        Check(line, !line.baseGiven, "the default image starts at address 0 (no --base)");
    } else if (line.command == "tag-reference") {
        Check(line, line.inputs.size() == 1, "expected one TEMPLATE");
        Check(line, !line.output.empty(), "no output given (-o FILE)");
        Check(line, !line.baseGiven && line.listing.empty() && line.map.empty(),
              "takes only TEMPLATE and -o FILE");
    } else {
        UsageError("unknown command " + line.command +
                   " (expected assemble, disassemble, default or tag-reference)");
    }
    return line;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Writes every output or none: an image without its listing (or the other
// way round) would be worse than nothing.
void Commit(files::OutputFiles& outputs) {
    std::string error;
    if (!outputs.Commit(error)) {
        std::cerr << "zorasm: " << error << "\n";
        std::exit(kExitUsage);
    }
}

std::string Count(size_t count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// Reports the assembly's errors and warnings, each with its source line and
// a caret; exits unless it succeeded (warnings fail it only with --werror).
void Report(const zorasm::Assembly& assembly, bool werror) {
    for (const std::string& message : assembly.unreadable)
        std::cerr << "zorasm: " << message << "\n";
    if (!assembly.unreadable.empty()) std::exit(kExitUsage);
    const zorasm::Diagnostics& diagnostics = assembly.diagnostics;
    for (const zorasm::Diagnostic& diagnostic : diagnostics.kept)
        std::cerr << diagnostics.Render(diagnostic);
    const size_t errors = diagnostics.errors.size() + diagnostics.notKept;
    const size_t warnings = diagnostics.warnings.size() + diagnostics.warningsNotKept;
    if (errors == 0 && (warnings == 0 || !werror)) return;
    std::cerr << "zorasm: ";
    if (errors > 0) std::cerr << Count(errors, "error");
    if (errors > 0 && warnings > 0) std::cerr << " and ";
    if (warnings > 0) std::cerr << Count(warnings, "warning") << (werror ? " (--werror)" : "");
    if (diagnostics.notKept + diagnostics.warningsNotKept > 0)
        std::cerr << " (the first " << diagnostics.kept.size() << " shown)";
    std::cerr << ", nothing written\n";
    std::exit(kExitSourceErrors);
}

void WriteImage(const CommandLine& line, const zorasm::Assembly& assembly,
                const std::vector<std::string>& sources) {
    files::OutputFiles outputs;
    if (EndsWith(line.output, ".cpp")) {
        if (assembly.bytes.empty()) {
            std::cerr << "zorasm: the sources hold no bytes; a C++ array cannot be empty\n";
            std::exit(kExitSourceErrors);
        }
        outputs.Add(line.output, zorasm::RenderCpp(assembly.bytes, line.symbol, sources));
    } else {
        outputs.Add(line.output, std::string(assembly.bytes.begin(), assembly.bytes.end()));
    }
    if (!line.listing.empty()) outputs.Add(line.listing, zorasm::RenderListing(assembly, sources));
    if (!line.map.empty()) outputs.Add(line.map, zorasm::SourceMap::Of(assembly));
    Commit(outputs);
}

// The names file's .equ lines, or nothing (exit 1) when it has errors.
std::vector<zorasm::Name> ReadNames(const std::string& path) {
    if (path.empty()) return {};
    std::string error;
    std::optional<std::vector<zorasm::Name>> names =
        zorasm::ReadNames(path, zorasm::DiskFiles(), error);
    if (!names) {
        std::cerr << error << "\n";
        std::exit(error.rfind("cannot read", 0) == 0 ? kExitUsage : kExitSourceErrors);
    }
    return *names;
}

int DisassembleToSources(const CommandLine& line, const std::vector<uint8_t>& image) {
    const std::vector<zorasm::Name> names = ReadNames(line.names);
    const zorasm::SourceSet set = zorasm::DisassembleToSources(
        image, line.base, std::filesystem::path(line.inputs.front()).filename().string(), names);
    std::error_code made;
    std::filesystem::create_directories(line.sources, made);
    if (made) {
        std::cerr << "zorasm: cannot make the folder " << line.sources << ": " << made.message()
                  << "\n";
        return kExitUsage;
    }
    files::OutputFiles outputs;
    for (const auto& [name, text] : set.files)
        outputs.Add((std::filesystem::path(line.sources) / name).string(), text);
    Commit(outputs);
    std::cout << "zorasm: " << set.files.size() << " files written to " << line.sources << " ("
              << set.items << " items: " << set.itemsAsBytes << " as bytes)\n";
    return 0;
}

int TagReference(const CommandLine& line) {
    const std::string& path = line.inputs.front();
    std::string error;
    const zorasm::DiskFiles disk;
    const std::optional<std::string> text = disk.Read(path, error);
    if (!text) {
        std::cerr << "zorasm: " << error << "\n";
        return kExitUsage;
    }
    const std::optional<std::string> merged = zorasm::MergeTagReference(*text, path, disk, error);
    if (!merged) {
        std::cerr << error << "\n";
        return kExitSourceErrors;
    }
    files::OutputFiles outputs;
    outputs.Add(line.output, *merged);
    Commit(outputs);
    return 0;
}

int Disassemble(const CommandLine& line) {
    const std::string& path = line.inputs.front();
    // An image never holds more than module memory from its base, so no more
    // is read: an endless stream ends there.
    const size_t room = zorasm::kModuleMemorySize - line.base;
    files::ReadError error;
    const std::optional<std::string> image = files::ReadFile(path, room, error);
    if (!image && error.kind == files::ReadError::Kind::kTooLarge) {
        std::cerr << "zorasm: " << error.Message(path)
                  << ", the room in module memory from address " << line.base << " ("
                  << zorasm::kModuleMemorySize << " bytes in all)\n";
        return kExitSourceErrors;
    }
    if (!image) {
        std::cerr << "zorasm: " << error.Message(path) << "\n";
        return kExitUsage;
    }
    const std::vector<uint8_t> bytes(image->begin(), image->end());
    if (!line.sources.empty()) return DisassembleToSources(line, bytes);
    const std::string text = zorasm::Disassemble(bytes, line.base, path);
    if (line.output.empty()) {
        std::cout << text;
    } else {
        files::OutputFiles outputs;
        outputs.Add(line.output, text);
        Commit(outputs);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const CommandLine line = ParseCommandLine(argc, argv);
    if (line.command == "disassemble") return Disassemble(line);
    if (line.command == "tag-reference") return TagReference(line);
    if (line.command == "default") {
        const zorasm::Assembly assembly = zorasm::AssembleDefaultImage(line.added);
        Report(assembly, line.werror);
        std::vector<std::string> sources = {zorasm::kDefaultImageSource};
        sources.insert(sources.end(), line.added.begin(), line.added.end());
        WriteImage(line, assembly, sources);
        return 0;
    }
    const zorasm::Assembly assembly =
        zorasm::Assemble(line.inputs, zorasm::DiskFiles(), {line.base});
    Report(assembly, line.werror);
    WriteImage(line, assembly, line.inputs);
    return 0;
}
