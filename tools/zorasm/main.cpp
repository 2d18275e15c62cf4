// zorasm: the vocabulary assembler and disassembler.
//
//   zorasm assemble SOURCE... -o IMAGE.bin [--base ADDR] [--listing FILE]
//   zorasm disassemble IMAGE.bin [--base ADDR] [-o FILE]
//   zorasm default -o IMAGE.bin [--listing FILE]
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

#include "Assembler.h"
#include "CppOutput.h"
#include "DefaultImage.h"
#include "Disassembler.h"
#include "Listing.h"
#include "SourceMap.h"
#include "Statement.h"
#include "files/Files.h"

namespace {

constexpr int kExitSourceErrors = 1;
constexpr int kExitUsage = 2;

const char* const kHelp =
    "Usage: zorasm assemble SOURCE... -o IMAGE [--base ADDR] [--listing FILE] [--map FILE]\n"
    "                       [--symbol NAME]\n"
    "       zorasm disassemble IMAGE.bin [--base ADDR] [-o FILE]\n"
    "       zorasm default -o IMAGE [--listing FILE] [--map FILE] [--symbol NAME]\n"
    "       zorasm --help | --version\n"
    "\n"
    "Builds module vocabularies from readable sources, and turns images back into source.\n"
    "\n"
    "Commands:\n"
    "  assemble      Assemble the SOURCEs, in order, into one image placed at --base.\n"
    "  disassemble   Print source that assembles back to exactly the bytes of IMAGE.bin.\n"
    "  default       Write the module's default memory image (37344 bytes), assembled from\n"
    "                the lcdm/image sources built into this program.\n"
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
    "  -h, --help          Show this help and exit.\n"
    "  --version           Show the version and exit.\n"
    "\n"
    "Messages go to standard error as FILE:LINE: message.\n"
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

CommandLine ParseCommandLine(int argc, char** argv) {
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
    parser.addOptions({help, version, output, base, listing, symbol, map});
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
    Check(line, zorasm::IsIdentifier(line.symbol),
          "--symbol " + line.symbol + " is not a C++ identifier");

    if (line.command == "assemble") {
        Check(line, !line.inputs.empty(), "no SOURCE given");
        Check(line, !line.output.empty(), "no output given (-o IMAGE)");
    } else if (line.command == "disassemble") {
        Check(line, line.inputs.size() == 1, "expected one IMAGE.bin");
        Check(line, line.listing.empty() && line.map.empty() && !parser.isSet(symbol),
              "--listing, --map and --symbol belong to assemble and default");
    } else if (line.command == "default") {
        Check(line, line.inputs.empty(), "takes no SOURCE (its sources are built in)");
        Check(line, !line.output.empty(), "no output given (-o IMAGE)");
        Check(line, !line.baseGiven, "the default image starts at address 0 (no --base)");
    } else {
        UsageError("unknown command " + line.command +
                   " (expected assemble, disassemble or default)");
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

// Reports the assembly's errors; exits unless it succeeded.
void Report(const zorasm::Assembly& assembly) {
    for (const std::string& message : assembly.unreadable)
        std::cerr << "zorasm: " << message << "\n";
    if (!assembly.unreadable.empty()) std::exit(kExitUsage);
    const zorasm::Diagnostics& diagnostics = assembly.diagnostics;
    for (const std::string& message : diagnostics.errors) std::cerr << message << "\n";
    if (diagnostics.Failed()) {
        const size_t count = diagnostics.errors.size() + diagnostics.notKept;
        std::cerr << "zorasm: " << count << " error" << (count == 1 ? "" : "s");
        if (diagnostics.notKept > 0)
            std::cerr << " (the first " << diagnostics.errors.size() << " shown)";
        std::cerr << ", nothing written\n";
        std::exit(kExitSourceErrors);
    }
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
    const std::string text =
        zorasm::Disassemble(std::vector<uint8_t>(image->begin(), image->end()), line.base, path);
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
    if (line.command == "default") {
        const zorasm::Assembly assembly = zorasm::AssembleDefaultImage();
        Report(assembly);
        WriteImage(line, assembly, {zorasm::kDefaultImageSource});
        return 0;
    }
    const zorasm::Assembly assembly =
        zorasm::Assemble(line.inputs, zorasm::DiskFiles(), {line.base});
    Report(assembly);
    WriteImage(line, assembly, line.inputs);
    return 0;
}
