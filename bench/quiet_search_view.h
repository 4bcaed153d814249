// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_BENCH_QUIET_SEARCH_VIEW_H_
#define SPRAVKA_BENCH_QUIET_SEARCH_VIEW_H_

#include <array>
#include <string>

#include "search/search_view.h"

namespace spravka {

// The search engine without a window: the controls are plain strings and
// nothing is drawn, so a benchmark times the core search alone.
class QuietSearchView : public SearchView {
 public:
  std::array<std::array<std::string, 8>, 2> edits;
  std::string full;

  std::string EditText(TableId t, int kind) const override {
    return edits[static_cast<int>(t)][kind];
  }
  void SetEditText(TableId t, int kind, const std::string& text) override {
    edits[static_cast<int>(t)][kind] = text;
  }
  std::string UniversalText() const override { return full; }
  TableId ActivePage() const override { return TableId::kHome; }
  void SetActivePage(TableId) override {}
  void SearchStarted(TableId) override {}
  void SearchFinished(TableId, const SearchResult&) override {}
  void SearchSettled(TableId) override {}
  void ProcessEvents() override {}
};

}  // namespace spravka

#endif  // SPRAVKA_BENCH_QUIET_SEARCH_VIEW_H_
