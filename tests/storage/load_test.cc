// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>

#include "storage/base_file.h"
#include "storage/base_template.h"
#include "storage/byte_order.h"
#include "storage/change_stream.h"
#include "storage/keystream.h"
#include "storage/record_key.h"
#include "storage/record_store.h"
#include "storage/zlib_codec.h"
#include "support/base_builder.h"

namespace spravka {
namespace {

using testing::Fields;
using testing::MakeBaseFile;
using testing::RecordText;
using testing::TableNumbers;
using testing::TableRecords;

const std::vector<Fields> kFive = {{"1", "a"}, {"2", "b"}, {"3", "c"}, {"4", "d"}, {"5", "e"}};
const std::vector<Fields> kOrgs = {{"100", "Школа"}, {"200", "Почта"}};

struct LoadResult {
  Status status;
  ChangeSectionStatus changes = ChangeSectionStatus::kAbsent;
  StatusCode code() const { return status.code(); }
};

LoadResult Load(const std::string& file, RecordStore* store) {
  LoadResult result;
  result.status = LoadBaseFromBytes(file, store, &result.changes);
  return result;
}

TEST(LoadTest, TemplateWithAHeaderLoadsAsTwoEmptyTables) {
  std::string file = BaseTemplate();
  const HeaderBytes header = testing::HeaderWithKinds(7, 8).ToFile();
  file.replace(4, kHeaderSize, reinterpret_cast<const char*>(header.data()), kHeaderSize);
  RecordStore store;
  const LoadResult report = Load(file, &store);
  ASSERT_EQ(report.code(), StatusCode::kOk);
  EXPECT_EQ(report.changes, ChangeSectionStatus::kApplied);
  EXPECT_EQ(store.HomeData.used, 0u);
  EXPECT_EQ(store.OrgData.used, 0u);
  ASSERT_EQ(store.HomeChanges.size(), 1u);
  ASSERT_EQ(store.OrgChanges.size(), 1u);
  EXPECT_TRUE(store.HomeChanges.begin()->IsDeletion());
  EXPECT_EQ(store.HomeChanges.begin()->number, 1u);
  EXPECT_EQ(store.BaseStamp, 758950572);
  EXPECT_EQ(store.header.TableGrowth, 100000);
  EXPECT_EQ(store.HomeData.spare(), 100000u);
}

TEST(LoadTest, RecordsGetHeadsNumbersAndTagOne) {
  RecordStore store;
  ASSERT_EQ(Load(MakeBaseFile(kFive, kOrgs), &store).code(), StatusCode::kOk);
  EXPECT_EQ(TableRecords(store.HomeData, 2), kFive);
  EXPECT_EQ(TableNumbers(store.HomeData), (std::vector<uint32_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(TableRecords(store.OrgData, 2), kOrgs);
  EXPECT_EQ(store.HomeData.TextAt(1), RecordText({"1", "a"}));
  EXPECT_EQ(store.HomeData.LengthAt(1), 4u + 6u);  // "1" 02 "a" 1F
  EXPECT_EQ(store.HomeData.used, 5u * 10u);
  EXPECT_EQ(store.changes(TableId::kHome).size(), 0u);
}

TEST(LoadTest, MergeReplacesDeletesAndAppendsInNumberOrder) {
  ChangeList home;
  home.Add(3, RecordText({"3", "C"}));
  home.Add(1, "\x1F");
  home.Add(8, RecordText({"8", "new8"}));
  home.Add(6, RecordText({"6", "new6"}));
  ChangeList org;
  org.Add(2, "\x1F");
  RecordStore store;
  const LoadResult report =
      Load(MakeBaseFile(kFive, kOrgs, 7, &home, &org), &store);
  ASSERT_EQ(report.code(), StatusCode::kOk);
  EXPECT_EQ(report.changes, ChangeSectionStatus::kApplied);
  EXPECT_EQ(TableRecords(store.HomeData, 2),
            (std::vector<Fields>{{"2", "b"}, {"3", "C"}, {"4", "d"}, {"5", "e"},
                                 {"6", "new6"}, {"8", "new8"}}));
  EXPECT_EQ(TableNumbers(store.HomeData), (std::vector<uint32_t>{2, 3, 4, 5, 6, 8}));
  EXPECT_EQ(TableRecords(store.OrgData, 2), (std::vector<Fields>{{"100", "Школа"}}));
  EXPECT_EQ(store.HomeChanges.size(), 4u);
}

TEST(LoadTest, MergeGrowsWhenTheReserveIsTooSmall) {
  std::vector<Fields> many;
  for (int i = 0; i < 5000; ++i) many.push_back({std::to_string(i), "x"});
  BaseHeader header = testing::HeaderWithKinds(2, 2);
  header.TableGrowth = 1;  // every record needs 6 more bytes than the text
  ChangeList home;
  home.Add(5001, RecordText({"tail", "y"}));
  std::string file = WriteBasePart(header, 9, testing::SectionText(many), "");
  file += WriteChangeSection(9, home, ChangeList());
  RecordStore store;
  ASSERT_EQ(Load(file, &store).code(), StatusCode::kOk);
  many.push_back({"tail", "y"});
  EXPECT_EQ(TableRecords(store.HomeData, 2), many);
  EXPECT_EQ(store.OrgData.used, 0u);
}

TEST(LoadTest, ChangeStreamRules) {
  struct Case {
    const char* name;
    std::string stream;
    std::vector<Fields> home;
    std::vector<Fields> org;
  };
  const std::string r3 = RecordText({"3", "X"});
  const std::string r3b = RecordText({"3", "Y"});
  const std::vector<Case> cases = {
      {"first of two equal keys wins", "0000003" + r3 + "0000003" + r3b + "\x1E",
       {{"1", "a"}, {"2", "b"}, {"3", "X"}, {"4", "d"}, {"5", "e"}}, kOrgs},
      {"entries of 7 bytes or fewer are ignored; 0000004+1F deletes",
       "000004\x1F" "0000004\x1F\x1E",
       {{"1", "a"}, {"2", "b"}, {"3", "c"}, {"5", "e"}}, kOrgs},
      {"entries after a second 1E are ignored", "\x1E" "0000001\x1F\x1E" "0000002\x1F",
       kFive, {{"200", "Почта"}}},
      {"line feeds are skipped", "00\n00002\x1F\n\x1E", {{"1", "a"}, {"3", "c"}, {"4", "d"}, {"5", "e"}}, kOrgs},
      {"keys that are not seven digits are dropped",
       "00000a1\x1F" "+000001\x1F" "0000000\x1F\x1E", kFive, kOrgs},
      {"a value is taken as it stands, even without tag 1",
       "0000002xyz\x1F" "0000002" + RecordText({"2", "later"}) + "\x1E",
       {{"1", "a"}, {"", ""}, {"3", "c"}, {"4", "d"}, {"5", "e"}}, kOrgs},
      {"text after the last 1F is dropped", "\x1E" "0000001", kFive, kOrgs},
      {"an entry longer than 250 bytes is read whole",
       "0000002" + RecordText({"2", std::string(400, 'L')}) + "\x1E",
       {{"1", "a"}, {"2", std::string(400, 'L')}, {"3", "c"}, {"4", "d"}, {"5", "e"}}, kOrgs},
      {"a record longer than 65535 bytes is dropped",
       "0000002" + RecordText({"2", std::string(65530, 'L')}) + "\x1E", kFive, kOrgs},
  };
  for (const Case& c : cases) {
    std::string file = MakeBaseFile(kFive, kOrgs, 11) + WriteChangeSectionFromStream(11, c.stream);
    RecordStore store;
    ASSERT_EQ(Load(file, &store).code(), StatusCode::kOk) << c.name;
    EXPECT_EQ(TableRecords(store.HomeData, 2), c.home) << c.name;
    EXPECT_EQ(TableRecords(store.OrgData, 2), c.org) << c.name;
  }
}

TEST(LoadTest, ChangeSectionThatDoesNotApplyLeavesTheBaseAsStored) {
  ChangeList home;
  home.Add(1, "\x1F");
  const std::string base = MakeBaseFile(kFive, kOrgs, 5);
  const std::string section = WriteChangeSection(5, home, ChangeList());
  std::string garbage_stream = section;
  garbage_stream.replace(8, 4, "\x01\x02\x03\x04");
  struct Case {
    std::string tail;
    ChangeSectionStatus status;
  };
  const std::vector<Case> cases = {
      {"", ChangeSectionStatus::kAbsent},
      {"\x05", ChangeSectionStatus::kAbsent},
      {"\x05\x00\x00\x00", ChangeSectionStatus::kAbsent},
      {WriteChangeSection(6, home, ChangeList()), ChangeSectionStatus::kForeignStamp},
      {section.substr(0, 5), ChangeSectionStatus::kDamaged},
      {section.substr(0, 8), ChangeSectionStatus::kDamaged},
      {section.substr(0, section.size() - 3), ChangeSectionStatus::kDamaged},
      {garbage_stream, ChangeSectionStatus::kDamaged},
  };
  for (const Case& c : cases) {
    RecordStore store;
    const LoadResult report = Load(base + c.tail, &store);
    ASSERT_EQ(report.code(), StatusCode::kOk) << c.tail.size();
    EXPECT_EQ(report.changes, c.status) << c.tail.size();
    EXPECT_EQ(TableRecords(store.HomeData, 2), kFive) << c.tail.size();
    EXPECT_TRUE(store.HomeChanges.empty());
  }
}

TEST(LoadTest, DamagedFilesAreReportedInCheckOrder) {
  const std::string good = MakeBaseFile(kFive, kOrgs, 5);
  const auto with_header = [&](const std::function<void(HeaderBytes&)>& change) {
    HeaderBytes plain;
    std::memcpy(plain.data(), good.data() + 4, kHeaderSize);
    ScrambleHeader(plain.data());
    change(plain);
    ScrambleHeader(plain.data());
    std::string file = good;
    file.replace(4, kHeaderSize, reinterpret_cast<const char*>(plain.data()), kHeaderSize);
    return file;
  };
  std::string bad_stamp = good;
  bad_stamp[740] ^= 1;
  std::string bad_stream = good;
  bad_stream[752 + 3] ^= 0x55;
  std::string short_text = good;  // claims one byte more than the stream holds
  short_text[744] += 1;
  std::string long_text = good;  // claims one byte less
  long_text[744] -= 1;
  std::string no_end = MakeBaseFile(kFive, kOrgs, 5);
  {
    // A section whose last record has no closing byte.
    no_end = WriteBasePart(testing::HeaderWithKinds(2, 2), 5, "1\x02" "a", "");
  }
  struct Case {
    const char* name;
    std::string file;
    StatusCode status;
  };
  const std::vector<Case> cases = {
      {"check tag", with_header([](HeaderBytes& h) { h[734] = 'B'; }),
       StatusCode::kDamagedHeader},
      {"format tag", with_header([](HeaderBytes& h) { h[0] = h[734] = 'B'; }),
       StatusCode::kUnsupportedFormat},
      {"field count", with_header([](HeaderBytes& h) { h[88] = 8; }),
       StatusCode::kDamagedHeader},
      {"stamp", bad_stamp, StatusCode::kDamagedBase},
      {"stream", bad_stream, StatusCode::kDamagedBase},
      {"text longer than stream", short_text, StatusCode::kDamagedBase},
      {"text shorter than stream", long_text, StatusCode::kDamagedBase},
      {"no closing byte", no_end, StatusCode::kDamagedBase},
      {"empty file", "", StatusCode::kDamagedLayout},
      {"truncated", good.substr(0, good.size() - 1),
       StatusCode::kDamagedLayout},
  };
  for (const Case& c : cases) {
    RecordStore store;
    store.BaseStamp = 99;
    EXPECT_EQ(Load(c.file, &store).code(), c.status) << c.name;
    EXPECT_EQ(store.BaseStamp, 99) << c.name << ": a failed load changed the store";
  }
}

// Random damage anywhere in a base must give a status, never a crash, and
// every loaded table must have sound heads.
TEST(LoadTest, SurvivesRandomDamage) {
  ChangeList home;
  home.Add(2, RecordText({"2", "bb"}));
  home.Add(9, RecordText({"9", "new"}));
  const std::string good = MakeBaseFile(kFive, kOrgs, 77, &home, nullptr);
  std::mt19937 random(1);
  for (int round = 0; round < 3000; ++round) {
    std::string file = good;
    const int damage = round % 3;
    if (damage == 0) {
      file[random() % file.size()] ^= static_cast<char>(1 + random() % 255);
    } else if (damage == 1) {
      file.resize(random() % file.size());
    } else {
      for (int i = 0; i < 4; ++i) file[random() % file.size()] = static_cast<char>(random());
    }
    RecordStore store;
    if (Load(file, &store).code() != StatusCode::kOk) continue;
    for (const Table* t : {&store.HomeData, &store.OrgData}) {
      for (size_t p = 1; p < t->used; p += t->LengthAt(p)) {
        ASSERT_GE(t->LengthAt(p), 6u);
        ASSERT_LE(p + t->LengthAt(p) - 1, t->used);
        ASSERT_EQ(t->TextAt(p).back(), '\x1F');
      }
    }
  }
}


// Change streams of random entries, well-formed or not, merge into tables
// whose records keep sound heads, ascending numbers and closing bytes.
// (A value is taken as it stands, so a record need not begin with tag 1.)
TEST(LoadTest, RandomChangeStreamsKeepTablesSound) {
  const std::string alphabet = std::string("0000000123456789aZ") + "\x01\x02\x1F\x1F\x1E\n";
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::string stream;
    const int length = static_cast<int>(random() % 120);
    for (int i = 0; i < length; ++i) {
      if (random() % 5 == 0) {
        stream += RecordKey(random() % 9) + "\x01x";
      } else {
        stream.push_back(alphabet[random() % alphabet.size()]);
      }
    }
    RecordStore store;
    ASSERT_EQ(Load(MakeBaseFile(kFive, kOrgs, 3) +
                       WriteChangeSectionFromStream(3, stream),
                   &store)
                  .code(),
              StatusCode::kOk);
    for (const Table* t : {&store.HomeData, &store.OrgData}) {
      uint32_t previous = 0;
      for (size_t p = 1; p < t->used; p += t->LengthAt(p)) {
        ASSERT_GT(t->NumberAt(p), previous) << round;
        previous = t->NumberAt(p);
        ASSERT_GE(t->LengthAt(p), kRecordHeadSize + 1);
        ASSERT_LE(p + t->LengthAt(p) - 1, t->used);
        ASSERT_EQ(t->TextAt(p).back(), '\x1F');
      }
    }
  }
}

}  // namespace
}  // namespace spravka
