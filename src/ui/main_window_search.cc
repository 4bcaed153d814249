// SPDX-License-Identifier: GPL-3.0-or-later
// The search controls: the engine's view of the window, the search mode,
// the count label and the double-click shortcuts.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include "app/rules/count_label.h"
#include "platform/text_codec.h"
#include "search/search_pattern.h"
#include "storage/column_maps.h"
#include "ui/main_window.h"
#include "ui/search_panel.h"

namespace spravka {

std::string MainWindow::EditText(TableId table, int kind) const {
  if (kind < 0 || kind >= panel(table)->kinds()) return {};
  return ToCp1251(edit(table, kind)->text());
}

void MainWindow::SetEditText(TableId table, int kind, const std::string& text) {
  if (kind < 0 || kind >= panel(table)->kinds()) return;
  QLineEdit* e = edit(table, kind);
  QString value = FromCp1251(text);
  if (e->text() != value) e->setText(value);  // the change runs the search
}

std::string MainWindow::UniversalText() const {
  return ToCp1251(universal_edit_->text());
}

TableId MainWindow::ActivePage() const {
  return pages_->currentIndex() == 1 ? TableId::kOrg : TableId::kHome;
}

void MainWindow::SetActivePage(TableId page) {
  const int index = page == TableId::kHome ? 0 : 1;
  if (pages_->currentIndex() == index) return;
  // The focus on the page left behind would fall to a grid: it follows to
  // the page that became active, where the user goes on typing.
  const QWidget* focus = QApplication::focusWidget();
  const bool focus_on_page_left =
      focus != nullptr && pages_->currentWidget()->isAncestorOf(focus);
  {
    // A page made active by a search runs no page change.
    QSignalBlocker quiet(pages_);
    pages_->setCurrentIndex(index);
  }
  PlaceUniversalPanel();
  if (focus_on_page_left) FocusRule();
}

void MainWindow::SearchStarted(TableId table) {
  const QWidget* focus = QApplication::focusWidget();
  ResultGrid* g = grid(table);
  if (focus != nullptr && (focus == g || g->isAncestorOf(focus)))
    grid_had_focus_[table == TableId::kHome ? 0 : 1] = true;
  g->hide();
  if (!search_cursor_) QApplication::setOverrideCursor(Qt::WaitCursor);
  search_cursor_ = true;
}

void MainWindow::SearchFinished(TableId table, const SearchResult& result) {
  ResultGrid* g = grid(table);
  g->ShowResult(result);
  g->setVisible(result.count() > 0);
  if (search_cursor_) QApplication::restoreOverrideCursor();
  search_cursor_ = false;
}

void MainWindow::SearchSettled(TableId table) {
  UpdateCountLabel();
  // A grid that had the focus and stays hidden hands it to the search line
  // the user goes on with, not to whatever control comes next.
  bool& had_focus = grid_had_focus_[table == TableId::kHome ? 0 : 1];
  if (had_focus && grid(table)->isHidden()) FocusRule();
  had_focus = false;
}

void MainWindow::ProcessEvents() { QCoreApplication::processEvents(); }

void MainWindow::UpdateCountLabel() {
  ResultGrid* g = grid(ActivePage());
  const int rows = g->isHidden() ? 0 : g->result_model()->rowCount();
  CountLabelState state = CountLabelFor(rows, session_.base_read_only());
  count_label_->setText(QString::fromStdString(state.text));
  count_label_->setToolTip(state.hint ? QString::fromUtf8(kCountHint)
                                      : QString());
  delete_action_->setEnabled(state.delete_enabled);
}

void MainWindow::FocusRule() {
  if (engine_.universal_mode()) {
    universal_edit_->setFocus();
  } else {
    edit(ActivePage(), 0)->setFocus();
  }
}

void MainWindow::ToggleSearchMode() {
  engine_.SetUniversalMode(!engine_.universal_mode());
  PresentMode();
  FocusRule();
  engine_.Run(ActivePage());
}

void MainWindow::PageChanged() {
  PlaceUniversalPanel();
  UpdateCountLabel();
  engine_.Run(ActivePage());
  FocusRule();
}

void MainWindow::ClearSearchFromCount() {
  if (engine_.universal_mode()) {
    universal_edit_->clear();  // runs the search when there was text
    return;
  }
  const TableId table = ActivePage();
  {
    SearchMute mute(&engine_);
    ClearSearchEdits(table);
  }
  engine_.Run(table);
}

void MainWindow::AddCellToSearch(TableId table) {
  ResultGrid* g = grid(table);
  const QModelIndex current = g->currentIndex();
  if (!current.isValid()) return;
  const QString text = g->CellText(current);
  if (engine_.universal_mode()) {
    const QString line = universal_edit_->text();
    universal_edit_->setText(line.isEmpty() ? text
                                            : line + QLatin1Char(' ') + text);
    return;
  }
  const ColumnMaps& maps = session_.store().maps;
  if (IsFullNumber(EditText(table, 0), session_.store().header.NumberLength)) {
    SearchMute mute(&engine_);
    edit(table, 0)->clear();
  }
  const int c = current.column();
  const bool home = table == TableId::kHome;
  if (c < 1 || c > session_.store().FieldCount(table)) return;
  const int kind = home ? maps.HomeColumnField[c] : maps.OrgColumnField[c];
  const int column =
      home ? maps.HomeFieldColumn[kind] : maps.OrgFieldColumn[kind];
  if (column == c)
    edit(table, kind)->setText(text);  // the change runs the search
}

}  // namespace spravka
