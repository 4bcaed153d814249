// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_APP_RULES_COUNT_LABEL_H_
#define SPRAVKA_APP_RULES_COUNT_LABEL_H_

#include <string>

namespace spravka {

inline constexpr char kCountHint[] = "Уточните параметры выборки";
// After the count of records that a search found only by letting each word
// hold a slip.
inline constexpr char kSimilarMark[] = " — похожие";

// What `UpdateCountLabel` shows for the active grid.
struct CountLabelState {
  std::string text;   // UTF-8
  bool hint = false;  // kCountHint on hover
};

// `rows`: the grid's data rows (the ". . . . ." row included) when the
// grid is visible, else 0. `similar`: they are similar records.
CountLabelState CountLabelFor(int rows, bool similar = false);

}  // namespace spravka

#endif  // SPRAVKA_APP_RULES_COUNT_LABEL_H_
