// The vocabulary's items as the views name and show them: "script 5" as the
// debugger's breakpoints take it (so what a view shows can be typed into Go
// to and Breakpoint alike), the names the default image's sources give its
// items, and an item's disassembly.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "services/ChainWalk.h"

namespace zorsim {

// "script 5"; "item 9, type 6" for a type no lookup asks for.
QString ItemPlace(uint8_t type, uint8_t number);
// "script", "icon set"; "type 6".
QString TypeName(uint8_t type);

// The address `text` names in module memory now: "18846", "0x4996", an item
// ("script 5", its first byte) or a place in one ("script 5 + 8"). Nothing
// when it is none of these or the item is not in the vocabulary.
std::optional<uint16_t> ResolveAddress(const QString& text);

// The item of `items` (in chain order, so by rising address) that holds
// `address`, or nullptr.
const services::ChainItem* ItemAt(const std::vector<services::ChainItem>& items, uint16_t address);

// zorasm's disassembly of the item's bytes where they lie.
QString Disassembly(const services::ChainItem& item);

// What the default image's sources call the item: a procedure's constant
// ("bottom line"), a script's line in the table of scripts ("start-up
// screen"), a bitmap's label in its picture file ("keys 1-4"). Empty for any
// item that is not one of the default image's, where it lies in it.
QString DefaultItemName(const services::ChainItem& item);
// The labels of the default icon set's icons ("Kitchen"), in the order of its
// records, when `item` is that icon set; else empty.
std::vector<QString> DefaultIconNames(const services::ChainItem& item);

}  // namespace zorsim
