#include "app/inform_text.h"

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

TEST(InformTextTest, VersionStandsUnderTheTitleAndLeavesTheDescriptionPlace) {
  std::vector<std::string> without = UnscrambleInformText(StoredInformText());
  EXPECT_EQ(without[kVersionLine], "");  // kept free in the stored text
  std::vector<std::string> lines = without;

  PlaceVersion("12.3.4", &lines);
  PlaceDescription("base", &lines);
  PlaceDescription("base", &without);
  // Only the version line differs.
  ASSERT_EQ(lines.size(), without.size());
  const std::string version = lines[kVersionLine];
  lines[kVersionLine] = "";
  EXPECT_EQ(lines, without);
  EXPECT_EQ(lines[kDescriptionLine], "base");
  EXPECT_EQ(lines[kDescriptionLine + 1], "");
  EXPECT_EQ(MarkerLine(lines), kDescriptionLine + 2);

  ASSERT_TRUE(version.ends_with("\xE2\xE5\xF0\xF1\xE8\xFF 12.3.4")) << version;
  // Centred under the title: twice the centre, the start plus the end,
  // differs by at most one blank.
  const std::string& title = lines[kVersionLine - 1];
  const double twice_centre = version.find_first_not_of(' ') + version.size();
  EXPECT_NEAR(twice_centre, title.find_first_not_of(' ') + title.size(), 1.0);

  // A text without a title line still gets its version line.
  std::vector<std::string> empty;
  PlaceVersion("1.0", &empty);
  ASSERT_EQ(empty.size(), size_t(kVersionLine + 1));
  EXPECT_EQ(empty[kVersionLine], "\xE2\xE5\xF0\xF1\xE8\xFF 1.0");
}

}  // namespace
}  // namespace spravka
