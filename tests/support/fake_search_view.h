// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_TESTS_SUPPORT_FAKE_SEARCH_VIEW_H_
#define SPRAVKA_TESTS_SUPPORT_FAKE_SEARCH_VIEW_H_

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "search/search_engine.h"
#include "search/search_view.h"

namespace spravka::testing {

// The window as the engine sees it, behaving like the real one: a real
// change of an edit runs its table's search (which returns at once while
// the engine is muted), setting the text an edit already holds runs nothing.
class FakeSearchView : public SearchView {
 public:
  SearchEngine* engine = nullptr;
  std::array<std::array<std::string, 8>, 2> edits;
  std::string full;
  TableId page = TableId::kHome;
  // Runs at the next ProcessEvents (once), as if the user acted then.
  std::function<void()> on_events;
  // Runs at the next SearchSettled (once).
  std::function<void()> on_settled;
  int events = 0;
  std::vector<std::string> log;       // "start home", "finish home 12", ...
  std::array<SearchResult, 2> shown;  // what each grid shows

  const SearchResult& result(TableId table) const {
    return shown[Index(table)];
  }

  std::string EditText(TableId table, int kind) const override {
    return edits[Index(table)][kind];
  }
  void SetEditText(TableId table, int kind, const std::string& text) override {
    std::string& edit = edits[Index(table)][kind];
    if (edit == text) return;
    edit = text;
    engine->Run(table);  // HChange / OChange
  }
  std::string UniversalText() const override { return full; }
  TableId ActivePage() const override { return page; }
  void SetActivePage(TableId p) override { page = p; }
  void SearchStarted(TableId table) override {
    log.push_back("start " + Name(table));
  }
  void SearchFinished(TableId table, const SearchResult& result) override {
    shown[Index(table)] = result;
    log.push_back("finish " + Name(table) + " " +
                  std::to_string(result.count()) + (result.capped ? "+" : ""));
  }
  void SearchSettled(TableId table) override {
    log.push_back("settle " + Name(table));
    if (on_settled) {
      std::function<void()> act = std::move(on_settled);
      on_settled = nullptr;
      act();
    }
  }
  void ProcessEvents() override {
    ++events;
    if (on_events) {
      std::function<void()> act = std::move(on_events);
      on_events = nullptr;
      act();
    }
  }

  // The user selects the other page: PageChanged runs its search.
  void SelectPage(TableId p) {
    page = p;
    engine->Run(p);
  }

  // The user types into the universal line: its change runs the active
  // page's search.
  void TypeUniversal(const std::string& text) {
    if (full == text) return;
    full = text;
    engine->Run(page);
  }

 private:
  static int Index(TableId table) { return static_cast<int>(table); }
  static std::string Name(TableId table) {
    return table == TableId::kHome ? "home" : "org";
  }
};

}  // namespace spravka::testing

#endif  // SPRAVKA_TESTS_SUPPORT_FAKE_SEARCH_VIEW_H_
