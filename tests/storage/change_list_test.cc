// SPDX-License-Identifier: GPL-3.0-or-later
// The change list against a plain map of number to value: adding, setting,
// deleting, erasing and reading give what the map gives, whether the numbers
// come in order, out of order, close together or far apart.
#include "storage/change_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace spravka {
namespace {

using Model = std::map<uint32_t, std::string>;

// What the model says the list must hold, read every way the list offers.
void ExpectSame(const ChangeList& list, const Model& model,
                const std::string& where) {
  ASSERT_EQ(list.size(), model.size()) << where;
  EXPECT_EQ(list.empty(), model.empty()) << where;
  size_t record_bytes = 0;
  auto it = list.begin();
  for (const auto& [number, value] : model) {
    ASSERT_NE(it, list.end()) << where;
    EXPECT_EQ(it->number, number) << where;
    EXPECT_EQ(it->value, value) << where << ", number " << number;
    EXPECT_EQ(it->IsDeletion(), value == "\x1F") << where;
    EXPECT_TRUE(list.Contains(number)) << where;
    const std::optional<std::string_view> found = list.Find(number);
    ASSERT_TRUE(found.has_value()) << where << ", number " << number;
    EXPECT_EQ(*found, value) << where << ", number " << number;
    if (value != "\x1F") record_bytes += value.size() + 5;
    ++it;
  }
  EXPECT_EQ(it, list.end()) << where;
  EXPECT_EQ(list.RecordBytes(), record_bytes) << where;
}

class Values {
 public:
  explicit Values(uint32_t seed) : random_(seed) {}
  uint32_t Number(uint32_t highest) {
    return std::uniform_int_distribution<uint32_t>(1, highest)(random_);
  }
  // A deletion one time in three, else a record of 1 to 40 bytes.
  std::string Value() {
    if (random_() % 3 == 0) return "\x1F";
    std::string text = "\x01";
    const size_t length = random_() % 40;
    for (size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
    return text + "\x1F";
  }
  std::mt19937& random() { return random_; }

 private:
  std::mt19937 random_;
};

TEST(ChangeListTest, AddSetAndEraseAgreeWithAMap) {
  // Numbers close together share blocks of the index; far apart, each has
  // its own; ascending ones take the quick way at the end.
  struct Case {
    const char* name;
    uint32_t highest;
    bool ascending;
  };
  for (const Case& c : {Case{"close", 300, false}, Case{"far", ChangeList::kMaxNumber, false},
                        Case{"ascending", 5000, true}}) {
    Values values(7);
    ChangeList list;
    Model model;
    uint32_t next = 1;
    for (int step = 0; step < 3000; ++step) {
      const uint32_t number =
          c.ascending ? (next += 1 + values.random()() % 3) : values.Number(c.highest);
      const std::string value = values.Value();
      if (values.random()() % 5 == 0) {
        EXPECT_EQ(list.Erase(number), model.erase(number) == 1)
            << c.name << ", step " << step;
      } else if (values.random()() % 2 == 0) {
        EXPECT_EQ(list.Add(number, value), model.emplace(number, value).second)
            << c.name << ", step " << step;
      } else {
        EXPECT_TRUE(list.Set(number, value));
        model[number] = value;
      }
      if (step % 500 == 0) ExpectSame(list, model, c.name);
    }
    ExpectSame(list, model, c.name);
    const ChangeList copy = list;
    list.clear();
    ExpectSame(list, {}, std::string(c.name) + ", cleared");
    ExpectSame(copy, model, std::string(c.name) + ", copied");
  }
}

// Entries read from a stream in any order: the first value of a number
// stays, and the list reads in number order once the loader is finished.
TEST(ChangeListTest, LoaderTakesAnyOrderAndKeepsTheFirstValue) {
  Values values(11);
  std::vector<std::pair<uint32_t, std::string>> entries;
  for (int i = 0; i < 4000; ++i) {
    entries.emplace_back(values.Number(2000), values.Value());
  }
  for (const bool sorted : {true, false}) {
    std::vector<std::pair<uint32_t, std::string>> order = entries;
    if (sorted) {
      std::stable_sort(order.begin(), order.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
    }
    ChangeList list;
    ChangeListLoader loader(&list);
    Model model;
    for (const auto& [number, value] : order) {
      EXPECT_EQ(loader.Add(number, value), model.emplace(number, value).second);
    }
    loader.Finish();
    ExpectSame(list, model, sorted ? "in order" : "out of order");
    // Editing goes on as on any list.
    list.Set(1000, "\x1F");
    model[1000] = "\x1F";
    list.Set(3000, "\x01x\x1F");
    model[3000] = "\x01x\x1F";
    ExpectSame(list, model, sorted ? "in order, edited" : "out of order, edited");
  }
}

TEST(ChangeListTest, EntriesItCannotHoldAreRefused) {
  ChangeList list;
  const std::string longest(ChangeList::kMaxValue, 'v');
  EXPECT_TRUE(list.Add(ChangeList::kMaxNumber, longest));
  EXPECT_FALSE(list.Add(0, "\x1F"));
  EXPECT_FALSE(list.Add(ChangeList::kMaxNumber + 1, "\x1F"));
  EXPECT_FALSE(list.Set(2, ""));
  EXPECT_FALSE(list.Set(2, longest + "v"));
  ChangeListLoader loader(&list);
  EXPECT_FALSE(loader.Add(0, "\x1F"));
  ExpectSame(list, {{ChangeList::kMaxNumber, longest}}, "refusals");
}

}  // namespace
}  // namespace spravka
