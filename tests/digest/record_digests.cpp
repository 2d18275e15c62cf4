// Makes the behaviour digest's test data. Run with the engine whose behaviour
// is to be kept:
//
//   record_digests capture CORPUS SCRIPT.zh... [--host-seeds DIR] [--tag-seeds DIR]
//       freezes cases into CORPUS: the host bytes and direct accesses each
//       zorhost scenario makes, each host byte seed as it is, and each tag
//       engine seed's vocabulary and runs as its recipe describes them;
//   record_digests record CORPUS DIGESTS
//       writes the digest of every case of CORPUS and of the generated cases
//       into DIGESTS.
//
// Generated cases whose runs take more than kTagBudget tags (a random program
// caught in a loop) are left out, so that the test stays quick; the guard
// cases meet the run guard on purpose.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

#include "Digest.h"
#include "Generators.h"
#include "Lcdm.h"
#include "Lcdm_opcodes.h"
#include "ScriptRunner.h"
#include "Session.h"
#include "panel/Startup.h"

namespace fs = std::filesystem;

namespace {

using digest::Action;
using digest::Case;

constexpr uint64_t kTagBudget = 200000;
constexpr uint64_t kProgramCases = 2500;
constexpr uint64_t kHostCases = 1200;
constexpr uint64_t kReentrantCases = 600;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// ------------------------------------------------------ zorhost scenarios ---

struct Recorder {
    Case* target = nullptr;
    bool inWait = false;
    zorhost::Session* session = nullptr;
} gRecorder;

uint8_t RecordingPump() {
    gRecorder.inWait = true;
    panel::Timer2Timer(gRecorder.session->port);
    gRecorder.inWait = false;
    return 0;
}

void AddByte(Case& c, uint8_t byte) {
    if (c.actions.empty() || c.actions.back().kind != Action::Kind::kSend)
        c.actions.push_back({Action::Kind::kSend, 0, {}});
    c.actions.back().bytes.push_back(byte);
}

// The direct accesses the host port reports, back into actions.
void AddDirect(Case& c, const std::string& access) {
    unsigned a = 0, b = 0;
    if (std::sscanf(access.c_str(), "status := %u", &a) == 1) {
        c.actions.push_back({Action::Kind::kStatus, a, {}});
    } else if (std::sscanf(access.c_str(), "label store := %u", &a) == 1) {
        c.actions.push_back({Action::Kind::kFillStore, a, {}});
    } else if (access == "data depth, return depth, program counter := 0") {
        c.actions.push_back({Action::Kind::kEmptyStacks, 0, {}});
    } else if (std::sscanf(access.c_str(), "InitVocabulary(%u) = %u", &a, &b) == 2) {
        c.actions.push_back({Action::Kind::kInitVocabulary, a, {}});
    } else if (access == "LinkReset") {
        c.actions.push_back({Action::Kind::kLinkReset, 0, {}});
    } else if (access.rfind("DelayCounter := ", 0) == 0) {
        // The timer's tick inside a wait is the replay's own pump; outside a
        // wait the counter is always 0 and a tick reports nothing.
        if (!gRecorder.inWait) throw std::runtime_error("a timer tick outside a wait: " + access);
    } else {
        throw std::runtime_error("a direct access the corpus cannot replay: " + access);
    }
}

Case CaptureScenario(const fs::path& script, const std::string& name) {
    Case c{name, {}};
    lcdm::ModuleReset();
    std::ostringstream transcript;
    zorhost::Session session(transcript, zorhost::Options{});
    session.scriptName = script.string();
    session.scriptFolder = script.parent_path().string();
    gRecorder = Recorder{&c, false, &session};
    lcdm::SetRenderLcdAndPump(&RecordingPump);
    session.port.SetObserver([&c](const panel::PortEvent& event) {
        if (event.kind == panel::PortEvent::Kind::kByte)
            AddByte(c, event.byte);
        else
            AddDirect(c, event.access);
    });
    std::ifstream in(script);
    std::ostringstream errors;
    if (!in || !zorhost::RunScript(session, in, errors))
        throw std::runtime_error("scenario " + script.string() + " failed: " + errors.str());
    lcdm::SetRenderLcdAndPump(nullptr);
    return c;
}

// ------------------------------------------------------------- fuzz seeds ---

std::vector<uint8_t> HexFile(const fs::path& path) {
    std::vector<uint8_t> bytes;
    std::istringstream lines(ReadFile(path));
    std::string line;
    while (std::getline(lines, line)) {
        std::string digits;
        for (char ch : line.substr(0, line.find('#')))
            if (std::isxdigit(static_cast<unsigned char>(ch))) digits += ch;
        for (size_t i = 0; i + 1 < digits.size(); i += 2)
            bytes.push_back(static_cast<uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// The tag engine fuzzer's recipe, as its header describes it: a vocabulary
// written into memory, then up to four runs; its DELAY hook ends a run that
// waits more than four times, which the stop-after pump does too. A copy,
// not shared code, on purpose: the fuzzer may change its recipe to reach new
// paths, while the recorded digests stay valid only as long as this one holds.
class Recipe {
public:
    explicit Recipe(std::vector<uint8_t> data) : data_(std::move(data)) {}
    uint8_t Next() { return pos_ < data_.size() ? data_[pos_++] : 0; }
    uint16_t NextWord() {
        const uint8_t high = Next();
        return static_cast<uint16_t>((high << 8) | Next());
    }
    bool Done() const { return pos_ >= data_.size(); }

private:
    std::vector<uint8_t> data_;
    size_t pos_ = 0;
};

class Image {
public:
    explicit Image(uint32_t at) : at_(at) {}
    void Byte(uint8_t value) { bytes_[at_++] = value; }
    void Word(uint16_t value) {
        Byte(static_cast<uint8_t>(value >> 8));
        Byte(static_cast<uint8_t>(value & 0xFF));
    }
    uint32_t at() const { return at_; }
    void Seek(uint32_t at) { at_ = at; }
    // The bytes that fall inside module memory, as one write.
    Action Write() const {
        Action a{Action::Kind::kMemory, bytes_.begin()->first, {}};
        for (const auto& [address, value] : bytes_)
            if (address < lcdm::kModuleMemorySize) a.bytes.push_back(value);
        return a;
    }

private:
    uint32_t at_;
    std::map<uint32_t, uint8_t> bytes_;
};

uint8_t ValidOpcode(uint8_t byte) {
    std::vector<uint8_t> valid;
    for (int op = 0; op < 256; ++op)
        if (lcdm::IsValidOpcode(static_cast<uint8_t>(op)))
            valid.push_back(static_cast<uint8_t>(op));
    return lcdm::IsValidOpcode(byte) ? byte : valid[byte % valid.size()];
}

void RecipeTag(Recipe& recipe, Image& out, uint16_t start) {
    const uint8_t opcode = ValidOpcode(recipe.Next());
    out.Byte(opcode);
    switch (lcdm::Opcode(opcode).operand) {
        case lcdm::OperandKind::kNone:
        case lcdm::OperandKind::kInOpcode: break;
        case lcdm::OperandKind::kByte:
        case lcdm::OperandKind::kOffset: out.Byte(recipe.Next()); break;
        case lcdm::OperandKind::kWord: out.Word(recipe.NextWord()); break;
        case lcdm::OperandKind::kAddress: {
            const uint16_t word = recipe.NextWord();
            out.Word(word & 0x8000 ? static_cast<uint16_t>(start + (word & 0x7FFF) % 256)
                                   : static_cast<uint16_t>(word * 2));
            break;
        }
        case lcdm::OperandKind::kCount: {
            const int count = recipe.Next() % 6;
            out.Byte(static_cast<uint8_t>(count));
            for (int i = 0; i < count; ++i) {
                out.Byte(recipe.Next() % 8);
                out.Byte(recipe.Next() % 16);
            }
            break;
        }
    }
}

Case TagEngineSeed(const fs::path& path, const std::string& name) {
    static constexpr uint8_t kTypes[] = {lcdm::kItemProcedure, lcdm::kItemScript,
                                         lcdm::kItemString,    lcdm::kItemBitmap,
                                         lcdm::kItemTextFont,  lcdm::kItemIconSet};
    Recipe recipe(HexFile(path));
    constexpr uint16_t kFree = 18838;
    const uint16_t start =
        static_cast<uint16_t>(kFree + recipe.NextWord() % (lcdm::kModuleMemorySize - kFree));
    const uint8_t id = recipe.Next();
    Image out(start);
    out.Word(lcdm::kItemHeaderSize);
    out.Byte(id == 0 ? 1 : id);
    out.Byte(lcdm::kItemHeader);
    const int items = 1 + recipe.Next() % 8;
    for (int i = 0; i < items; ++i) {
        const uint8_t byte = recipe.Next();
        uint8_t type = kTypes[byte % sizeof kTypes];
        for (uint8_t t : kTypes)
            if (byte == t) type = t;
        const uint8_t number = recipe.Next() % 16;
        const int size = recipe.Next() % 64;
        const uint32_t item = out.at();
        out.Seek(item + lcdm::kItemHeaderSize);
        const bool program = type == lcdm::kItemProcedure || type == lcdm::kItemScript;
        for (int k = 0; k < size; ++k) {
            if (program)
                RecipeTag(recipe, out, start);
            else
                out.Byte(recipe.Next());
        }
        const uint32_t end = out.at();
        out.Seek(item);
        out.Word(static_cast<uint16_t>(end - item));
        out.Byte(number);
        out.Byte(type);
        out.Seek(end);
    }
    out.Word(0xFFFF);
    out.Word(0xFFFF);
    Case c{name,
           {out.Write(),
            {Action::Kind::kInitVocabulary, start, {}},
            {Action::Kind::kPump, static_cast<uint32_t>(digest::Pump::kStopAfter), {}}}};
    for (int run = 0; run < 4 && (run == 0 || !recipe.Done()); ++run) {
        const uint8_t script = recipe.Next() % 16;
        c.actions.push_back({Action::Kind::kRun, script, {recipe.Next()}});
    }
    return c;
}

std::vector<fs::path> Files(const fs::path& dir, const std::string& extension) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == extension) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

int Capture(int argc, char** argv) {
    const fs::path corpus = argv[2];
    std::vector<Case> cases;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--host-seeds" || arg == "--tag-seeds") && i + 1 < argc) {
            const fs::path dir = argv[++i];
            for (const fs::path& seed : Files(dir, ".hex")) {
                const std::string name =
                    (arg == "--host-seeds" ? "seed/host_bytes/" : "seed/tag_engine/") +
                    seed.stem().string();
                if (arg == "--host-seeds")
                    cases.push_back(Case{name, {{Action::Kind::kSend, 0, HexFile(seed)}}});
                else
                    cases.push_back(TagEngineSeed(seed, name));
            }
            continue;
        }
        const fs::path script = arg;
        const std::string name = "scenario/" + script.parent_path().filename().string() + "/" +
                                 script.filename().string();
        cases.push_back(CaptureScenario(script, name));
    }
    std::ofstream out(corpus);
    out << "# Frozen inputs of the behaviour digest, made by record_digests capture from the\n"
           "# zorhost scenarios and the fuzz seed corpus (tests/digest/README.md).\n"
        << digest::FormatCases(cases);
    std::cerr << cases.size() << " cases captured into " << corpus << "\n";
    return out ? 0 : 1;
}

// ------------------------------------------------------------- recording ---

std::string Hex(uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

std::string Line(const Case& c) {
    const digest::Outcome traced = digest::Replay(c, digest::Watch::kTraced);
    const digest::Outcome plain = digest::Replay(c, digest::Watch::kPlain);
    return c.name + " " + Hex(traced.digest) + " " + Hex(plain.digest) + " " +
           std::to_string(traced.tags) + "\n";
}

int Record(char** argv) {
    const std::vector<Case> corpus = digest::ParseCases(ReadFile(argv[2]));
    std::ofstream out(argv[3]);
    out << "# Behaviour digests: case, digest traced, digest without the tag trace hook, tags\n"
           "# run. Recorded by record_digests record (tests/digest/README.md).\n";
    for (const Case& c : corpus) out << Line(c);
    const struct {
        digest::Case (*make)(uint64_t);
        uint64_t count;
    } kinds[] = {{digest::ProgramCase, kProgramCases},
                 {digest::HostCase, kHostCases},
                 {digest::ReentrantCase, kReentrantCases}};
    for (const auto& kind : kinds) {
        uint64_t taken = 0, left = 0;
        for (uint64_t seed = 0; taken < kind.count; ++seed) {
            const Case c = kind.make(seed);
            if (digest::Replay(c, digest::Watch::kTraced).tags > kTagBudget) {
                ++left;
                continue;
            }
            out << Line(c);
            ++taken;
        }
        std::cerr << taken << " cases taken, " << left << " over the tag budget left out\n";
    }
    for (uint64_t which = 0; which < digest::kGuardCases; ++which)
        out << Line(digest::GuardCase(which));
    return out ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "capture" && argc >= 3) return Capture(argc, argv);
        if (command == "record" && argc == 4) return Record(argv);
        std::cerr << "usage: record_digests capture CORPUS SCRIPT.zh... [--host-seeds DIR]"
                     " [--tag-seeds DIR]\n"
                     "       record_digests record CORPUS DIGESTS\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "record_digests: " << error.what() << "\n";
        return 1;
    }
}
