// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_RULES_STRIPES_H_
#define SPRAVKA_APP_RULES_STRIPES_H_

#include <functional>

namespace spravka {

struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;
  bool operator==(const Rgb&) const = default;
};

// The display's nearest displayable colour; the identity on true colour.
using NearestColour = std::function<Rgb(Rgb)>;

// The stripe colour for a contrast level: the grid colour brightened by
// `level` per cent, then further in steps of 2 per cent until the display
// shows a colour different from the grid colour, or every channel is 0 or
// 255. Any level, however large or negative, gives channels in 0..255.
Rgb StripeColourFor(Rgb grid, int level, const NearestColour& nearest);

// The striped drawing state of the grids.
class Stripes {
 public:
  explicit Stripes(NearestColour nearest) : nearest_(std::move(nearest)) {}

  // Recomputes both colours from the button face for a contrast level.
  void SetStripeContrast(Rgb button_face, int level);

  // Stripes can be shown: the stripe colour differs from the grid colour.
  bool offered() const { return !(stripe_ == grid_); }

  // Even data rows are drawn in the stripe colour.
  bool stripes_on() const { return on_; }
  void SetStripesOn(bool on) { on_ = on; }
  int contrast_level() const { return level_; }
  Rgb grid_colour() const { return grid_; }
  Rgb stripe_colour() const { return stripe_; }

 private:
  NearestColour nearest_;
  bool on_ = false;
  int level_ = 0;
  Rgb grid_;
  Rgb stripe_;
};

// The contrast keys: the level after Ctrl + numeric-pad "+" (no upper
// limit, but never past the largest integer) and "-" (only above 2).
int ContrastUp(int level);
int ContrastDown(int level);

}  // namespace spravka

#endif  // SPRAVKA_APP_RULES_STRIPES_H_
