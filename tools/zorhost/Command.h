// The script commands: each has a name of one or two words ("send",
// "expect mem"), a usage line that also names its arguments in error
// messages, a one-line summary for --help, and the function that runs it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ScriptLexer.h"
#include "Session.h"

namespace zorhost {

class Args;

struct CommandSpec {
    std::string_view name;
    std::string_view usage;
    std::string_view summary;
    void (*run)(Session& session, const Args& args);
};

// The arguments of one command line, with parsers that throw ScriptError
// naming the command, the argument, the value found and the form expected.
class Args {
public:
    Args(const CommandSpec& spec, std::vector<Token> tokens)
        : spec_(spec), tokens_(std::move(tokens)) {}

    size_t Count() const { return tokens_.size(); }
    // Refuses fewer than `min` or more than `max` arguments.
    void RequireCount(size_t min, size_t max) const;

    const std::string& Text(size_t i) const { return tokens_.at(i).text; }
    const Token& At(size_t i) const { return tokens_.at(i); }
    // Decimal, or hexadecimal with 0x; a leading '-' only when min < 0.
    long Number(size_t i, long min, long max) const;
    // A bare hexadecimal byte ("0A", "ff"); 0x0A is accepted too.
    uint8_t HexByte(size_t i) const;
    // Every argument from `from` on as hexadecimal bytes.
    std::vector<uint8_t> HexBytes(size_t from) const;

    // Throws ScriptError("NAME: message (usage: USAGE)").
    [[noreturn]] void Fail(const std::string& message) const;
    // The name of argument i as the usage line writes it ("ADDR").
    std::string ArgumentName(size_t i) const;

private:
    const CommandSpec& spec_;
    std::vector<Token> tokens_;
};

// The command groups, one table each.
std::span<const CommandSpec> LinkCommands();
std::span<const CommandSpec> PanelCommands();
std::span<const CommandSpec> PrintCommands();
std::span<const CommandSpec> GifCommands();
std::span<const CommandSpec> ExpectCommands();

// After each script line: a GIF recording looks at the LCD (a write that
// failed is a script error here).
void LookAtLcd(Session& session);
// At the end of a script: a GIF recording still running is finished and
// written, and the transcript says so.
void EndGifOfScript(Session& session);

}  // namespace zorhost
