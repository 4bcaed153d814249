// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid_stripes.h"

#include "platform/display_colours.h"

namespace spravka {

GridStripes::GridStripes(BaseSession* session, Rgb button_face)
    : session_(session), button_face_(button_face) {
  colours_.grid = ToQColor(button_face);
  colours_.stripe = colours_.grid;
}

void GridStripes::SetGrids(ResultGrid* home, ResultGrid* org) {
  home_ = home;
  org_ = org;
}

void GridStripes::SetContrast(int level) {
  session_->stripes().SetStripeContrast(button_face_, level);
  Apply();
}

void GridStripes::SetOn(bool on) {
  session_->stripes().SetStripesOn(on);
  Apply();
}

void GridStripes::Apply() {
  const Stripes& s = session_->stripes();
  if (session_->base().loaded()) {
    colours_.grid = ToQColor(s.grid_colour());
    colours_.stripe = ToQColor(s.stripe_colour());
  }
  colours_.stripes_on = s.stripes_on();
  if (home_) home_->ApplyStripes();
  if (org_) org_->ApplyStripes();
}

}  // namespace spravka
