// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/rules/header_geometry.h"

#include <algorithm>
#include <cmath>

namespace spravka {
namespace {

// Products of integers and the factor that should be whole numbers may
// come out a hair off; this much is taken as rounding noise.
constexpr double kNoise = 1e-9;

}  // namespace

HeaderGeometry::HeaderGeometry(double widest_digit)
    : factor_(std::max(1.0, widest_digit / kLayoutDigitWidth)) {}

int HeaderGeometry::ToScreen(int header_pixels) const {
  return static_cast<int>(std::ceil(header_pixels * factor_ - kNoise));
}

int HeaderGeometry::ToHeader(int screen_pixels) const {
  return static_cast<int>(std::floor(screen_pixels / factor_ + kNoise));
}

EditPlace HeaderGeometry::ToScreen(const EditPlace& place) const {
  return {ToScreen(place.label_left), ToScreen(place.edit_left),
          ToScreen(place.edit_width)};
}

}  // namespace spravka
