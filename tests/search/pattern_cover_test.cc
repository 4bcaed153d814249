// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/pattern_cover.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "search/match_record.h"
#include "search_test_util.h"

namespace spravka {
namespace {

using testing::W;

std::string U(const char* words) { return W(words) + '\x1F'; }

std::string Item(int tag, uint8_t mode, const char* text) {
  return std::string(1, static_cast<char>(tag)) + static_cast<char>(mode) +
         W(text);
}
std::string P(int tag, const char* text) {
  return Item(tag, kPrefixItem, text);
}
std::string S(int tag, const char* text) {
  return Item(tag, kSubstringItem, text);
}

TEST(PatternCoversTest, Universal) {
  const struct {
    const char* cached;
    const char* next;
    bool covers;
  } cases[] = {
      {"", "ив", true},
      {"ив", "ива", true},
      {"ив", "ив пет", true},
      {"ив пет", "ива петр", true},
      {"ива", "ив", false},
      {"пет", "ив пет", true},
      {"ив пет", "пет ив", false},
      {"ов ов", "иванов", false},
      {"ов ов", "иванов котов", true},
      {"ив?н", "иван", true},
      {"ив", "ив$", true},     // the new "$" only narrows
      {"$ив", "$ива", false},  // a cached "$" is never trusted
      // Reading the new text as a record would accept these:
      {"12$", "12", false},     // "125" matches the new search only
      {"ив?н", "ив н", false},  // "ив" and "н" apart need not match "ив?н"
      {"и?", "и ", false},
      {"ив", "и?", false},  // a new "?" may have matched anything
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PatternCovers(U(c.cached), U(c.next), true), c.covers)
        << "«" << c.cached << "» for «" << c.next << "»";
  }
}

TEST(PatternCoversTest, Detailed) {
  const struct {
    std::string cached;
    std::string next;
    bool covers;
  } cases[] = {
      {"", P(2, "иван"), true},
      {S(2, "ив"), S(2, "иван"), true},
      {S(2, "ва"), S(2, "иван"), true},
      {S(2, "ва"), P(2, "иван"), true},
      {P(2, "ив"), P(2, "иван"), true},
      {P(2, "ив") + P(4, "1"), P(2, "иван") + P(4, "12"), true},
      {P(4, "1"), P(2, "иван") + P(4, "12"), true},
      {P(2, "ив") + P(4, "1"), P(2, "иван"), false},
      {P(2, "иван"), P(3, "иван"), false},
      {P(2, "ва"), P(2, "иван"), false},
      {P(2, "и?а"), P(2, "ивап"), true},
      {P(4, "12"), P(4, "12$"), true},
      // A cached prefix item is no wider than a substring item of the same
      // text: «^Иван» misses «Петров Иван».
      {P(2, "иван"), S(2, "иван"), false},
      // A cached "$": "12$" misses "125", which "12" finds.
      {P(4, "12$"), P(4, "12"), false},
      {S(4, "12$"), S(4, "12"), false},
      // A new "?" may take the field's end: "ab?cd" matches a field "ab"
      // before a field "cd", where a substring «cd» does not.
      {S(2, "cd"), P(2, "ab?cd"), false},
      {S(2, "ab"), P(2, "ab?cd"), true},
      {P(2, "a?"), P(2, "a?c"), true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PatternCovers(c.cached + '\x1F', c.next + '\x1F', false),
              c.covers)
        << ::testing::PrintToString(c.cached) << " for "
        << ::testing::PrintToString(c.next);
  }
}

// With "е" for "ё" and slips: how each pattern was matched counts.
TEST(PatternCoversTest, Options) {
  constexpr MatchOptions exact{.universal = true};
  constexpr MatchOptions yo{.universal = true, .yo = true};
  constexpr MatchOptions slip{.universal = true, .slip = true};
  const struct {
    const char* cached;
    MatchOptions cached_options;
    const char* next;
    MatchOptions next_options;
    bool covers;
  } cases[] = {
      {"сем", yo, "семен", yo, true},
      {"нов", exact, "семенов", yo, true},  // no "е" in the cached word
      {"сем", exact, "семен", yo, false},   // «Сём»
      {"семе", exact, "семен", yo, false},  // «Семён»
      {"семе", yo, "семен", exact, true},
      {"семе", yo, "семён", yo, true},
      {"семё", yo, "семен", yo, false},
      {"ив", exact, "ив", MatchOptions{}, false},  // another mode
      // A word that may hold a slip is covered by one that may too.
      {"кузн", slip, "кузниц", slip, true},
      {"кузн", exact, "кузниц", slip, false},  // «Казниц»
      {"куз", slip, "кузниц", slip, false},    // three letters: exact
      {"кузн", slip, "кузниц", exact, true},
      {"ку?н", slip, "кузниц", slip, false},  // the slip may move the «з»
      {"кузн иц", slip, "кузниц", slip, false},
      {"кузн ниц", slip, "кузн ниц", slip, true},
      {"кузниц", slip, "кузниц", slip, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(
        PatternCovers(U(c.cached), c.cached_options, U(c.next), c.next_options),
        c.covers)
        << "«" << c.cached << "» for «" << c.next << "»";
  }
}

// The cover test is sound: whenever it says yes, no record matches the new
// pattern without matching the cached one, with any options on either
// side. Small alphabets make the corner cases ("?" at field ends, "$"
// before digits, folded letters, "е" and "ё", slips) common.
class CoverSoundnessTest : public ::testing::Test {
 protected:
  std::string RandomText(const char* alphabet, int max_length) {
    const int n = Pick(max_length + 1);
    std::string text;
    const std::string a = W(alphabet);
    for (int i = 0; i < n; ++i) text.push_back(a[Pick(a.size())]);
    return text;
  }
  std::string RandomRecord() {
    std::string text;
    for (char tag = 1; tag <= 3; ++tag) {
      text.push_back(tag);
      text += RandomText("абеАБЕёЁ1 ,", 6);
    }
    return text + '\x1F';
  }
  std::string RandomUniversal() { return RandomText("абеёаб1 ?$", 7) + '\x1F'; }
  std::string RandomDetailed() {
    std::string pattern;
    for (char tag = 1; tag <= 3; ++tag) {
      if (Pick(2)) continue;
      pattern.push_back(tag);
      pattern.push_back(Pick(2) ? kPrefixItem : kSubstringItem);
      pattern += RandomText("абеёаб1?$ ", 6);
    }
    return pattern + '\x1F';
  }
  size_t Pick(size_t n) {
    return std::uniform_int_distribution<size_t>(0, n - 1)(rng_);
  }

  MatchOptions RandomOptions(bool universal) {
    return {.universal = universal, .yo = Pick(2) == 0, .slip = Pick(2) == 0};
  }

  void Check(bool universal) {
    std::vector<std::string> records;
    for (int i = 0; i < 400; ++i) records.push_back(RandomRecord());
    int covering_pairs = 0;
    int with_options = 0;
    for (int trial = 0; trial < 20000; ++trial) {
      const std::string cached =
          universal ? RandomUniversal() : RandomDetailed();
      const std::string next = universal ? RandomUniversal() : RandomDetailed();
      const MatchOptions cached_options = RandomOptions(universal);
      const MatchOptions next_options = RandomOptions(universal);
      if (!PatternCovers(cached, cached_options, next, next_options)) continue;
      ++covering_pairs;
      with_options += next_options.slip || next_options.yo;
      for (const std::string& r : records) {
        if (MatchRecord(next, r, next_options)) {
          ASSERT_TRUE(MatchRecord(cached, r, cached_options))
              << "cached " << ::testing::PrintToString(cached) << " "
              << cached_options.yo << cached_options.slip << " next "
              << ::testing::PrintToString(next) << " " << next_options.yo
              << next_options.slip << " record " << ::testing::PrintToString(r);
        }
      }
    }
    // The test is not vacuous.
    EXPECT_GT(covering_pairs, 1000);
    EXPECT_GT(with_options, 500);
  }

  std::mt19937 rng_{20260406};
};

TEST_F(CoverSoundnessTest, Universal) { Check(true); }
TEST_F(CoverSoundnessTest, Detailed) { Check(false); }

}  // namespace
}  // namespace spravka
