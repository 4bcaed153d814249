#ifndef SPRAVKA_UI_SEARCH_PANEL_H_
#define SPRAVKA_UI_SEARCH_PANEL_H_

#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <vector>

#include "storage/base_header.h"
#include "storage/record_table.h"

namespace spravka {

// A detailed-search panel (Panel2 residential, Panel1 organisations): one
// label and one edit per field kind, named as the window names them
// (`HnumbLb`/`HnumbEd` ... `OraspLb`/`OraspEd`). Each base shows and
// places those its header gives places for.
class SearchPanel : public QWidget {
  Q_OBJECT

 public:
  SearchPanel(TableId table, QWidget* parent);

  TableId table() const { return table_; }
  int kinds() const { return static_cast<int>(edits_.size()); }
  QLineEdit* edit(int kind) const { return edits_[kind]; }
  QLabel* label(int kind) const { return labels_[kind]; }

  // Shows a kind's label and edit at the places of the header.
  void Place(int kind, const EditPlace& place);
  void HideAll();

  static constexpr int kHeight = 30;

 private:
  TableId table_;
  std::vector<QLabel*> labels_;
  std::vector<QLineEdit*> edits_;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_SEARCH_PANEL_H_
