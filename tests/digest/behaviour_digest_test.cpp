// The behaviour digest: every case of the frozen corpus and every generated
// case must give the digests recorded with the engine before it was made
// fast, watched with the tag trace hook and without it, with either dispatch
// of the fast loop.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Digest.h"
#include "Generators.h"
#include "Lcdm.h"

namespace {

using digest::Case;
using digest::Outcome;
using digest::Watch;

struct Recorded {
    std::string name;
    uint64_t traced = 0;
    uint64_t plain = 0;
    uint64_t tags = 0;
};

std::string ReadData(const std::string& file) {
    std::ifstream in(std::string(DIGEST_DATA_DIR) + "/" + file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

const std::vector<Recorded>& RecordedDigests() {
    static const std::vector<Recorded> recorded = [] {
        std::vector<Recorded> lines;
        std::istringstream in(ReadData("digests.txt"));
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream words(line);
            Recorded r;
            words >> r.name >> std::hex >> r.traced >> r.plain >> std::dec >> r.tags;
            lines.push_back(r);
        }
        return lines;
    }();
    return recorded;
}

const std::map<std::string, Case>& Corpus() {
    static const std::map<std::string, Case> corpus = [] {
        std::map<std::string, Case> byName;
        for (Case& c : digest::ParseCases(ReadData("corpus.txt"))) byName[c.name] = std::move(c);
        return byName;
    }();
    return corpus;
}

Case CaseNamed(const std::string& name) {
    const auto found = Corpus().find(name);
    return found != Corpus().end() ? found->second : digest::GeneratedCase(name);
}

std::string Hex(uint64_t value) {
    std::ostringstream text;
    text << std::hex << value;
    return text.str();
}

constexpr int kShards = 4;

struct Shard {
    int index;
    lcdm::TagDispatch dispatch;
};
void PrintTo(const Shard& shard, std::ostream* out) {
    *out << (shard.dispatch == lcdm::TagDispatch::kThreaded ? "threaded" : "table") << " shard "
         << shard.index;
}

class BehaviourDigest : public ::testing::TestWithParam<Shard> {
protected:
    void TearDown() override { lcdm::SetTagDispatch(lcdm::TagDispatch::kThreaded); }
};

TEST_P(BehaviourDigest, EveryCaseGivesItsRecordedDigests) {
    if (lcdm::kRunGuardTags != 1000000u)
        GTEST_SKIP() << "the digests were recorded with the run guard at 1,000,000 tags";
    if (!lcdm::SetTagDispatch(GetParam().dispatch))
        GTEST_SKIP() << "this compiler builds no threaded dispatch";
    const std::vector<Recorded>& recorded = RecordedDigests();
    ASSERT_GT(recorded.size(), 4000u) << "tests/digest/digests.txt is missing or cut short";
    int failures = 0;
    for (size_t i = static_cast<size_t>(GetParam().index); i < recorded.size(); i += kShards) {
        const Recorded& r = recorded[i];
        const Case c = CaseNamed(r.name);
        const Outcome traced = digest::Replay(c, Watch::kTraced);
        const Outcome plain = digest::Replay(c, Watch::kPlain);
        const bool same =
            traced.digest == r.traced && plain.digest == r.plain && traced.tags == r.tags;
        if (!same && ++failures <= 10)
            ADD_FAILURE() << r.name << ": traced " << Hex(traced.digest) << " (recorded "
                          << Hex(r.traced) << "), plain " << Hex(plain.digest) << " (recorded "
                          << Hex(r.plain) << "), " << traced.tags << " tags (recorded " << r.tags
                          << ")";
    }
    EXPECT_EQ(0, failures) << "cases whose behaviour moved";
}

std::vector<Shard> Shards() {
    std::vector<Shard> shards;
    for (lcdm::TagDispatch dispatch : {lcdm::TagDispatch::kThreaded, lcdm::TagDispatch::kTable})
        for (int i = 0; i < kShards; ++i) shards.push_back({i, dispatch});
    return shards;
}

INSTANTIATE_TEST_SUITE_P(Shards, BehaviourDigest, ::testing::ValuesIn(Shards()),
                         [](const ::testing::TestParamInfo<Shard>& info) {
                             return std::string(info.param.dispatch == lcdm::TagDispatch::kThreaded
                                                    ? "Threaded"
                                                    : "Table") +
                                    std::to_string(info.param.index);
                         });

// The digests tell cases apart: a hash that ignored the module's state would
// let any engine pass.
TEST(BehaviourDigestCorpus, NearlyEveryCaseHasADigestOfItsOwn) {
    std::set<uint64_t> traced;
    std::set<std::string> kinds;
    for (const Recorded& r : RecordedDigests()) {
        traced.insert(r.traced);
        kinds.insert(r.name.substr(0, r.name.find('/')));
    }
    EXPECT_GT(traced.size(), RecordedDigests().size() * 95 / 100);
    EXPECT_EQ((std::set<std::string>{"guard", "host", "program", "reentrant", "scenario", "seed"}),
              kinds);
}

// One observable change, however small, changes the digest.
TEST(BehaviourDigestCorpus, EveryKindOfObservableChangeMovesTheDigest) {
    using digest::Action;
    // A vocabulary at 20000 whose script 1 sets variable 5 to 1.
    const Case base{"small",
                    {{Action::Kind::kMemory,
                      20000,
                      {0x00, 0x04, 0x07, 0x00, 0x00, 0x0B, 0x01, 0x05, 0x21, 0x25, 0x5E, 0x00, 0x00,
                       0x00, 0xFF, 0xFF}},
                     {Action::Kind::kInitVocabulary, 20000, {}},
                     {Action::Kind::kRun, 1, {0}}}};
    const Outcome before = digest::Replay(base, Watch::kTraced);
    const struct {
        const char* what;
        Action extra;
    } changes[] = {
        {"a status written", {Action::Kind::kStatus, 7, {}}},
        {"one byte of memory", {Action::Kind::kMemory, 30000, {1}}},
        {"a tag variable by the host", {Action::Kind::kSend, 0, {0x80, 63, 1}}},
        {"a pixel", {Action::Kind::kSend, 0, {0x69, 0xAC}}},
        {"a label store byte", {Action::Kind::kFillStore, 1, {}}},
        {"a run that finds nothing", {Action::Kind::kRun, 9, {0}}},
    };
    for (const auto& change : changes) {
        Case changed = base;
        changed.actions.push_back(change.extra);
        EXPECT_NE(before.digest, digest::Replay(changed, Watch::kTraced).digest) << change.what;
    }
    Case moreTags = base;
    moreTags.actions.push_back({Action::Kind::kRun, 1, {0}});
    EXPECT_GT(digest::Replay(moreTags, Watch::kTraced).tags, before.tags);
}

}  // namespace
