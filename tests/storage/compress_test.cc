// SPDX-License-Identifier: GPL-3.0-or-later
// Every stream a writer makes is a plain zlib stream that states the
// maximum level, as the format's files always have, and is no larger than
// zlib's level 9 would make it.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "storage/base_file.h"
#include "storage/base_section.h"
#include "storage/byte_order.h"
#include "storage/keystream.h"
#include "storage/side_by_side.h"
#include "storage/zlib_codec.h"
#include "tools/demo_town.h"

namespace spravka {
namespace {

size_t ZlibLevel9Size(std::string_view text) {
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  std::string out(size, '\0');
  EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                      reinterpret_cast<const Bytef*>(text.data()),
                      static_cast<uLong>(text.size()), 9),
            Z_OK);
  return size;
}

// Inflates a descrambled stream with zlib alone and checks its header.
void ExpectPlainZlibStream(std::string stream,
                           void (*descramble)(uint8_t*, size_t),
                           std::string_view text, const std::string& what) {
  descramble(reinterpret_cast<uint8_t*>(stream.data()), stream.size());
  ASSERT_GE(stream.size(), 2u) << what;
  EXPECT_EQ(static_cast<unsigned char>(stream[0]), kZlibMaxLevelHeader[0])
      << what;
  EXPECT_EQ(static_cast<unsigned char>(stream[1]), kZlibMaxLevelHeader[1])
      << what;
  std::string inflated(text.size(), '\0');
  ASSERT_TRUE(InflateExact(stream, inflated.data(), inflated.size())) << what;
  EXPECT_TRUE(inflated == text) << what;
}

TEST(CompressTest, EveryWrittenStreamReadsWithPlainZlib) {
  // Large enough for the two sections to compress side by side, and the
  // residential text in two pieces.
  const DemoTown town = MakeDemoTown(100000, 25000, 3);
  ASSERT_GE(town.org_text.size(), kParallelTextBytes);
  ASSERT_GE(town.home_text.size(), kCompressPiecesFromBytes);
  const std::string file =
      WriteBasePart(town.header, 77, town.home_text, town.org_text);
  size_t offset = kHeaderOffset + kHeaderSize + 4;
  const size_t section_end = file.size() - kTrailerSize;
  struct Section {
    std::string_view text;
    void (*descramble)(uint8_t*, size_t);
    const char* what;
  };
  for (const auto& [text, descramble, what] :
       {Section{town.home_text, ScrambleHomeStream, "residential"},
        Section{town.org_text, ScrambleOrgStream, "organisations"}}) {
    SectionBlock block;
    ASSERT_TRUE(ReadSectionBlock(file, &offset, section_end, &block)) << what;
    EXPECT_EQ(block.text_size, text.size()) << what;
    ExpectPlainZlibStream(file.substr(block.stream_offset, block.stream_size),
                          descramble, text, what);
  }
  EXPECT_EQ(offset, section_end);

  const std::string change_stream = "0000001\x1F\x1E\x1E";
  const std::string changes = WriteChangeSectionFromStream(77, change_stream);
  EXPECT_EQ(ReadInt32(reinterpret_cast<const uint8_t*>(changes.data()) + 4),
            static_cast<int32_t>(change_stream.size()));
  ExpectPlainZlibStream(changes.substr(8), MaskChangeStream, change_stream,
                        "changes");
}

TEST(CompressTest, NoLargerThanZlibsLevel9) {
  struct Town {
    size_t home, org;
    uint32_t seed;
  };
  for (const Town& t : {Town{100000, 2000, 11}, Town{20000, 2000, 7},
                        Town{1000, 100, 5}, Town{1, 1, 2}, Town{0, 0, 1}}) {
    const DemoTown town = MakeDemoTown(t.home, t.org, t.seed);
    for (const std::string* text : {&town.home_text, &town.org_text}) {
      EXPECT_LE(Compress(*text).size(), ZlibLevel9Size(*text))
          << t.home << "/" << t.org << " records, seed " << t.seed << ", "
          << (text == &town.home_text ? "residential" : "organisations");
    }
  }
}

ByteBuffer RawDeflate(std::string_view text, int level) {
  z_stream z{};
  EXPECT_EQ(
      deflateInit2(&z, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY),
      Z_OK);
  ByteBuffer out;
  out.ResizeUninitialized(deflateBound(&z, text.size()));
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  z.avail_in = static_cast<uInt>(text.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.ResizeUninitialized(out.size() - z.avail_out);
  deflateEnd(&z);
  return out;
}

std::string RawInflate(std::string_view stream, size_t room) {
  z_stream z{};
  EXPECT_EQ(inflateInit2(&z, -MAX_WBITS), Z_OK);
  std::string out(room + 1, '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
  z.avail_in = static_cast<uInt>(stream.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = inflate(&z, Z_FINISH);
  out.resize(out.size() - z.avail_out);
  const bool whole = rc == Z_STREAM_END && z.avail_in == 0;
  inflateEnd(&z);
  return whole ? out : "(not one whole stream)";
}

// Streams of every kind of last block (stored, fixed, dynamic) ending at
// every bit of a byte: once continued, a second stream read after them
// gives the two texts one after the other.
TEST(CompressTest, ContinuedRawStreamsInflateAsOne) {
  std::mt19937 random(4);
  for (int round = 0; round < 600; ++round) {
    const int level = round % 10;
    std::string first(random() % 3000, '\0');
    for (char& c : first)
      c = static_cast<char>('a' + random() % (1 + round % 23));
    std::string second(random() % 3000, 'x');
    for (char& c : second) c = static_cast<char>('0' + random() % 10);
    ByteBuffer stream = RawDeflate(first, level);
    ASSERT_TRUE(ContinueRawDeflate(&stream)) << "round " << round;
    const std::string_view continued = stream;
    const ByteBuffer tail = RawDeflate(second, 9);
    const std::string joined =
        std::string(continued) + std::string(std::string_view(tail));
    ASSERT_EQ(RawInflate(joined, first.size() + second.size()), first + second)
        << "round " << round << ", level " << level;
  }

  // Not one whole raw stream: nothing is changed.
  ByteBuffer whole = RawDeflate(std::string(5000, 'q'), 6);
  const std::string before(std::string_view{whole});
  for (const size_t cut : {size_t{1}, whole.size() / 2, whole.size() - 1}) {
    ByteBuffer cut_short = whole;
    cut_short.ResizeUninitialized(cut);
    EXPECT_FALSE(ContinueRawDeflate(&cut_short)) << "cut to " << cut;
  }
  ByteBuffer trailing(before.size() + 1, 'z');
  std::memcpy(trailing.data(), before.data(), before.size());
  EXPECT_FALSE(ContinueRawDeflate(&trailing));
  EXPECT_EQ(std::string(std::string_view{trailing}), before + "z");
}

}  // namespace
}  // namespace spravka
