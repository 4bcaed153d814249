// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/inform_text.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace spravka {
namespace {

int MarkerLine(const std::vector<std::string>& lines) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find(kDescriptionMarker) != std::string::npos) return i;
  }
  return -1;
}

TEST(InformTextTest, StoredTextUnscramblesToReadableLinesWithTheMarker) {
  std::vector<std::string> plain = UnscrambleInformText(StoredInformText());
  ASSERT_GT(plain.size(), 22u);
  EXPECT_GE(MarkerLine(plain), kDescriptionLine);
  for (const std::string& line : plain) {
    for (char c : line) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << line;
  }
  // The scrambling is its own inverse, running through all lines.
  EXPECT_EQ(UnscrambleInformText(plain), StoredInformText());
  EXPECT_NE(plain, StoredInformText());
}

TEST(InformTextTest, EachLoadReplacesTheDescription) {
  std::vector<std::string> lines = UnscrambleInformText(StoredInformText());
  const std::vector<std::string> before(lines.begin(), lines.begin() + 20);
  const std::string marker = lines[MarkerLine(lines)];
  const size_t tail = lines.size() - MarkerLine(lines);

  PlaceDescription("first\xE3\xEE\xF0\xEE\xE4", &lines);
  PlaceDescription("second", &lines);
  ASSERT_EQ(lines.size(), 22 + tail);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 20),
            before);
  EXPECT_EQ(lines[20], "second");
  EXPECT_EQ(lines[21], "");
  EXPECT_EQ(lines[22], marker);
}

// Twice the middle of a line's text: its start plus its end.
size_t TwiceCentre(const std::string& line) {
  return line.find_first_not_of(' ') + line.size();
}

TEST(InformTextTest, VersionAndLicenceStandUnderTheTitleAndLeaveTheRestAlone) {
  std::vector<std::string> without = UnscrambleInformText(StoredInformText());
  // Both kept free in the stored text.
  EXPECT_EQ(without[kVersionLine], "");
  EXPECT_EQ(without[kLicenceLine], "");
  std::vector<std::string> lines = without;

  PlaceVersion("12.3.4", &lines);
  PlaceLicence(&lines);
  PlaceDescription("base", &lines);
  PlaceDescription("base", &without);
  // Only the version and licence lines differ.
  ASSERT_EQ(lines.size(), without.size());
  const std::string version = lines[kVersionLine];
  const std::string licence = lines[kLicenceLine];
  lines[kVersionLine] = lines[kLicenceLine] = "";
  EXPECT_EQ(lines, without);
  EXPECT_EQ(lines[kDescriptionLine], "base");
  EXPECT_EQ(lines[kDescriptionLine + 1], "");
  EXPECT_EQ(MarkerLine(lines), kDescriptionLine + 2);

  ASSERT_TRUE(version.ends_with("\xE2\xE5\xF0\xF1\xE8\xFF 12.3.4")) << version;
  // "лицензия GNU GPL версии 3 или новее"
  EXPECT_EQ(licence.substr(licence.find_first_not_of(' ')),
            "\xEB\xE8\xF6\xE5\xED\xE7\xE8\xFF GNU GPL \xE2\xE5\xF0\xF1\xE8\xE8 3 "
            "\xE8\xEB\xE8 \xED\xEE\xE2\xE5\xE5");
  // Centred under the title, the longer licence too, within one blank; the
  // licence still fits the width of the text's longest lines.
  const std::string& title = lines[0];
  EXPECT_NEAR(TwiceCentre(version), TwiceCentre(title), 1.0);
  EXPECT_NEAR(TwiceCentre(licence), TwiceCentre(title), 1.0);
  size_t widest = 0;
  for (const std::string& line : without) widest = std::max(widest, line.size());
  EXPECT_LE(licence.size(), widest);

  // A text without a title line still gets both lines.
  std::vector<std::string> empty;
  PlaceVersion("1.0", &empty);
  PlaceLicence(&empty);
  ASSERT_EQ(empty.size(), size_t(kLicenceLine + 1));
  EXPECT_EQ(empty[kVersionLine], "\xE2\xE5\xF0\xF1\xE8\xFF 1.0");
  EXPECT_EQ(empty[kLicenceLine].find_first_not_of(' '), 0u);
}

}  // namespace
}  // namespace spravka
