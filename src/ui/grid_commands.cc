// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/grid_commands.h"

#include <QAction>
#include <QApplication>
#include <QCollator>
#include <algorithm>

#include "dialling/modem.h"
#include "editing/clipboard_text.h"
#include "editing/grid_sort.h"
#include "editing/record_editor.h"
#include "platform/text_codec.h"
#include "util/scope_exit.h"

namespace spravka {
namespace {

// Sort items compare as the text they are, in the Russian alphabet, letter
// case ignored, the same on every platform.
SortLess RussianOrder() {
  auto collator = std::make_shared<QCollator>(QLocale(QLocale::Russian));
  collator->setCaseSensitivity(Qt::CaseInsensitive);
  return [collator](const std::string& a, const std::string& b) {
    return collator->compare(FromCp1251(a), FromCp1251(b)) < 0;
  };
}

}  // namespace

GridCommands::GridCommands(const Parts& parts) : p_(parts) {
  QObject::connect(p_.add, &QAction::triggered, [this] { Add(); });
  QObject::connect(p_.remove, &QAction::triggered, [this] { Delete(); });
  QObject::connect(p_.copy_result, &QAction::triggered,
                   [this] { CopyResult(); });
  QObject::connect(p_.paste, &QAction::triggered, [this] { Paste(); });
  Connect(p_.home, TableId::kHome);
  Connect(p_.org, TableId::kOrg);
}

void GridCommands::Connect(ResultGrid* grid, TableId table) {
  QObject::connect(grid, &ResultGrid::cellTextEdited,
                   [this, table](int column, int row, const QString& text) {
                     CellEdited(table, column, row, text);
                   });
  QObject::connect(grid, &ResultGrid::escapePressed,
                   [this, table] { EscapePressed(table); });
  QObject::connect(
      grid, &ResultGrid::captionPressed,
      [this, table](int column) { CaptionPressed(table, column); });
}

bool GridCommands::HasFocus(TableId table) const {
  const QWidget* focus = QApplication::focusWidget();
  return focus != nullptr &&
         (focus == grid(table) || grid(table)->isAncestorOf(focus));
}

void GridCommands::SearchAgain(TableId table, bool grid_had_focus) {
  p_.engine->Run(table);
  if (grid_had_focus && grid(table)->IsVisible()) grid(table)->setFocus();
}

TableId GridCommands::ActiveTable() const { return p_.active_table(); }

ResultGrid* GridCommands::grid(TableId table) const {
  return table == TableId::kHome ? p_.home : p_.org;
}

void GridCommands::Changed(TableId table) {
  p_.engine->ClearSearchCache(table);
  p_.session->base().MarkModified();
}

void GridCommands::CellEdited(TableId table, int column, int row,
                              const QString& text) {
  RecordStore* store = p_.session->base().StoreForEdit();
  if (store != nullptr &&
      ApplyCellEdit(*store, table, *grid(table), column, row, ToCp1251(text))) {
    Changed(table);
  }
}

void GridCommands::EscapePressed(TableId table) {
  if (!grid(table)->EditorOpen()) return;
  RecordStore* store = p_.session->base().StoreForEdit();
  if (store != nullptr && RestoreCurrentCell(*store, table, *grid(table))) {
    Changed(table);
  }
}

void GridCommands::CaptionPressed(TableId table, int column) {
  if (table != ActiveTable()) return;
  SortGridByColumn(p_.session->base().store(), table, *grid(table), column,
                   RussianOrder());
}

void GridCommands::Add() {
  const TableId table = ActiveTable();
  ResultGrid* g = grid(table);
  const bool was_hidden = g->isHidden();
  RecordStore* store = p_.session->base().StoreForEdit();
  if (store == nullptr || !AddRecord(*store, table, *g)) return;
  if (was_hidden && p_.rows_shown) p_.rows_shown();
  Changed(table);
}

void GridCommands::Delete() {
  const TableId table = ActiveTable();
  ResultGrid* g = grid(table);
  const bool focused = HasFocus(table);
  const int row = g->Row();
  const int column = std::max(g->Col(), 1);
  if (p_.session->base().StoreForEdit() == nullptr ||
      !p_.boxes->Ask(DeleteQuestion(*g))) {
    return;
  }
  RecordStore* store = p_.session->base().StoreForEdit();
  if (store == nullptr || !DeleteCurrentRecord(*store, table, *g)) return;
  Changed(table);
  SearchAgain(table, focused);
  // The user goes on where they were: on the row that took the deleted
  // one's place, or on the new last row. (A grid still hidden is in the
  // middle of a search, which shows its own first row.)
  if (g->IsVisible()) g->SetCurrent(column, std::min(row, g->RowCount() - 1));
}

void GridCommands::CopyRow() {
  const TableId table = ActiveTable();
  const std::string text =
      RowCopyText(*grid(table), p_.session->base().store().FieldCount(table));
  if (!text.empty() && p_.clipboard) p_.clipboard->WriteText(text);
}

void GridCommands::CopyResult() {
  const TableId table = ActiveTable();
  const std::string text =
      GridCopyText(*grid(table), p_.session->base().store().FieldCount(table));
  if (!text.empty() && p_.clipboard) p_.clipboard->WriteText(text);
}

void GridCommands::Paste() {
  const std::string text = p_.clipboard ? p_.clipboard->ReadText() : "";
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ScopeExit normal_cursor([] { QApplication::restoreOverrideCursor(); });
  const TableId table = ActiveTable();
  RecordStore* store = p_.session->base().StoreForEdit();
  if (store == nullptr || !PasteRecords(*store, table, text)) return;
  Changed(table);
  SearchAgain(table, HasFocus(table));
}

void GridCommands::Dial() {
  ResultGrid* g = grid(ActiveTable());
  const std::string number = g->Cell(1, g->Row());
  if (!p_.serial_ports) return;
  DialCurrentRow(
      g->Row() > 0 ? std::optional<std::string_view>(number) : std::nullopt,
      *p_.serial_ports, *p_.boxes);
}

}  // namespace spravka
