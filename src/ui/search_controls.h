// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_SEARCH_CONTROLS_H_
#define SPRAVKA_UI_SEARCH_CONTROLS_H_

#include <QObject>
#include <functional>
#include <string>

#include "app/base_session.h"
#include "app/rules/header_geometry.h"
#include "app/settings.h"
#include "search/search_engine.h"
#include "search/search_view.h"
#include "ui/result_pages.h"

class QAction;
class QLabel;
class QLineEdit;

namespace spravka {

// The search controls and the search engine that reads them: the detailed
// panel of each page, the universal line lying over the active page's
// panel, the mode switch in the pages' corner and the count of the tool
// bar ("Выбрано:"). It is the engine's SearchView. A change of any search
// text runs the search of its table; a double click on an edit empties it,
// one on the count empties the active page's search.
class SearchControls : public QObject, public SearchView {
  Q_OBJECT

 public:
  struct Parts {
    BaseSession* session = nullptr;
    ResultPages* pages = nullptr;
    QWidget* overlay = nullptr;    // holds the pages; the line lies over it
    QWidget* count_bar = nullptr;  // where the count stands
    HeaderGeometry geometry;
    // After every count: the actions follow the shown rows.
    std::function<void()> counted;
    // Where how searches compare is stored; defaults when none.
    SettingsStore* settings = nullptr;
  };
  explicit SearchControls(const Parts& parts);

  SearchEngine& engine() { return engine_; }
  // The count and its caption, for the tool bar.
  QWidget* count_panel() const { return count_panel_; }

  // SearchView.
  std::string EditText(TableId table, int kind) const override;
  void SetEditText(TableId table, int kind, const std::string& text) override;
  std::string UniversalText() const override;
  TableId ActivePage() const override;
  void SetActivePage(TableId page) override;
  void SearchStarted(TableId table) override;
  void SearchFinished(TableId table, const SearchResult& result) override;
  void SearchSettled(TableId table) override;
  void ProcessEvents() override;

  // The active page's data rows as shown: 0 while its grid is hidden.
  int ShownRows() const;
  // The count of the active page's shown rows.
  void UpdateCountLabel();
  // Universal or detailed (F12): the controls of the new mode, the focus in
  // its line, and the active page searched.
  void ToggleSearchMode();
  // Shows the controls of the engine's mode.
  void PresentMode();
  // The focus goes to the search line of the mode: the universal line, or
  // the number edit of the active page.
  void FocusRule();
  // Shows the edits the loaded base's header gives places for.
  void PlaceSearchFields();
  // The universal line over the active page's panel.
  void PlaceUniversalPanel();
  // Hides every field and empties every search text without searching:
  // the way out of a base.
  void ClearForLeaving();

  // How searches compare, read from the settings (both on by default):
  // "е" also finding "ё", and similar records when a search finds nothing.
  // A change is stored at once and the active page searched again.
  void SetYoSearch(bool on);
  void SetSimilarSearch(bool on);
  // The menu items that show and switch them.
  void TakeSearchItems(QAction* yo, QAction* similar);

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;

  void BuildUniversalPanel(QWidget* overlay);
  void BuildModeButtons();
  void BuildCount(QWidget* bar);
  void PageChanged();
  // A double click on the count: the search of the active page is emptied.
  void ClearSearchFromCount();
  // A double click on a cell: its text joins the search.
  void AddCellToSearch(TableId table);
  void ClearSearchEdits(TableId table);
  QLineEdit* edit(TableId table, int kind) const;

  BaseSession* session_;
  ResultPages* pages_;
  QWidget* overlay_;
  HeaderGeometry geometry_;
  std::function<void()> counted_;
  SearchEngine engine_;
  bool search_cursor_ = false;
  // The grid of each table (residential, organisations) had the focus when
  // its search began.
  bool grid_had_focus_[2] = {false, false};
  // Each grid shows similar records, found only with slips.
  bool similar_shown_[2] = {false, false};
  SettingsStore* settings_store_;

  QWidget* universal_panel_ = nullptr;
  QLineEdit* universal_edit_ = nullptr;
  QWidget* to_universal_panel_ = nullptr;
  QWidget* to_detailed_panel_ = nullptr;  // lies over the other
  QWidget* count_panel_ = nullptr;
  QLabel* count_caption_ = nullptr;
  QLabel* count_label_ = nullptr;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_SEARCH_CONTROLS_H_
