// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_RESULT_GRID_H_
#define SPRAVKA_UI_RESULT_GRID_H_

#include <QAbstractTableModel>
#include <QColor>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QTableView>
#include <optional>
#include <string>
#include <vector>

#include "app/rules/header_geometry.h"
#include "editing/edit_grid.h"
#include "search/search_result.h"

namespace spravka {

// The cells a result grid shows: per record row the record's position as
// `RecordKey` text (column 0) and its fields (columns 1..n), and the
// ". . . . ." row of a cut result. A search fills them; edits change them
// in place; a search that finds nothing leaves one row, as it was. Cells
// are Windows-1251, converted when shown. Model row r is grid row r + 1:
// the captions are the header.
class ResultModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Columns 0..field_count with these captions (caption 0 is empty).
  void SetColumns(int field_count, const QStringList& captions);
  void SetResult(const SearchResult& result);
  void SetEditable(bool editable) { editable_ = editable; }

  // Grid terms: row 0 the captions.
  std::string Cell(int column, int row) const;
  void SetCell(int column, int row, std::string_view text);
  void AddRow();
  void SetOneRow();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value,
               int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role) const override;

 private:
  int field_count_ = 0;
  QStringList captions_;
  std::vector<std::string> caption_bytes_;
  std::vector<std::vector<std::string>> rows_;
  bool editable_ = false;
};

// The colours the grids' cells are painted with, shared by both grids.
struct GridColours {
  QColor grid;
  QColor stripe;
  bool stripes_on = false;
};

// The text of a cell as drawn into `width` pixels: whole when it fits,
// else cut at the end with "…", never in the middle, so that a number that
// does not fit cannot be read as another number.
QString FittedCellText(const QFontMetrics& metrics, const QString& text,
                       int width);

// A result grid (residential or organisations). Column 0 is hidden, the caption
// row is the header, data rows are 18 header pixels high, and every cell is
// painted by the grid's own delegate. Typing into a cell opens its editor,
// which reports every change of its text; Enter ends the edit. The editing
// commands see the grid as an `EditGrid`.
class ResultGrid : public QTableView, public EditGrid {
  Q_OBJECT

 public:
  // `geometry` scales the header's pixel sizes to the interface font.
  ResultGrid(const QString& name, const GridColours* colours,
             const HeaderGeometry& geometry, QWidget* parent);

  ResultModel* result_model() const { return model_; }
  // Column counts and widths (header pixels) of a newly loaded base;
  // columns 1..n.
  void SetColumns(int field_count, const QStringList& captions,
                  const int32_t* widths);
  // The width of column `c` in header pixels, as a base stores it.
  int HeaderWidth(int c) const;
  // In-place editing, off for a read-only base.
  void SetEditable(bool editable);
  // Fills the grid from a search; the current cell stays where it was as
  // far as the new rows reach, and its text becomes the undo text.
  void ShowResult(const SearchResult& result);
  // Stripes hide the cell lines; without them the lines show.
  void ApplyStripes();

  // The text of a cell (model terms).
  QString CellText(const QModelIndex& index) const;
  // The colour a data cell is filled with, and whether its text is the
  // highlight text (for the focused cell).
  QColor CellBackground(const QModelIndex& index, bool* highlighted) const;
  // The cell under a point of the grid (its own coordinates) in grid terms:
  // row 0 for the caption row; false outside the cells.
  bool CellAt(QPoint point, int* column, int* row) const;
  // The last mouse press on the grid (its cells or its captions) in its own
  // coordinates; none once forgotten.
  const std::optional<QPoint>& last_press() const { return last_press_; }
  void ForgetPress() { last_press_.reset(); }
  // A model reset drops an open editor without closing it: the view's
  // state tells whether one is still open.
  bool EditorOpen() const {
    return editor_ != nullptr && state() == QAbstractItemView::EditingState;
  }

  // EditGrid.
  int RowCount() const override;
  std::string Cell(int column, int row) const override;
  void SetCell(int column, int row, std::string_view text) override;
  int Row() const override;
  int Col() const override;
  void SetCurrent(int column, int row) override;
  bool IsVisible() const override { return !isHidden(); }
  void AddRow() override;
  void ShowOneRow() override;
  void CloseEditor() override;
  // Tab or Shift+Tab in the cell editor: closes it and moves the focus to
  // the next (`next`) or previous control after the grid.
  void LeaveByTab(bool next);
  void TakeFocus() override { setFocus(); }
  std::string CellUndo() const override { return cell_undo_; }
  void RememberCurrentCell() override;

  static constexpr int kRowHeight = 18;  // header pixels

 signals:
  // The cell editor's text changed (grid terms; the cell holds it now).
  void cellTextEdited(int column, int row, const QString& text);
  // Esc in the open cell editor, before it closes.
  void escapePressed();
  // A left press on the caption of a column.
  void captionPressed(int column);
  // The context menu is asked for: by the right button (`by_mouse`, after
  // its press) or by the keyboard.
  void menuRequested(QPoint global, bool by_mouse);

 protected:
  void currentChanged(const QModelIndex& current,
                      const QModelIndex& previous) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEditor(QWidget* editor,
                   QAbstractItemDelegate::EndEditHint hint) override;

 private:
  friend class CellEditing;
  void EditorOpened(QLineEdit* editor, const QModelIndex& index);

  const GridColours* colours_;
  HeaderGeometry geometry_;
  ResultModel* model_;
  QPointer<QLineEdit> editor_;
  std::string cell_undo_;
  std::optional<QPoint> last_press_;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_RESULT_GRID_H_
