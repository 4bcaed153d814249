// SPDX-License-Identifier: GPL-3.0-or-later
// Files made to cost memory or to break optimisation: each loads or is
// refused as a damaged base, and the reserve and the change stream stay
// within what the file can use.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "storage/base_section.h"
#include "storage/change_stream.h"
#include "storage/record_key.h"
#include "storage/record_store.h"
#include "support/base_builder.h"
#include "support/hostile_bases.h"

namespace spravka {
namespace {

using testing::RecordText;

TEST(HostileBaseTest, EachLoadsOrIsADamagedBase) {
  struct Expected {
    StatusCode status;
    ChangeSectionStatus changes;
    size_t home_changes;
  };
  const std::map<std::string, Expected> expected = {
      {"table-growth.qz", {StatusCode::kOk, ChangeSectionStatus::kAbsent, 0}},
      {"text-length.qz",
       {StatusCode::kDamagedBase, ChangeSectionStatus::kAbsent, 0}},
      // Nothing in the stream ends an entry: it all goes.
      {"change-stream.qz", {StatusCode::kOk, ChangeSectionStatus::kApplied, 0}},
      {"change-hint.qz", {StatusCode::kOk, ChangeSectionStatus::kApplied, 1}},
      // The entry could not be read back after optimisation: it is dropped.
      {"tagless-record.qz",
       {StatusCode::kOk, ChangeSectionStatus::kApplied, 0}},
  };
  const auto bases = testing::HostileBases(testing::HostileScale::kSmall);
  ASSERT_EQ(bases.size(), expected.size());
  for (const auto& base : bases) {
    const Expected& want = expected.at(base.name);
    RecordStore store;
    ChangeSectionStatus changes = ChangeSectionStatus::kAbsent;
    const Status status = LoadBaseFromBytes(base.bytes, &store, &changes);
    EXPECT_EQ(status.code(), want.status) << base.name;
    if (!status.ok()) continue;
    EXPECT_EQ(changes, want.changes) << base.name;
    EXPECT_EQ(store.HomeChanges.size(), want.home_changes) << base.name;
    EXPECT_EQ(store.OrgChanges.size(), 0u) << base.name;
    EXPECT_LE(store.HomeData.bytes.size(),
              store.HomeData.used + 1 + kDefaultTableGrowth)
        << base.name;
  }
}

TEST(HostileBaseTest, TheReserveIsWhatTheMergeCanUse) {
  // Header's reserve, text length, change bytes -> reserve.
  EXPECT_EQ(TableReserve(INT_MAX, 0, 0), 1u);
  EXPECT_EQ(TableReserve(INT_MAX, 100, 0), 1u + 600u);
  EXPECT_EQ(TableReserve(INT_MAX, 100, 50), 1u + 600u + 50u);
  EXPECT_EQ(TableReserve(1000, 1000000, 0), 1000u);
  EXPECT_EQ(TableReserve(0, 1000, 0), 1u);
  EXPECT_EQ(TableReserve(-7, 1000, 0), 1u);
  // No more records than a table may hold, however long the text.
  EXPECT_EQ(TableReserve(INT_MAX, size_t{1} << 31, 0),
            1u + 6u * kMaxRecordNumber);
  EXPECT_EQ(PlausibleTableGrowth(6), 100036u);
}

// Change streams that arrive in pieces of any size give what the whole
// stream gives; an entry longer than any record is dropped as soon as it
// is, and the entries around it still count.
TEST(ChangeStreamParserTest, PiecesAndOverlongEntries) {
  const std::string longest =
      "\x01" + std::string(65528, 'L') + "\x1F";  // 65,530
  ASSERT_TRUE(FitsRecord(longest));
  const std::string one_more = "\x01" + std::string(65529, 'L') + "\x1F";
  ASSERT_FALSE(FitsRecord(one_more));
  ASSERT_FALSE(FitsRecord(std::string(65529, 'L') + "\x1F"));  // gains tag 1
  const std::string stream = "0000001" + RecordText({"a"}) + "0000002" +
                             one_more + "0000003" + longest + "0000004" +
                             std::string(200000, 'A') + "\x1E" +
                             std::string(70000, 'B') +
                             "\x1F"
                             "0000005" +
                             RecordText({"o"}) +
                             "\x1E"
                             "0000006\x1F";
  ChangeList home, org;
  ParseChangeStream(stream, &home, &org);
  ASSERT_EQ(home.size(), 2u);
  EXPECT_TRUE(home.Contains(1));
  EXPECT_EQ(*home.Find(3), longest);
  ASSERT_EQ(org.size(), 1u);
  EXPECT_TRUE(org.Contains(5));

  std::mt19937 random(5);
  for (int round = 0; round < 20; ++round) {
    ChangeList pieces_home, pieces_org;
    ChangeStreamParser parser(&pieces_home, &pieces_org);
    for (size_t at = 0; at < stream.size();) {
      const size_t piece = 1 + random() % (round < 10 ? 7 : 100000);
      parser.Feed(std::string_view(stream).substr(at, piece));
      at += piece;
    }
    parser.Finish();
    EXPECT_EQ(pieces_home.size(), home.size()) << round;
    EXPECT_EQ(*pieces_home.Find(3), longest) << round;
    EXPECT_EQ(pieces_org.size(), org.size()) << round;
  }
}

}  // namespace
}  // namespace spravka
