#include "RunReports.h"

#include <deque>

#include "Lcdm.h"
#include "SourceMap.h"
#include "services/ModuleText.h"

namespace zorhost {
namespace {

// One executed tag, with the data stack it left.
struct TagRecord {
    uint16_t address = 0;
    std::vector<uint8_t> dataAfter;
};

Session* gSession = nullptr;
bool gTagPending = false;  // a tag was fetched; its line waits for the stack it leaves
uint16_t gPendingAddress = 0;
std::deque<TagRecord> gLastTags;  // --trace-tags=N: the ring of the latest tags

std::string DataStack(const std::vector<uint8_t>& cells) {
    std::string text;
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (uint8_t cell : cells) {
        if (!text.empty()) text += ' ';
        text += kDigits[cell >> 4];
        text += kDigits[cell & 0x0F];
    }
    return "[" + (text.empty() ? std::string(" ") : text) + "]";
}

// The map, when it describes what module memory holds; said once otherwise.
const zorasm::SourceMap* UsableMap(Session& session) {
    if (!session.map || session.mapMismatch) return nullptr;
    const zorasm::SourceMap& map = *session.map;
    std::vector<uint8_t> bytes(map.Length());
    for (uint32_t i = 0; i < map.Length(); ++i)
        bytes[i] = lcdm::ReadMemoryByte(static_cast<uint16_t>(map.Base() + i));
    if (map.Base() + map.Length() <= lcdm::kModuleMemorySize &&
        zorasm::SourceMap::Checksum(bytes.data(), bytes.size()) == map.ImageChecksum())
        return &map;
    session.mapMismatch = true;
    session.transcript.Line(
        "! the map " + session.mapName + " does not match module memory from address " +
        std::to_string(map.Base()) + " (is its image loaded there?): reports give addresses only");
    return nullptr;
}

std::string TagLine(Session& session, const TagRecord& tag) {
    std::string place = services::PlaceText(tag.address);
    if (const zorasm::SourceMap* map = UsableMap(session)) {
        const std::string source = map->Where(tag.address);
        if (!source.empty()) place += " (" + source + ")";
    }
    return "  tag " + place + ": " + services::TagText(tag.address) + " -> data " +
           DataStack(tag.dataAfter);
}

// The tag fetched last has run: it is complete with the stack it left.
void FinishPendingTag() {
    if (!gTagPending) return;
    gTagPending = false;
    TagRecord tag{gPendingAddress, {}};
    for (int i = 1; i <= lcdm::Engine.dataDepth; ++i)
        tag.dataAfter.push_back(lcdm::Engine.dataStack[i]);
    const int keep = gSession->options.traceTags;
    if (keep == Options::kAllTags) {
        gSession->transcript.Line(TagLine(*gSession, tag));
        return;
    }
    gLastTags.push_back(std::move(tag));
    if (gLastTags.size() > static_cast<size_t>(keep)) gLastTags.pop_front();
}

void OnTag(uint16_t address, uint8_t, uint8_t, uint8_t) {
    FinishPendingTag();
    gTagPending = true;
    gPendingAddress = address;
}

void OnRunEnd(uint8_t number, uint8_t parameter) {
    Session& session = *gSession;
    FinishPendingTag();
    const uint8_t status = lcdm::Engine.StatusRegister;
    session.transcript.RunEnded(number, parameter, status);
    if (session.recorder) session.recorder->RunEnded(number, parameter, status);
    // A run that executed no tag since it began (or since its last wait)
    // stopped at its own start: its script is missing, which the window's
    // start-up brings about on purpose before any vocabulary is there. Only
    // runs that stopped inside the vocabulary's code are reported.
    if (status != lcdm::kStatusEnded && lcdm::Engine.tagsSinceWait > 0) {
        if (session.options.traceTags > 0) {
            session.transcript.Line("! the last " + std::to_string(gLastTags.size()) +
                                    " tags of script " + std::to_string(number) + ":");
            for (const TagRecord& tag : gLastTags) session.transcript.Line(TagLine(session, tag));
        }
        session.transcript.Line(services::RunStoppedText(number, parameter, UsableMap(session)));
    }
    gLastTags.clear();
}

}  // namespace

void InstallRunReports(Session& session) {
    gSession = &session;
    gTagPending = false;
    gLastTags.clear();
    lcdm::SetRunEndHook(&OnRunEnd);
    // The tag hook costs the engine a call per tag: only when tags are traced.
    lcdm::SetTagTraceHook(session.options.traceTags != 0 ? &OnTag : nullptr);
}

void RemoveRunReports() {
    lcdm::SetRunEndHook(nullptr);
    lcdm::SetTagTraceHook(nullptr);
    gSession = nullptr;
}

}  // namespace zorhost
