// SPDX-License-Identifier: GPL-3.0-or-later
// Scaling the header's pixel geometry to the interface font and back.
#include "app/rules/header_geometry.h"

#include <gtest/gtest.h>

namespace spravka {
namespace {

TEST(HeaderGeometryTest, FactorIsTheWidestDigitOverSixPixelsNeverBelowOne) {
  EXPECT_DOUBLE_EQ(HeaderGeometry(6).factor(), 1.0);
  EXPECT_DOUBLE_EQ(HeaderGeometry(5).factor(), 1.0);
  EXPECT_DOUBLE_EQ(HeaderGeometry(7.5).factor(), 1.25);
  EXPECT_DOUBLE_EQ(HeaderGeometry().factor(), 1.0);
}

TEST(HeaderGeometryTest, SevenDigitsFitTheNumberColumnOnAnyFont) {
  // The number column of a new base is 44 pixels: seven digits and the
  // 2-pixel inset of the cell text.
  for (double digit : {6.0, 6.4, 6.8, 7.0, 7.3, 9.0, 13.7}) {
    HeaderGeometry g(digit);
    EXPECT_GE(g.ToScreen(44), 7 * digit + 2) << digit;
  }
}

TEST(HeaderGeometryTest, WidthsSurviveTheRoundTrip) {
  for (double digit : {6.0, 6.8, 7.0, 7.2, 8.0, 9.1, 12.0}) {
    HeaderGeometry g(digit);
    for (int w = 0; w <= 2000; ++w) {
      ASSERT_EQ(g.ToHeader(g.ToScreen(w)), w) << digit << " " << w;
    }
  }
}

TEST(HeaderGeometryTest, ADraggedWidthIsStoredInHeaderUnits) {
  HeaderGeometry g(7.5);  // factor 1.25
  EXPECT_EQ(g.ToHeader(100), 80);
  EXPECT_EQ(g.ToHeader(101), 80);
  EXPECT_EQ(g.ToScreen(80), 100);
  EXPECT_EQ(g.ToScreen(EditPlace{3, 19, 54}), (EditPlace{4, 24, 68}));
}

}  // namespace
}  // namespace spravka
