// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_RULES_HEADER_GEOMETRY_H_
#define SPRAVKA_APP_RULES_HEADER_GEOMETRY_H_

#include "storage/base_header.h"

namespace spravka {

// A base header's pixel geometry (grid column widths, the places of the
// search labels and edits) is laid out for an interface font whose digits
// are 6 pixels wide: a seven-digit number just fills its 44-pixel column.
// On a wider font the geometry grows by the ratio of the font's widest digit
// to those 6 pixels (never shrinks), and widths written back to a base go
// in the header's own units, so that a base saved here looks the same on
// any machine.
class HeaderGeometry {
 public:
  static constexpr double kLayoutDigitWidth = 6.0;

  HeaderGeometry() = default;
  // `widest_digit`: the advance of the interface font's widest digit.
  explicit HeaderGeometry(double widest_digit);

  double factor() const { return factor_; }

  // Header pixels to screen pixels, rounded up so that what fitted still
  // fits; ToHeader is its exact inverse, so widths survive a round trip.
  int ToScreen(int header_pixels) const;
  int ToHeader(int screen_pixels) const;
  EditPlace ToScreen(const EditPlace& place) const;

 private:
  double factor_ = 1.0;
};

}  // namespace spravka

#endif  // SPRAVKA_APP_RULES_HEADER_GEOMETRY_H_
