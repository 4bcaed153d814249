// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_SEARCH_SEARCH_CACHE_H_
#define SPRAVKA_SEARCH_SEARCH_CACHE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "search/match_record.h"

namespace spravka {

// The results of recent searches of one table, so that a refined search
// scans only an earlier, wider result. Four small slots hold complete
// results of fewer than 1000 records, most recently used first; the
// overflow slot holds the first 1000 matches of the last capped search.
// Slots are numbered 1..5; index 0 of the arrays is unused.
class SearchCache {
 public:
  static constexpr int kSmallSlots = 4;
  static constexpr int kOverflowSlot = 5;

  // Positions 0..3: the small slots in use, most recent first, 0 = empty;
  // position 4: kOverflowSlot when the overflow slot holds a result, else 0.
  std::array<uint8_t, 5> CacheOrder{};
  std::array<std::string, 6> CacheKey;  // the pattern of a slot
  // How that pattern was matched: its mode, "е" for "ё", slips.
  std::array<MatchOptions, 6> CacheOptions{};
  std::array<std::vector<size_t>, 6> CacheRows;  // its record positions

  // The first slot in CacheOrder whose pattern, as it was matched, certainly
  // covers `pattern` matched with `options`, or 0.
  int Lookup(std::string_view pattern, const MatchOptions& options) const;

  // A small slot was reused: it moves to the front.
  void Promote(int slot);
  // A result of 1000 records (capped or not) replaces the overflow slot.
  void StoreOverflow(std::string_view pattern, const MatchOptions& options,
                     std::vector<size_t> positions);
  // A result below 1000 records takes the front small slot; the oldest one
  // drops out when all four are in use.
  void StoreSmall(std::string_view pattern, const MatchOptions& options,
                  std::vector<size_t> positions);

  // `ClearSearchCache`.
  void Clear();

  // The table generation the positions belong to.
  uint64_t generation = 0;
  // Changes with every change of the cache, so that a scan can tell that
  // the slot it started from was touched meanwhile.
  uint64_t version() const { return version_; }

 private:
  uint64_t version_ = 0;
};

}  // namespace spravka

#endif  // SPRAVKA_SEARCH_SEARCH_CACHE_H_
