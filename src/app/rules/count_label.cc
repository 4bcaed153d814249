// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/rules/count_label.h"

#include "search/search_result.h"

namespace spravka {

CountLabelState CountLabelFor(int rows, bool similar) {
  CountLabelState state;
  if (rows <= 0) return state;
  if (rows > static_cast<int>(kSearchCap)) {
    state.text = "более " + std::to_string(kSearchCap) + " зап.";
    state.hint = true;
  } else {
    state.text = std::to_string(rows) + " зап.";
  }
  if (similar) state.text += kSimilarMark;
  return state;
}

}  // namespace spravka
