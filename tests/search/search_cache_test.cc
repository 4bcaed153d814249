// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/search_cache.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace spravka {
namespace {

using Order = std::array<uint8_t, 5>;

constexpr MatchOptions kUniversal{.universal = true};
constexpr MatchOptions kDetailed{};

// Stores, reuses and clears in turn: a stored small result takes the
// smallest slot not among the three that stay and goes in front; a reused
// one moves to the front, the ones before it one place back; the overflow
// slot keeps its own place.
TEST(SearchCacheTest, CacheOrderMovesAsSlotsAreStoredAndReused) {
  SearchCache cache;
  const struct {
    char step;  // 's' store small, 'o' store overflow, 'p' promote, 'c' clear
    int slot;   // for 'p'
    Order order;
  } steps[] = {
      {'s', 0, {1, 0, 0, 0, 0}}, {'s', 0, {2, 1, 0, 0, 0}},
      {'o', 0, {2, 1, 0, 0, 5}}, {'s', 0, {3, 2, 1, 0, 5}},
      {'s', 0, {4, 3, 2, 1, 5}}, {'s', 0, {1, 4, 3, 2, 5}},
      {'p', 3, {3, 1, 4, 2, 5}}, {'p', 3, {3, 1, 4, 2, 5}},
      {'p', 2, {2, 3, 1, 4, 5}}, {'s', 0, {4, 2, 3, 1, 5}},
      {'s', 0, {1, 4, 2, 3, 5}}, {'c', 0, {0, 0, 0, 0, 0}},
      {'s', 0, {1, 0, 0, 0, 0}}, {'p', 1, {1, 0, 0, 0, 0}},
  };
  int n = 0;
  for (const auto& s : steps) {
    const std::string pattern = "p" + std::to_string(++n) + "\x1F";
    switch (s.step) {
      case 's':
        cache.StoreSmall(pattern, kUniversal, {1, 2});
        EXPECT_EQ(cache.CacheKey[cache.CacheOrder[0]], pattern);
        break;
      case 'o':
        cache.StoreOverflow(pattern, kUniversal, std::vector<size_t>(1000, 1));
        EXPECT_EQ(cache.CacheKey[SearchCache::kOverflowSlot], pattern);
        break;
      case 'p':
        cache.Promote(s.slot);
        break;
      case 'c':
        cache.Clear();
        break;
    }
    EXPECT_EQ(cache.CacheOrder, s.order) << "step " << n;
  }
}

// The lookup takes the first covering slot in CacheOrder, the overflow slot
// last, and never a slot of the other mode.
TEST(SearchCacheTest, LookupFollowsCacheOrderAndMode) {
  SearchCache cache;
  cache.StoreOverflow("\x1F", kUniversal, std::vector<size_t>(1000, 1));
  EXPECT_EQ(cache.Lookup("ab\x1F", kUniversal), SearchCache::kOverflowSlot);
  EXPECT_EQ(cache.Lookup("ab\x1F", kDetailed), 0);
  cache.StoreSmall("a\x1F", kUniversal, {1});  // slot 1
  cache.StoreSmall("b\x1F", kUniversal, {2});  // slot 2, in front
  cache.StoreSmall("ab\x1F", kDetailed, {3});  // slot 3, detailed
  EXPECT_EQ(cache.Lookup("ab\x1F", kUniversal), 2);
  EXPECT_EQ(cache.Lookup("ac\x1F", kUniversal), 1);
  EXPECT_EQ(cache.Lookup("cc\x1F", kUniversal), SearchCache::kOverflowSlot);
  cache.Promote(1);
  EXPECT_EQ(cache.Lookup("ab\x1F", kUniversal), 1);
}

}  // namespace
}  // namespace spravka
