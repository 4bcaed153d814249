// SPDX-License-Identifier: GPL-3.0-or-later
#include "search/match_record.h"

#include <gtest/gtest.h>

#include <string>

#include "search_test_util.h"

namespace spravka {
namespace {

using testing::Rec;
using testing::W;

struct Case {
  const char* pattern;  // UTF-8, without the closing 0x1F
  std::string record;
  bool match;
};

std::string Universal(const char* words) { return W(words) + '\x1F'; }

TEST(MatchRecordUniversalTest, Keywords) {
  const std::string ivanov = Rec({"123456", "Иванов И.И.", "Петра", "12а"});
  const Case cases[] = {
      {"", ivanov, true},
      {"   ", ivanov, true},
      // Keywords in the given order, each after the one before.
      {"ива пет", ivanov, true},
      {"пет ива", ivanov, false},
      {"пет ива", Rec({"Петров", "Иванова"}), true},
      {"ов ов", Rec({"Иванов"}), false},
      {"ов ов", Rec({"Иванов", "Котова"}), true},
      {"ив иван", Rec({"Иванов"}), false},  // must start behind "ив"
      {"аб", Rec({"ааб"}), true},           // tried again one byte further
      {"123 12а", ivanov, true},
      // "$": a word end ahead, never before a digit or letter, nor at the
      // very end of the text.
      {"ива$", Rec({"Ива Н"}), true},
      {"ива$", Rec({"Ива,"}), true},
      {"ива$", Rec({"Ива", "x"}), true},  // a tag ends the word
      {"ива$", Rec({"Иванов"}), false},
      {"ива$", Rec({"x", "Ива"}), false},
      {"12$", Rec({"12/1"}), true},
      {"12$", Rec({"125"}), false},
      {"$12", Rec({"$12"}), true},  // first in a keyword it is a byte
      {"$12", Rec({"12"}), false},
      // "?" is any byte but the end, a tag included.
      {"в?п", ivanov, false},
      {"и.?пет", ivanov, true},
      {"?", Rec({""}), true},  // the tag 1
      {"??", Rec({""}), false},
      {"ив?н", Rec({"Иван"}), true},
      // Only А–Я fold, and only in the record.
      {"иванов", Rec({"ИВАНОВ"}), true},
      {"ёлкин", Rec({"Ёлкин"}), false},
      {"Lenin", Rec({"Lenin"}), true},
      {"lenin", Rec({"Lenin"}), false},
      {"Иванов", Rec({"Иванов"}), false},  // patterns are folded beforehand
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchRecord(Universal(c.pattern), c.record, true), c.match)
        << "«" << c.pattern << "»";
  }
}

// A detailed item: tag, mode, text.
std::string Item(char tag, uint8_t mode, const char* text) {
  return std::string(1, tag) + static_cast<char>(mode) + W(text);
}
std::string Prefix(char tag, const char* text) {
  return Item(tag, kPrefixItem, text);
}
std::string Substring(char tag, const char* text) {
  return Item(tag, kSubstringItem, text);
}

TEST(MatchRecordDetailedTest, Items) {
  auto house = [](const char* h) {
    return Rec({"1", "Иванов", "Мира", h, ""});
  };
  const struct {
    std::string pattern;
    std::string record;
    bool match;
  } cases[] = {
      {"", house("12"), true},
      {Prefix(4, "12"), house("12"), true},
      {Prefix(4, "12"), house("12а"), true},
      {Prefix(4, "12"), house("125"), true},
      {Prefix(4, "12"), house("112"), false},
      {Prefix(4, "12$"), house("12"), true},
      {Prefix(4, "12$"), house("12/1"), true},
      {Prefix(4, "12$"), house("12 к"), true},
      {Prefix(4, "12$"), house("12а"), false},
      {Prefix(4, "12$"), house("125"), false},
      {Substring(4, "2"), house("12"), true},
      {Substring(2, "ов"), house("1"), true},
      {Prefix(2, "ов"), house("1"), false},
      {Substring(2, "ива"), house("1"), true},  // folded record byte
      // A substring never runs over the end of its field...
      {Substring(1, "ов"), Rec({"Ив", "овраг"}), false},
      {Substring(3, "ра1"), house("1"), false},
      // ... unless a "?" takes the tag: the steps allow that.
      {Substring(1, "в?о"), Rec({"Ив", "овраг"}), true},
      {Prefix(4, "12?"), house("12"), true},
      {Prefix(5, "?"), house("12"), false},  // the last field ends with 0x1F
      // Items in tag order, each in its own field.
      {Substring(2, "ов") + Prefix(4, "1"), house("12"), true},
      {Substring(2, "ов") + Prefix(4, "2"), house("12"), false},
      {Substring(2, "мир"), house("12"), false},
      {Prefix(7, ""), house("12"), false},    // no such field
      {Prefix(5, ""), house("12"), true},     // an empty last field
      {Substring(2, "$"), house("1"), true},  // the field's end is a word end
      {Prefix(5, "$"), house("1"), true},  // "$" tests the field's first byte
      {std::string("\x02"), house("1"), true},  // a tag without a mode byte
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MatchRecord(c.pattern + '\x1F', c.record, false), c.match)
        << ::testing::PrintToString(c.pattern);
  }
}

TEST(MatchRecordTest, NeedsClosingBytes) {
  EXPECT_FALSE(MatchRecord(std::string_view(""), Rec({"a"}), true));
  EXPECT_FALSE(MatchRecord(std::string_view("\x1F"),
                           "\x01"
                           "a",
                           true));
}

}  // namespace
}  // namespace spravka
