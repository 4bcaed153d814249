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

}  // namespace
}  // namespace spravka
