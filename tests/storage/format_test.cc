// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <numeric>

#include "storage/base_header.h"
#include "storage/base_template.h"
#include "storage/cp1251.h"
#include "storage/keystream.h"
#include "storage/record_key.h"

namespace spravka {
namespace {

TEST(KeystreamTest, DrawsTheKnownSequence) {
  Keystream header_keys(kHeaderSeed);
  std::vector<uint32_t> drawn;
  for (int i = 0; i < 5; ++i) drawn.push_back(header_keys.Next(239));
  EXPECT_EQ(drawn, (std::vector<uint32_t>{112, 88, 5, 0, 223}));
}

TEST(KeystreamTest, HeaderScramblingSparesFirstAndLastByteAndUndoesItself) {
  HeaderBytes bytes;
  std::iota(bytes.begin(), bytes.end(), 0);
  HeaderBytes scrambled = bytes;
  ScrambleHeader(scrambled.data());
  EXPECT_EQ(scrambled[0], bytes[0]);
  EXPECT_EQ(scrambled[735], bytes[735]);
  EXPECT_EQ(scrambled[1], bytes[1] ^ 112);
  EXPECT_EQ(scrambled[2], bytes[2] ^ 88);
  ScrambleHeader(scrambled.data());
  EXPECT_EQ(scrambled, bytes);
}

TEST(KeystreamTest, StreamsScrambleOnlyTheirStepPositions) {
  // 97 * 3 bytes: step 3, positions 20, 23, ... (1-based).
  std::string stream(291, '\0');
  ScrambleHomeStream(reinterpret_cast<uint8_t*>(stream.data()), stream.size());
  EXPECT_EQ(stream[19], static_cast<char>(46));
  EXPECT_EQ(stream[22], static_cast<char>(120));
  for (size_t i = 0; i < stream.size(); ++i) {
    if (i < 19 || (i - 19) % 3 != 0) {
      EXPECT_EQ(stream[i], 0) << i;
    }
  }
}

TEST(KeystreamTest, ShortStreamsStayAsTheyAre) {
  // Up to 20/22 bytes there is no position to scramble; up to 96/136 bytes
  // the step would be 0.
  for (size_t length : {0, 5, 20, 21, 96}) {
    std::string stream(length, 'x');
    ScrambleHomeStream(reinterpret_cast<uint8_t*>(stream.data()), length);
    EXPECT_EQ(stream, std::string(length, 'x')) << length;
  }
  for (size_t length : {22, 23, 136}) {
    std::string stream(length, 'x');
    ScrambleOrgStream(reinterpret_cast<uint8_t*>(stream.data()), length);
    EXPECT_EQ(stream, std::string(length, 'x')) << length;
  }
  std::string masked(20, 'x');
  MaskChangeStream(reinterpret_cast<uint8_t*>(masked.data()), masked.size());
  EXPECT_EQ(masked, std::string(20, 'x'));
  masked.assign(28, '\0');
  MaskChangeStream(reinterpret_cast<uint8_t*>(masked.data()), masked.size());
  EXPECT_EQ(static_cast<uint8_t>(masked[19]), 0xD3);
  EXPECT_EQ(static_cast<uint8_t>(masked[26]), 0xD3);
  EXPECT_EQ(std::count(masked.begin(), masked.end(), '\0'), 26);
}

TEST(BaseHeaderTest, PackKeepsUnnamedBytesAndWritesFieldsAtTheirOffsets) {
  HeaderBytes raw{};
  raw[0] = raw[734] = 'A';
  raw[83] = 0x77;   // reserved
  raw[700] = 0x55;  // reserved tail
  raw[1] = 3;
  raw[2] = 'a', raw[3] = 'b', raw[4] = 'c', raw[5] = 'z';  // 'z' is a leftover
  BaseHeader h = BaseHeader::Unpack(raw);
  EXPECT_EQ(h.Title, "abc");
  h.NumberLength = 7;
  h.OrgFields = 0x81;
  h.HomeColWidths[2] = 1234;
  h.Description = std::string(300, 'd');  // cut to its 250 places
  const HeaderBytes packed = h.Pack();
  EXPECT_EQ(packed[83], 0x77);
  EXPECT_EQ(packed[700], 0x55);
  EXPECT_EQ(packed[5], 'z');
  EXPECT_EQ(packed[84], 7);
  EXPECT_EQ(packed[101], 0x81);
  EXPECT_EQ(packed[102], 0);
  EXPECT_EQ(packed[288 + 8] | packed[289 + 8] << 8, 1234);
  EXPECT_EQ(packed[383], 250);
  EXPECT_EQ(BaseHeader::FromFile(h.ToFile()).Description, std::string(250, 'd'));
}

TEST(BaseHeaderTest, FieldCountsOutsideTheColumnSlotsAreInvalid) {
  BaseHeader h;
  for (auto [home, org, valid] : std::vector<std::tuple<int, int, bool>>{
           {1, 1, true}, {7, 8, true}, {0, 3, false}, {8, 3, false},
           {3, 9, false}, {3, -1, false}}) {
    h.HomeFieldCount = home;
    h.OrgFieldCount = org;
    EXPECT_EQ(h.FieldCountsValid(), valid) << home << " " << org;
  }
}

TEST(BaseTemplateTest, HasTheDocumentedLayout) {
  const std::string& t = BaseTemplate();
  ASSERT_EQ(t.size(), 831u);
  const auto int_at = [&](size_t at) {
    return static_cast<int32_t>(static_cast<uint8_t>(t[at]) | static_cast<uint8_t>(t[at + 1]) << 8 |
                                static_cast<uint8_t>(t[at + 2]) << 16 |
                                static_cast<uint8_t>(t[at + 3]) << 24);
  };
  EXPECT_EQ(int_at(0), 806);
  EXPECT_EQ(t.substr(740, 4), "\xAC\xAA\x3C\x2D");
  EXPECT_EQ(int_at(744), 13);
  EXPECT_EQ(int_at(748), 19);
  EXPECT_EQ(t.substr(752, 19), t.substr(779, 19));
  EXPECT_EQ(int_at(798), 66);
  EXPECT_EQ(int_at(802), 758950572);
  EXPECT_EQ(int_at(806), 758950572);
  EXPECT_EQ(int_at(810), 806);
}

TEST(RecordKeyTest, PadsToSevenDigitsAndParsesStrictly) {
  EXPECT_EQ(RecordKey(1), "0000001");
  EXPECT_EQ(RecordKey(1234567), "1234567");
  EXPECT_EQ(RecordKey(12345678), "12345678");
  EXPECT_EQ(KeyToNumber("0000042"), 42);
  EXPECT_EQ(KeyToNumber("-5"), -5);
  for (const char* bad : {"", "12a", " 12", "12 ", "+", "--1", "0x10", "++1"}) {
    EXPECT_EQ(KeyToNumber(bad), -1) << bad;
  }
}

TEST(Cp1251Test, ConvertsBothWaysAndRefusesWhatTheCodePageLacks) {
  const std::string cyrillic = "\xC8\xE2\xE0\xED\xEE\xE2 \xA8\xB8 \xB9";  // Иванов Ёё №
  EXPECT_EQ(Cp1251ToUtf8(cyrillic), "Иванов Ёё №");
  EXPECT_EQ(Utf8ToCp1251("Иванов Ёё №"), cyrillic);
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
  size_t bad = 99;
  EXPECT_FALSE(Utf8ToCp1251("ab中", &bad).has_value());
  EXPECT_EQ(bad, 2u);
  EXPECT_FALSE(Utf8ToCp1251("a\xC3").has_value());    // cut short
  EXPECT_FALSE(Utf8ToCp1251("\xC0\x80").has_value());  // overlong
}

}  // namespace
}  // namespace spravka
