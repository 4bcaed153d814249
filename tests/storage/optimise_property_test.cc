// SPDX-License-Identifier: GPL-3.0-or-later
// For every base that loads, optimising it changes no record: the records
// after are the records before, field for field and in order, only their
// numbers new. Generated bases, with change entries of every shape a
// change section can hold, and the same with bytes of their tables and
// change streams mutated.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "storage/base_file.h"
#include "storage/change_stream.h"
#include "storage/optimiser.h"
#include "storage/record_key.h"
#include "support/base_builder.h"

namespace spravka {
namespace {

constexpr int kMaxColumn = 8;

// What a table shows: every record's fields 1..8, in table order.
std::vector<std::vector<std::string>> Shown(const Table& table) {
  std::vector<std::vector<std::string>> records;
  for (size_t p = 1; p < table.used; p += table.LengthAt(p)) {
    std::vector<std::string> fields;
    for (int c = 1; c <= kMaxColumn; ++c)
      fields.emplace_back(FieldOf(table.TextAt(p), c));
    records.push_back(std::move(fields));
  }
  return records;
}

class BaseGenerator {
 public:
  explicit BaseGenerator(uint32_t seed) : random_(seed) {}

  std::string Base() {
    const int home_kinds = Between(2, 7);
    const int org_kinds = Between(2, 8);
    const int32_t stamp = Between(0, 1000000);
    ChangeList home_changes;
    ChangeList org_changes;
    std::string home = Table(home_kinds, &home_changes);
    std::string org = Table(org_kinds, &org_changes);
    std::string stream = BuildChangeStream(home_changes, org_changes);
    if (Chance(3)) Mutate(&home);
    if (Chance(3)) Mutate(&org);
    if (Chance(3)) Mutate(&stream);
    return WriteBasePart(testing::HeaderWithKinds(home_kinds, org_kinds), stamp,
                         home, org) +
           (Chance(5) ? "" : WriteChangeSectionFromStream(stamp, stream));
  }

 private:
  int Between(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random_);
  }
  bool Chance(int one_in) { return Between(1, one_in) == 1; }

  // Field text, now and then with a stray field end inside.
  std::string Text() {
    static constexpr char kBytes[] = "ab \xC0\xE0\x01\x02\x03\x08\x1E";
    std::string text;
    const int length = Between(0, 6);
    for (int i = 0; i < length; ++i) {
      const int pick = Chance(6) ? Between(5, 9) : Between(0, 4);
      text.push_back(kBytes[pick]);
    }
    return text;
  }
  // A record as a change entry may hold it: usually well formed, else
  // without its first tag, with tags out of order, or no tags at all.
  std::string Record(int kinds) {
    std::string text;
    const int shape = Between(0, 5);
    for (int c = 1; c <= kinds; ++c) {
      if (shape == 1 && c == 1) continue;
      if (shape == 2) {
        text += Text();
        continue;
      }
      text += static_cast<char>(shape == 3 ? Between(1, kinds) : c);
      text += Text();
    }
    return text + '\x1F';
  }
  // A section text (records without their leading tag 1) and changes.
  std::string Table(int kinds, ChangeList* changes) {
    std::string text;
    const int records = Between(0, 12);
    for (int r = 0; r < records; ++r) {
      const std::string record = Record(kinds);
      text += record.front() == '\x01' ? record.substr(1) : record;
    }
    const int entries = Between(0, 8);
    for (int e = 0; e < entries; ++e) {
      const auto number = static_cast<uint32_t>(Between(1, records + 4));
      changes->Set(number, Chance(4) ? "\x1F" : Record(kinds));
    }
    return text;
  }
  void Mutate(std::string* bytes) {
    if (bytes->empty()) return;
    const int flips = Between(1, 3);
    for (int i = 0; i < flips; ++i) {
      const size_t at =
          std::uniform_int_distribution<size_t>(0, bytes->size() - 1)(random_);
      (*bytes)[at] = static_cast<char>(Between(0, 255));
    }
  }

  std::mt19937 random_;
};

TEST(OptimisePropertyTest, OptimisingChangesNoRecordOfABaseThatLoads) {
  const std::string path = testing::TempDir() + "/town.qz";
  int loaded = 0;
  for (uint32_t seed = 1; seed <= 250; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    BaseGenerator generator(seed);
    testing::WriteBytes(path, generator.Base());
    RecordStore before;
    if (!LoadBase(path, &before).ok()) continue;
    ++loaded;
    const Status status =
        OptimiseBase(path, before, before.header.HomeColWidths,
                     before.header.OrgColWidths, 7, nullptr);
    // A record the next load could not read is refused, changing nothing.
    if (status.code() == StatusCode::kRebuiltUnreadable) continue;
    ASSERT_TRUE(status.ok());
    RecordStore after;
    ASSERT_TRUE(LoadBase(path, &after).ok());
    EXPECT_EQ(Shown(after.HomeData), Shown(before.HomeData));
    EXPECT_EQ(Shown(after.OrgData), Shown(before.OrgData));
  }
  EXPECT_GT(loaded, 125);  // the generator makes mostly loadable bases
}

}  // namespace
}  // namespace spravka
