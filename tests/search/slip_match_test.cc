// SPDX-License-Identifier: GPL-3.0-or-later
// "е" for "ё" and one slip a word, case by case against the expected answer
// and against an independent model built on the plain matcher, then on
// random words and records against the model alone.
#include "search/slip_match.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "search/match_record.h"
#include "search/search_pattern.h"
#include "search/text_fold.h"
#include "search_test_util.h"
#include "slip_model.h"

namespace spravka {
namespace {

using testing::Rec;
using testing::SlipModel;
using testing::W;

constexpr MatchOptions kExact{.universal = true};
constexpr MatchOptions kYo{.universal = true, .yo = true};
constexpr MatchOptions kSlip{.universal = true, .slip = true};
constexpr MatchOptions kBoth{.universal = true, .yo = true, .slip = true};
constexpr MatchOptions kDetailedBoth{.yo = true, .slip = true};

std::string Name(const MatchOptions& o) {
  return std::string(o.universal ? "universal" : "detailed") +
         (o.yo ? " yo" : "") + (o.slip ? " slip" : "");
}

struct Case {
  const char* typed;  // UTF-8, as typed into the universal line
  std::string record;
  MatchOptions options;
  bool match;
};

TEST(SlipMatchTest, UniversalLineCases) {
  const std::string semyonov = Rec({"234567", "Семёнов А.П.", "Ленина", "12"});
  const std::string kuznetsov =
      Rec({"234568", "Кузнецов И.И.", "Ленина", "125", "", "7"});
  const Case cases[] = {
      // "е" finds "ё" and "Ё", in small and capital letters typed.
      {"семенов", semyonov, kYo, true},
      {"семенов", semyonov, kExact, false},
      {"СЕМЕНОВ", Rec({"СЕМЁНОВ"}), kYo, true},
      {"елкин", Rec({"Ёлкин"}), kYo, true},
      {"Ctvtyjd", semyonov, kYo, true},  // typed in the Latin layout
      // A typed "ё" finds only "ё", as before.
      {"семёнов", Rec({"Семенов"}), kYo, false},
      {"семёнов", semyonov, kYo, true},
      {"ёлкин", Rec({"Ёлкин"}), kYo, false},
      // One slip: a letter changed, typed in excess, left out, or two
      // neighbours swapped; anywhere in the word.
      {"кузницов", kuznetsov, kSlip, true},
      {"кузницов", kuznetsov, kExact, false},
      {"кузнеццов", kuznetsov, kSlip, true},
      {"кузнцов", kuznetsov, kSlip, true},
      {"кузнецво", kuznetsov, kSlip, true},
      {"укзнецов", kuznetsov, kSlip, true},
      {"кузнецовы", kuznetsov, kSlip, true},
      // Two slips in one word stay unfound.
      {"шепилов", Rec({"Шепелев"}), kSlip, false},
      {"кузнцво", kuznetsov, kSlip, false},
      // Fewer than four letters: no slip.
      {"ивн", Rec({"Иван"}), kSlip, false},
      {"ивна", Rec({"Иван"}), kSlip, true},
      // Each word may hold its own slip; the order stays.
      {"кузницов лнина", kuznetsov, kSlip, true},
      {"лнина кузницов", kuznetsov, kSlip, false},
      // Digits are never part of a slip.
      {"лнина 125", kuznetsov, kSlip, true},
      {"ленина 126", kuznetsov, kSlip, false},
      {"кузнецов 7", kuznetsov, kSlip, true},
      {"кузнецов 8", kuznetsov, kSlip, false},
      // "?" is one byte whatever the slip, "$" a word end (a letter the
      // user left out may come before it, a digit may not).
      {"ив??ов", Rec({"Ивов"}), kSlip, false},
      {"ив??ов", Rec({"Ивнов"}), kSlip, true},
      {"иванов$", Rec({"Иванов2 И."}), kSlip, false},
      {"иванов$", Rec({"Ивановы И."}), kSlip, true},
      {"иванов$", Rec({"Ивановых И."}), kSlip, false},
      // The keyboard layout is fixed first: "repywjd" is «кузнцов».
      {"repywjd", kuznetsov, kSlip, true},
      // Both: «е» for «ё» costs no slip; without it, it is one.
      {"семенв", semyonov, kBoth, true},
      {"семенв", semyonov, kSlip, false},
  };
  for (const Case& c : cases) {
    const std::string pattern = UniversalPattern(W(c.typed));
    EXPECT_EQ(MatchRecord(pattern, c.record, c.options), c.match)
        << "«" << c.typed << "» " << Name(c.options);
    EXPECT_EQ(SlipModel::Match(pattern, c.record, c.options), c.match)
        << "model: «" << c.typed << "» " << Name(c.options);
  }
}

std::string Item(int tag, uint8_t mode, const char* folded) {
  return std::string(1, static_cast<char>(tag)) + static_cast<char>(mode) +
         W(folded);
}

TEST(SlipMatchTest, DetailedItemCases) {
  const std::string record =
      Rec({"234568", "Кузнецов И.И.", "Ленина", "125", "", "7", "Центр"});
  const struct {
    std::string pattern;
    bool match;
  } cases[] = {
      {Item(2, kSubstringItem, "кузницов"), true},
      {Item(2, kPrefixItem, "узнецов"), true},  // the first letter left out
      {Item(2, kPrefixItem, "знецов"), false},
      {Item(3, kSubstringItem, "линина"), true},
      {Item(3, kSubstringItem, "лин"), false},  // three letters
      // A slip stays inside its field: «ленина1» is not «Ленина» + «125».
      {Item(3, kSubstringItem, "ленинаа"), true},
      {Item(3, kSubstringItem, "ленина1"), false},
      // Houses and flats are digits: never widened.
      {Item(4, kPrefixItem, "126"), false},
      {Item(6, kPrefixItem, "8"), false},
      {Item(2, kSubstringItem, "кузницов") + Item(4, kPrefixItem, "12"), true},
      {Item(2, kSubstringItem, "кузницов") + Item(4, kPrefixItem, "13"), false},
      {Item(7, kSubstringItem, "цнетр"), true},
  };
  for (const auto& c : cases) {
    const std::string pattern = c.pattern + '\x1F';
    EXPECT_EQ(MatchRecord(pattern, record, kDetailedBoth), c.match)
        << ::testing::PrintToString(c.pattern);
    EXPECT_EQ(SlipModel::Match(pattern, record, kDetailedBoth), c.match)
        << "model: " << ::testing::PrintToString(c.pattern);
  }
}

TEST(SlipMatchTest, WhichPatternsMaySlip) {
  EXPECT_TRUE(PatternMaySlip(W("ив иван\x1F"), true));
  EXPECT_FALSE(PatternMaySlip(W("ив ива 12345 ?????\x1F"), true));
  EXPECT_FALSE(PatternMaySlip(W("ив?н\x1F"), true));
  EXPECT_TRUE(PatternMaySlip(Item(2, kPrefixItem, "ив ан") + '\x1F', false));
  EXPECT_FALSE(PatternMaySlip(Item(1, kPrefixItem, "123456") + '\x1F', false));
  EXPECT_FALSE(PatternMaySlip("\x1F", false));
  EXPECT_FALSE(PatternMaySlip("\x02", false));  // no closing byte
}

// Random records, and words cut from them and spoilt by a few random
// slips (a letter changed, dropped, put in, two swapped, "ё" typed as "е"),
// sometimes with a "?" or a "$": the matcher and the model agree with every
// combination of the options. "$" stands only at a word's end ("$" first
// in a keyword is an ordinary byte, which a word rewritten by the model
// would turn into a word end) and detailed items hold no "?" (the plain
// matcher gives up on a substring at its field's end, while a word with a
// slip is tried at every position of the field).
TEST(SlipMatchTest, AgreesWithTheModelOnRandomWords) {
  std::mt19937 rng(32);
  auto pick = [&](size_t n) {
    return std::uniform_int_distribution<size_t>(0, n - 1)(rng);
  };
  const std::string record_bytes = W("абвгдеЕёЁАБ1 ,");
  const std::string letters = W("абвгдеё");
  auto random_text = [&](size_t min, size_t max) {
    std::string t;
    for (size_t n = min + pick(max - min + 1); n > 0; --n) {
      t.push_back(record_bytes[pick(record_bytes.size())]);
    }
    return t;
  };
  // A piece of a field as typed, then spoilt.
  auto word_from = [&](std::string_view field, bool prefix, bool wildcard) {
    std::string w;
    if (!field.empty()) {
      const size_t from = prefix ? 0 : pick(field.size());
      w = LowerCyrillic(field.substr(from, 3 + pick(5)));
    }
    for (size_t slips = pick(3); slips > 0 && !w.empty(); --slips) {
      const size_t at = pick(w.size());
      switch (pick(5)) {
        case 0:
          w[at] = letters[pick(letters.size())];
          break;
        case 1:
          w.erase(at, 1);
          break;
        case 2:
          w.insert(w.begin() + at, letters[pick(letters.size())]);
          break;
        case 3:
          if (at + 1 < w.size()) std::swap(w[at], w[at + 1]);
          break;
        default:
          if ((static_cast<uint8_t>(w[at]) | 0x10) == kSmallYo)
            w[at] = static_cast<char>(kSmallIe);
      }
    }
    if (wildcard && !w.empty() && pick(4) == 0) w[pick(w.size())] = '?';
    if (w.empty() || static_cast<uint8_t>(w[0]) < 0x21) w.insert(0, "а");
    return w;
  };
  int found_by_options = 0;
  for (int round = 0; round < 4000; ++round) {
    std::string record;
    for (char tag = 1; tag <= 3; ++tag) {
      record.push_back(tag);
      record += random_text(0, 9);
    }
    record.push_back('\x1F');
    const MatchOptions options{
        .universal = pick(2) == 0, .yo = pick(2) == 0, .slip = pick(4) != 0};
    std::string pattern;
    if (options.universal) {
      for (size_t words = 1 + pick(2); words > 0; --words) {
        if (!pattern.empty()) pattern.push_back(' ');
        std::string w = word_from(FieldOf(record, 1 + pick(3)), false, true);
        std::erase_if(w, [](char c) { return static_cast<uint8_t>(c) < 0x21; });
        pattern += w.empty() ? "а" : w;
        if (pick(5) == 0) pattern.push_back('$');
      }
    } else {
      for (char tag = 1; tag <= 3; ++tag) {
        if (pick(2)) continue;
        const bool prefix = pick(2) == 0;
        pattern.push_back(tag);
        pattern.push_back(prefix ? kPrefixItem : kSubstringItem);
        pattern += word_from(FieldOf(record, tag), prefix, false);
      }
    }
    pattern.push_back('\x1F');
    const bool model = SlipModel::Match(pattern, record, options);
    ASSERT_EQ(MatchRecord(pattern, record, options), model)
        << Name(options) << " pattern " << ::testing::PrintToString(pattern)
        << " record " << ::testing::PrintToString(record);
    found_by_options +=
        model && !MatchRecord(pattern, record, options.universal);
  }
  EXPECT_GT(found_by_options, 100);  // not vacuous
}

}  // namespace
}  // namespace spravka
