// Fixed sizes of the LCD module, each with what it costs.
//
// Everything the module owns is a fixed array sized here; nothing is
// allocated at run time, so these numbers are the module's whole footprint.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lcdm {

// Module memory: 37344 bytes, addresses 0..37343. The bound is the size of the
// module's data flash window, not a power of two: address 37344 is already out
// of range, which is why every range test is "address >= kModuleMemorySize".
inline constexpr uint16_t kModuleMemorySize = 37344;
// Behind module memory, 8 bytes that are never written and so always 0: the
// tag loop reads a tag that runs over the end of memory, or one fetched just
// past it, from there, as 0s, which is what every read past the end gives.
inline constexpr uint16_t kZerosPastTheEnd = 8;

// Label store: 8192 bytes (32 records of 128 bytes, then 16 icon slots of 256).
inline constexpr uint16_t kLabelStoreSize = 8192;
inline constexpr uint16_t kRecordSize = 128;

// Frame buffer: 64 x 128 pixels, one bit each, 8 bytes per row = 1024 bytes.
inline constexpr int kScreenWidth = 64;
inline constexpr int kScreenHeight = 128;
inline constexpr int kFrameBytesPerRow = kScreenWidth / 8;
inline constexpr size_t kFrameBufferSize = kFrameBytesPerRow * kScreenHeight;

// One row segment plus two bytes of room for the shift of a byte-wise merge.
inline constexpr size_t kSpanBufferSize = 10;

// Both engine stacks: 32 one-byte cells; cell 0 is never live, so the deepest
// a stack gets is 31 bytes (15 return addresses).
inline constexpr uint8_t kStackCells = 32;
inline constexpr uint8_t kMaxStackDepth = kStackCells - 1;

// Tag variables: 64 bytes, also addressable as 32 big-endian words.
inline constexpr uint8_t kTagVariableCount = 64;
inline constexpr uint8_t kTagVariableWordCount = kTagVariableCount / 2;

// The built-in text font table, outside module memory.
inline constexpr uint16_t kBuiltInFontSize = 1224;

// Scratch work area of the label store: language byte + 256 bytes.
inline constexpr size_t kScratchBufferSize = 257;

// The processor data space that PEEK and POKE reach: the module processor's
// own working registers, modelled as a small separate array so that the two
// tags can never touch module memory, the label store or the engine state.
inline constexpr uint16_t kProcessorDataSpaceSize = 256;

// Run guard: the most tags one run may execute without waiting in DELAY.
// The default vocabulary draws its busiest page in a few thousand tags, so a
// million is far beyond any sensible program but ends a runaway loop within a
// fraction of a second. Fuzzing builds shrink it to reach the limit quickly.
#ifndef LCDM_RUN_GUARD_TAGS
#define LCDM_RUN_GUARD_TAGS 1000000u
#endif
inline constexpr uint32_t kRunGuardTags = LCDM_RUN_GUARD_TAGS;
// The addresses of the last tags before a run-guard stop, kept so that a
// report can name the loop that ran away: 64 words.
inline constexpr uint32_t kGuardTrailTags = 64;
static_assert(kRunGuardTags >= kGuardTrailTags, "the trail lies within the guarded run");

// Lookup caches (Lcdm_lookup_caches.h): indexes of what module memory holds,
// built from it on demand and dropped whenever it is written, so that a
// lookup need not walk. They hold nothing a walk would not find.
//
// The vocabulary index: the first 1024 items of the chain in order, the next
// item of the same number and type for each, and 2048 hash slots from
// (number, type) to its first and last item: 16 KB. A longer chain is walked
// on from its 1024th item.
inline constexpr uint16_t kIndexedItems = 1024;
inline constexpr uint16_t kIndexSlots = 2048;  // a power of two, twice kIndexedItems
// Glyph addresses of the last 4 fonts drawn from, 256 codes each: 2 KB.
inline constexpr uint8_t kCachedFonts = 4;

}  // namespace lcdm
