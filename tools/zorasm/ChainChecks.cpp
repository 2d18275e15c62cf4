#include "ChainChecks.h"

#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "Listing.h"

namespace zorasm {

namespace {

// What the module reads in an item: its length word, number and type, and
// the byte that tells two fonts (their class) or two icon sets (their
// language) of one number apart.
constexpr uint16_t kEndLength = 0xFFFF;
constexpr int kMaxItemType = 7;
constexpr int kFontType = 3;
constexpr int kIconSetType = 7;
constexpr size_t kFontClassByte = 12;
constexpr size_t kIconSetLanguageByte = 5;

class Chain {
public:
    explicit Chain(Assembly& assembly) : assembly_(assembly) {}

    void Check() {
        for (const Block& block : assembly_.blocks)
            if (block.kind == Block::Kind::kItem) items_.push_back(&block);
        if (items_.empty()) return;  // data only: no vocabulary to check
        if (!HasHeader()) return;
        Walk();
        Unreachable();
        for (const Block* item : items_)
            if (visited_.count(item->address)) CheckItem(*item);
    }

private:
    Diagnostics& Messages() { return assembly_.diagnostics; }

    std::optional<uint8_t> Byte(uint32_t address) const {
        if (address < assembly_.base) return std::nullopt;
        const uint32_t index = address - assembly_.base;
        if (index >= assembly_.bytes.size()) return std::nullopt;
        return assembly_.bytes[index];
    }
    std::optional<uint16_t> Word(uint32_t address) const {
        const auto high = Byte(address), low = Byte(address + 1);
        if (!high || !low) return std::nullopt;
        return static_cast<uint16_t>(*high << 8 | *low);
    }

    // The block that holds `address`, or nullptr.
    const Block* BlockAt(uint32_t address) const {
        for (const Block& block : assembly_.blocks)
            if (address >= block.address && address < block.address + block.length) return &block;
        return nullptr;
    }

    // The module initialises a vocabulary only where an item of length 4
    // starts it (its number is the vocabulary id, and id 0 is none).
    bool HasHeader() {
        const Block& first = *items_.front();
        if (Word(assembly_.base) != kItemHeaderSize) {
            Messages().Warn(first.position,
                            "the vocabulary does not start with a header item (.header ID): the "
                            "module initialises none of it, so it finds none of its items");
            return false;
        }
        if (first.address == assembly_.base && first.type == 0 && first.number == 0)
            Messages().Warn(first.position,
                            "header id 0: the module takes vocabulary 0 for none and finds no "
                            "item in it (give an id from 1 to 255)");
        return true;
    }

    // The module's walk: from the header, item by item, until a length of 0
    // or 0xFFFF (the end marker) or the end of module memory.
    void Walk() {
        uint32_t address = assembly_.base;
        while (true) {
            stop_ = address;
            if (address >= kModuleMemorySize) return;
            const std::optional<uint16_t> length = Word(address);
            if (!length || *length == 0 || *length == kEndLength) return;
            visited_.insert(address);
            address += *length;
        }
    }

    std::string WhereTheWalkStops() const {
        const std::string at = "at address " + std::to_string(stop_);
        if (stop_ >= kModuleMemorySize) return "at the end of module memory";
        const Block* block = BlockAt(stop_);
        if (block == nullptr) return at + ", where the image ends";
        const std::string place = Place(block->position);
        if (block->kind == Block::Kind::kEndMarker) return "at the end marker (" + place + ")";
        if (block->address != stop_)
            return at + ", inside " + BlockName(*block) + " (" + place + ")";
        const std::optional<uint16_t> length = Word(stop_);
        return at + ", in the data at " + place + ", which reads as " +
               (length == kEndLength ? "an end marker" : "a length of 0");
    }

    // Each run of items the walk never reaches is reported at its first.
    void Unreachable() {
        for (size_t i = 0; i < items_.size(); ++i) {
            if (visited_.count(items_[i]->address)) continue;
            size_t end = i + 1;
            while (end < items_.size() && !visited_.count(items_[end]->address)) ++end;
            const size_t more = end - i - 1;
            Messages().Warn(
                items_[i]->position,
                BlockName(*items_[i]) + " is never found" +
                    (more == 0 ? ""
                               : " (nor " +
                                     std::string(more == 1 ? "is the item"
                                                           : "are the " + std::to_string(more) +
                                                                 " items") +
                                     " after it)") +
                    ": the module's walk of the chain stops " + WhereTheWalkStops());
            i = end - 1;
        }
    }

    // One reached item: a type the module refuses, or the second of a number
    // and type (the lookups always find the first).
    void CheckItem(const Block& item) {
        if (item.type > kMaxItemType)
            Messages().Warn(item.position, BlockName(item) +
                                               ": the module refuses a vocabulary that holds an "
                                               "item type above 7, and initialises none of it");
        if (item.address == assembly_.base) return;  // the header is never looked up
        const uint8_t* bytes = assembly_.bytes.data() + (item.address - assembly_.base);
        const int detail = LookupDetail(item.type, bytes, item.length);
        std::string what = BlockName(item);
        if (detail >= 0)
            what += (item.type == kFontType ? " for class " : " for language ") +
                    std::to_string(detail);
        const auto key = std::make_tuple(item.number, item.type, detail);
        const auto [first, added] = firsts_.emplace(key, &item);
        if (added) return;
        Messages().Add(item.position,
                       what + " is defined twice: the module finds only the first, at " +
                           Place(first->second->position) + " (give this one another number)");
    }

    Assembly& assembly_;
    std::vector<const Block*> items_;
    std::set<uint32_t> visited_;
    uint32_t stop_ = 0;
    std::map<std::tuple<int, int, int>, const Block*> firsts_;
};

}  // namespace

int LookupDetail(int type, const uint8_t* item, size_t length) {
    if (type == kFontType && length > kFontClassByte) return item[kFontClassByte];
    if (type == kIconSetType && length > kIconSetLanguageByte) return item[kIconSetLanguageByte];
    return -1;
}

void CheckChain(Assembly& assembly) {
    Chain(assembly).Check();
}

}  // namespace zorasm
