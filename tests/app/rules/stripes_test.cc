// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/rules/stripes.h"

#include <gtest/gtest.h>

#include <climits>

namespace spravka {
namespace {

Rgb TrueColour(Rgb c) { return c; }

// A display with 32 levels per channel.
Rgb CoarseColour(Rgb c) {
  auto q = [](int v) { return v / 8 * 8; };
  return {q(c.r), q(c.g), q(c.b)};
}

TEST(StripesTest, BrightensTheButtonFaceByTheLevel) {
  struct Case {
    Rgb face;
    int level;
    Rgb stripe;
  };
  const Case cases[] = {
      {{212, 208, 200}, 3, {218, 214, 206}},
      {{212, 208, 200}, 1, {214, 210, 202}},
      {{212, 208, 200}, 5, {223, 218, 210}},
      {{240, 240, 240}, 3, {247, 247, 247}},
      {{255, 255, 255}, 3, {255, 255, 255}},
      // Level 0 gives the face itself first, so it brightens by 2 per cent.
      {{200, 100, 50}, 0, {204, 102, 51}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StripeColourFor(c.face, c.level, TrueColour), c.stripe)
        << c.face.r << " " << c.level;
  }
}

TEST(StripesTest, KeepsBrighteningUntilTheDisplayShowsADifference) {
  // 212*1.03 = 218 still shows as 216 on this display; the steps go on.
  Rgb stripe = StripeColourFor({216, 208, 200}, 1, CoarseColour);
  EXPECT_NE(stripe, (Rgb{216, 208, 200}));
  EXPECT_EQ(stripe, CoarseColour(stripe));
}

TEST(StripesTest, AnyLevelEndsWithChannelsInRange) {
  for (int level : {INT_MIN, -1000, -100, -99, -3, 0, 1000, 1 << 20, INT_MAX}) {
    for (Rgb face : {Rgb{212, 208, 200}, Rgb{0, 0, 0}, Rgb{255, 255, 255},
                     Rgb{0, 128, 255}}) {
      for (const NearestColour& nearest :
           {NearestColour(TrueColour), NearestColour(CoarseColour)}) {
        Rgb s = StripeColourFor(face, level, nearest);
        for (int channel : {s.r, s.g, s.b}) {
          EXPECT_GE(channel, 0) << level;
          EXPECT_LE(channel, 255) << level;
        }
      }
    }
  }
}

TEST(StripesTest, OfferedOnlyWhenTheColoursDiffer) {
  Stripes stripes(TrueColour);
  stripes.SetStripeContrast({212, 208, 200}, 3);
  EXPECT_TRUE(stripes.offered());
  EXPECT_EQ(stripes.contrast_level(), 3);
  EXPECT_EQ(stripes.grid_colour(), (Rgb{212, 208, 200}));
  stripes.SetStripeContrast({255, 255, 255}, 3);
  EXPECT_FALSE(stripes.offered());
}

TEST(StripesTest, ContrastKeysStepByTwo) {
  EXPECT_EQ(ContrastUp(3), 5);
  EXPECT_EQ(ContrastUp(INT_MAX - 1), INT_MAX);
  EXPECT_EQ(ContrastDown(3), 1);
  EXPECT_EQ(ContrastDown(2), 2);
  EXPECT_EQ(ContrastDown(1), 1);
  EXPECT_EQ(ContrastDown(-50), -50);
}

}  // namespace
}  // namespace spravka
