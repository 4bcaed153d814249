// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/demo_town.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>
#include <vector>

#include "app/rules/new_base_layout.h"
#include "storage/record_table.h"

namespace spravka {
namespace {

// Splits a section text into its records (without the closing 0x1F).
std::vector<std::string_view> Records(std::string_view text) {
  std::vector<std::string_view> records;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find('\x1F', start);
    if (end == std::string_view::npos) {
      ADD_FAILURE() << "text does not end with 0x1F";
      break;
    }
    records.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return records;
}

// Every record holds the tags 2..n in order and no byte a value may not hold.
void ExpectWellFormed(std::string_view text, int field_count,
                      size_t expected_records, std::set<std::string>* numbers,
                      size_t number_length) {
  const std::vector<std::string_view> records = Records(text);
  ASSERT_EQ(records.size(), expected_records);
  for (std::string_view r : records) {
    int next_tag = 2;
    for (const char ch : r) {
      const auto b = static_cast<uint8_t>(ch);
      if (b >= 1 && b <= 8) {
        ASSERT_EQ(b, next_tag) << r;
        ++next_tag;
      } else {
        ASSERT_NE(b, 0x0A) << r;
        ASSERT_NE(b, 0x1E) << r;
        ASSERT_GE(b, 0x20) << r;
      }
    }
    ASSERT_EQ(next_tag, field_count + 1) << r;
    const std::string number(r.substr(0, r.find('\x02')));
    ASSERT_EQ(number.size(), number_length) << r;
    ASSERT_TRUE(numbers->insert(number).second) << "number twice: " << number;
  }
}

TEST(DemoTownTest, SameSeedSameTownOtherSeedOtherTown) {
  const DemoTown a = MakeDemoTown(3000, 500, 7);
  const DemoTown b = MakeDemoTown(3000, 500, 7);
  const DemoTown c = MakeDemoTown(3000, 500, 8);
  EXPECT_EQ(a.home_text, b.home_text);
  EXPECT_EQ(a.org_text, b.org_text);
  EXPECT_EQ(a.header.Pack(), b.header.Pack());
  EXPECT_NE(a.home_text, c.home_text);
  EXPECT_NE(a.org_text, c.org_text);
}

TEST(DemoTownTest, RecordsAreWellFormedWithDistinctNumbers) {
  for (const size_t home : {size_t{0}, size_t{1}, size_t{5000}}) {
    SCOPED_TRACE(home);
    const DemoTown town = MakeDemoTown(home, 777, 3);
    std::set<std::string> numbers;
    ExpectWellFormed(town.home_text, kHomeKinds, home, &numbers, 6);
    // Exactly the asked count even when the last organisation has more
    // departments than there is room for.
    ExpectWellFormed(town.org_text, kOrgKinds, 777, &numbers, 6);
  }
}

TEST(DemoTownTest, LargeTownsGetSevenDigitNumbers) {
  const DemoTown town = MakeDemoTown(400001, 0, 1);
  EXPECT_EQ(town.header.NumberLength, 7);
  std::set<std::string> numbers;
  ExpectWellFormed(town.home_text, kHomeKinds, 400001, &numbers, 7);
}

TEST(DemoTownTest, HeaderIsThatOfAnOptimisedBaseWithAllFields) {
  const DemoTown town = MakeDemoTown(1000, 20000, 1);
  const BaseHeader& h = town.header;
  EXPECT_EQ(h.HomeFields, kAllHomeFields);
  EXPECT_EQ(h.OrgFields, kAllOrgFields);
  EXPECT_EQ(h.HomeFieldCount, kHomeKinds);
  EXPECT_EQ(h.OrgFieldCount, kOrgKinds);
  const NewBaseLayout layout = LayOutNewBase(kAllHomeFields, kAllOrgFields);
  EXPECT_EQ(h.HomeEditPlaces, layout.HomeEditPlaces);
  EXPECT_EQ(h.OrgColWidths, layout.OrgColWidths);
  EXPECT_EQ(h.TableGrowth, 6 * 20000 + 100000);
  EXPECT_EQ(h.NumberLength, 6);
  EXPECT_FALSE(h.OriginTag.empty());
  EXPECT_FALSE(h.Title.empty());
  EXPECT_LE(h.Description.size(), kDescriptionCapacity);
}

}  // namespace
}  // namespace spravka
