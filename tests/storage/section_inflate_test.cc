// SPDX-License-Identifier: GPL-3.0-or-later
// Table sections are inflated by libdeflate into the exact stated room and
// the two tables load on two threads. Whatever is wrong with a stream, the
// verdict is zlib's, and a load that fails is the same damaged base with
// the same message.
#include <gtest/gtest.h>

#include <random>

#include "app/base_messages.h"
#include "storage/base_file.h"
#include "storage/base_section.h"
#include "storage/byte_order.h"
#include "storage/keystream.h"
#include "storage/record_key.h"
#include "storage/record_store.h"
#include "storage/zlib_codec.h"
#include "tools/demo_town.h"

namespace spravka {
namespace {

constexpr size_t kHomeBlockAt = kHeaderOffset + kHeaderSize + 4;

// A libdeflate verdict and output against zlib's for the same stream and
// stated length.
void ExpectSameAsZlib(const std::string& stream, size_t size,
                      const std::string& what) {
  std::string by_zlib(size, '\0');
  std::string by_libdeflate(size, '\0');
  const bool zlib_ok = InflateExact(stream, by_zlib.data(), size);
  const bool libdeflate_ok = InflateSection(stream, by_libdeflate.data(), size);
  ASSERT_EQ(libdeflate_ok, zlib_ok) << what;
  if (zlib_ok) {
    ASSERT_TRUE(by_libdeflate == by_zlib) << what;
  }
  // Read back after writing, bytes after the stream are refused as well.
  size_t trailing = 0;
  const bool zlib_whole =
      InflateExact(stream, by_zlib.data(), size, &trailing) && trailing == 0;
  ASSERT_EQ(InflateWholeSection(stream, by_libdeflate.data(), size), zlib_whole)
      << what;
}

TEST(SectionInflateTest, CorruptedStreamsGetZlibsVerdict) {
  const DemoTown town = MakeDemoTown(400, 40, 9);
  const std::string good = Compress(town.home_text);
  const size_t size = town.home_text.size();
  ExpectSameAsZlib(good, size, "sound");
  ExpectSameAsZlib("", 0, "empty stream");
  ExpectSameAsZlib(Compress(""), 0, "empty text");
  for (const long delta : {-1000L, -1L, 1L, 1000L}) {
    ExpectSameAsZlib(good, size + delta,
                     "stated length off by " + std::to_string(delta));
  }
  ExpectSameAsZlib(good + "trailing bytes", size, "bytes after the stream");
  ExpectSameAsZlib(good + "\x01", size, "one byte after the stream");
  std::mt19937 random(12);
  for (int round = 0; round < 3000; ++round) {
    std::string stream = good;
    std::string what;
    switch (round % 5) {
      case 0: {
        const size_t at = random() % stream.size();
        const int bit = random() % 8;
        stream[at] ^= static_cast<char>(1 << bit);
        what = "bit " + std::to_string(bit) + " of byte " + std::to_string(at);
        break;
      }
      case 1: {
        for (int i = 0; i < 4; ++i)
          stream[random() % stream.size()] = static_cast<char>(random());
        what = "four bytes overwritten";
        break;
      }
      case 2:
        stream.resize(random() % stream.size());
        what = "cut to " + std::to_string(stream.size());
        break;
      case 3: {
        // The header and the checksum, where zlib and libdeflate check most.
        const size_t at =
            round % 2 ? random() % 2 : stream.size() - 1 - random() % 4;
        stream[at] = static_cast<char>(random());
        what = "header or checksum byte " + std::to_string(at);
        break;
      }
      default:
        stream.insert(random() % stream.size(), 1 + random() % 8,
                      static_cast<char>(random()));
        what = "bytes inserted";
    }
    ExpectSameAsZlib(stream, size,
                     what + " (round " + std::to_string(round) + ")");
  }
}

// Flips bits of the byte at `at` (modulo the length) of the residential
// stream of a base file, or with `org` of the organisation stream.
std::string WithDamagedStream(std::string file, bool org, size_t at) {
  auto* bytes = reinterpret_cast<uint8_t*>(file.data());
  size_t block = kHomeBlockAt;
  if (org) block += 8 + static_cast<size_t>(ReadInt32(bytes + block + 4));
  const size_t stream_size = static_cast<size_t>(ReadInt32(bytes + block + 4));
  bytes[block + 8 + at % stream_size] ^= 0x5A;
  return file;
}

class TwoThreadLoadTest : public ::testing::Test {
 protected:
  // Both texts over a megabyte, so that the tables load on two threads.
  static void SetUpTestSuite() {
    town_ = new DemoTown(MakeDemoTown(30000, 20000, 4));
    ASSERT_GT(town_->org_text.size(), size_t{1} << 20);
    file_ = new std::string(
        WriteBasePart(town_->header, 3, town_->home_text, town_->org_text));
  }
  static void TearDownTestSuite() {
    delete town_;
    delete file_;
  }
  static DemoTown* town_;
  static std::string* file_;
};
DemoTown* TwoThreadLoadTest::town_ = nullptr;
std::string* TwoThreadLoadTest::file_ = nullptr;

TEST_F(TwoThreadLoadTest, BothTablesLoadWithTheirChanges) {
  ChangeList home, org;
  home.Add(2, "\x1F");
  home.Add(30001,
           "\x01"
           "1\x02"
           "new\x03\x04\x05\x06\x07\x1F");
  org.Add(20000, "\x1F");
  RecordStore store;
  ASSERT_EQ(LoadBaseFromBytes(*file_ + WriteChangeSection(3, home, org), &store)
                .code(),
            StatusCode::kOk);
  EXPECT_EQ(store.HomeData.CountRecords(), 30000u);
  EXPECT_EQ(store.OrgData.CountRecords(), 19999u);
  size_t records = 0;
  const std::string org_text = StripRecordHeads(store.OrgData, &records);
  EXPECT_TRUE(org_text == town_->org_text.substr(0, org_text.size()));
  RecordStore plain;
  ASSERT_EQ(LoadBaseFromBytes(*file_, &plain).code(), StatusCode::kOk);
  EXPECT_TRUE(StripRecordHeads(plain.HomeData, &records) == town_->home_text);
  EXPECT_TRUE(StripRecordHeads(plain.OrgData, &records) == town_->org_text);
}

TEST_F(TwoThreadLoadTest, ADamagedStreamOfEitherTableIsTheSameDamagedBase) {
  for (const bool org : {false, true}) {
    for (const size_t at :
         {size_t{0}, size_t{1}, size_t{5000}, size_t{1} << 30}) {
      RecordStore store;
      store.BaseStamp = 99;
      const Status status =
          LoadBaseFromBytes(WithDamagedStream(*file_, org, at), &store);
      ASSERT_EQ(status.code(), StatusCode::kDamagedBase) << org << " " << at;
      EXPECT_EQ(store.BaseStamp, 99);
      const BaseMessage message =
          StatusMessage(status, BaseAction::kLoading, "town.qz");
      EXPECT_EQ(message.text, kDamagedBaseText);
      EXPECT_EQ(message.kind, MessageKind::kInformation);
      EXPECT_TRUE(message.fatal);
    }
  }
}

}  // namespace
}  // namespace spravka
