// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_cache.h"

#include <algorithm>
#include <utility>

#include "search/pattern_cover.h"

namespace spravka {

int SearchCache::Lookup(std::string_view pattern,
                        const MatchOptions& options) const {
  for (const uint8_t slot : CacheOrder) {
    if (slot == 0) continue;
    if (PatternCovers(CacheKey[slot], CacheOptions[slot], pattern, options)) {
      return slot;
    }
  }
  return 0;
}

void SearchCache::Promote(int slot) {
  auto* const small_end = CacheOrder.begin() + kSmallSlots;
  auto* const it = std::find(CacheOrder.begin(), small_end, slot);
  if (it == small_end) return;
  std::rotate(CacheOrder.begin(), it, it + 1);
  ++version_;
}

void SearchCache::StoreOverflow(std::string_view pattern,
                                const MatchOptions& options,
                                std::vector<size_t> positions) {
  CacheKey[kOverflowSlot] = pattern;
  CacheOptions[kOverflowSlot] = options;
  CacheRows[kOverflowSlot] = std::move(positions);
  CacheOrder[kSmallSlots] = kOverflowSlot;
  ++version_;
}

void SearchCache::StoreSmall(std::string_view pattern,
                             const MatchOptions& options,
                             std::vector<size_t> positions) {
  // Shift positions 1..3 back; the entry at 4 drops out.
  std::copy_backward(CacheOrder.begin(), CacheOrder.begin() + kSmallSlots - 1,
                     CacheOrder.begin() + kSmallSlots);
  int slot = 1;
  while (std::find(CacheOrder.begin() + 1, CacheOrder.begin() + kSmallSlots,
                   slot) != CacheOrder.begin() + kSmallSlots) {
    ++slot;
  }
  CacheOrder[0] = static_cast<uint8_t>(slot);
  CacheKey[slot] = pattern;
  CacheOptions[slot] = options;
  CacheRows[slot] = std::move(positions);
  ++version_;
}

void SearchCache::Clear() {
  CacheOrder.fill(0);
  ++version_;
}

}  // namespace spravka
