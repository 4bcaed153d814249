// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_GRID_STRIPES_H_
#define SPRAVKA_UI_GRID_STRIPES_H_

#include "app/base_session.h"
#include "app/rules/stripes.h"
#include "ui/result_grid.h"

namespace spravka {

// The colours both result grids paint with, taken from the session's
// stripe settings. Before the first base is loaded the grids are painted in
// the system's button face.
class GridStripes {
 public:
  GridStripes(BaseSession* session, Rgb button_face);

  GridColours* colours() { return &colours_; }
  // The grids repainted on every change.
  void SetGrids(ResultGrid* home, ResultGrid* org);

  void SetContrast(int level);
  void SetOn(bool on);
  // The session's settings into the colours, and the grids repainted.
  void Apply();

 private:
  BaseSession* session_;
  Rgb button_face_;
  GridColours colours_;
  ResultGrid* home_ = nullptr;
  ResultGrid* org_ = nullptr;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_GRID_STRIPES_H_
