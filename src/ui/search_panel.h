// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_SEARCH_PANEL_H_
#define SPRAVKA_UI_SEARCH_PANEL_H_

#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <vector>

#include "app/rules/header_geometry.h"
#include "storage/base_header.h"
#include "storage/record_table.h"

namespace spravka {

// A detailed-search panel (residential or organisations): one label and
// one edit per field kind, named after the table and the kind
// ("homeNumberLabel"/"homeNumberEdit" ... "orgDistrictEdit"). Each base
// shows and places those its header gives places for.
class SearchPanel : public QWidget {
  Q_OBJECT

 public:
  // Places come in header pixels; `geometry` scales them to the font.
  SearchPanel(TableId table, const HeaderGeometry& geometry, QWidget* parent);

  TableId table() const { return table_; }
  int kinds() const { return static_cast<int>(edits_.size()); }
  QLineEdit* edit(int kind) const { return edits_[kind]; }
  QLabel* label(int kind) const { return labels_[kind]; }

  // Shows a kind's label and edit at the place the header gives.
  void Place(int kind, const EditPlace& place);
  void HideAll();

  // Header pixels, laid out with the edit places.
  static constexpr int kHeight = 30;
  static constexpr int kEditTop = 4;
  static constexpr int kEditHeight = 22;

 private:
  TableId table_;
  HeaderGeometry geometry_;
  std::vector<QLabel*> labels_;
  std::vector<QLineEdit*> edits_;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_SEARCH_PANEL_H_
