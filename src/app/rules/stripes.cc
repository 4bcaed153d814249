// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/rules/stripes.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace spravka {
namespace {

// Nearest integer with halves to even (the default rounding mode), held
// to 0..255.
int ToChannel(double v) {
  if (!(v > 0)) return 0;  // also catches NaN
  if (v >= 255) return 255;
  return static_cast<int>(std::nearbyint(v));
}

// More than enough: 1.02^600 lifts any positive start past 255.
constexpr int kMaxSteps = 4000;

}  // namespace

Rgb StripeColourFor(Rgb grid, int level, const NearestColour& nearest) {
  const double f = level / 100.0 + 1;
  double r = grid.r * f / 1.02;
  double g = grid.g * f / 1.02;
  double b = grid.b * f / 1.02;
  Rgb candidate = grid;
  for (int step = 0; step < kMaxSteps; ++step) {
    r *= 1.02;
    g *= 1.02;
    b *= 1.02;
    Rgb value{ToChannel(r), ToChannel(g), ToChannel(b)};
    candidate = nearest(value);
    if (!(candidate == grid)) break;
    auto off_edge = [](int c) { return c == 255 ? 0 : c; };
    if (off_edge(value.r) + off_edge(value.g) + off_edge(value.b) == 0) break;
  }
  return candidate;
}

void Stripes::SetStripeContrast(Rgb button_face, int level) {
  grid_ = nearest_(button_face);
  stripe_ = StripeColourFor(grid_, level, nearest_);
  level_ = level;
}

int ContrastUp(int level) { return level > INT_MAX - 2 ? INT_MAX : level + 2; }

int ContrastDown(int level) { return level > 2 ? level - 2 : level; }

}  // namespace spravka
