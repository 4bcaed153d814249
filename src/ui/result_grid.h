#ifndef SPRAVKA_UI_RESULT_GRID_H_
#define SPRAVKA_UI_RESULT_GRID_H_

#include <QAbstractTableModel>
#include <QColor>
#include <QHeaderView>
#include <QStringList>
#include <QTableView>

#include "app/header_geometry.h"
#include "search/search_result.h"

namespace spravka {

// The rows of one search result: column 0 the record's position as
// `RecordKey` text, columns 1..n its fields, and the ". . . . ." row when
// the result was cut. Texts are converted from Windows-1251 when shown.
class ResultModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Columns 0..field_count with these captions (caption 0 is empty).
  void SetColumns(int field_count, const QStringList& captions);
  void SetResult(const SearchResult& result);
  const SearchResult& result() const { return result_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role) const override;

 private:
  int field_count_ = 0;
  QStringList captions_;
  SearchResult result_;
};

// The colours `TBDrawCell` paints with, shared by both grids.
// The text of a cell as drawn into `width` pixels: whole when it fits,
// else cut at the end with "…", never in the middle, so that a number that
// does not fit cannot be read as another number.
QString FittedCellText(const QFontMetrics& metrics, const QString& text,
                       int width);

struct GridColours {
  QColor grid;    // `GridColor`
  QColor stripe;  // `StripeColor`
  bool stripes_on = false;
};

// `HomeTB` / `OrgTb`: a result grid. Column 0 is hidden, the caption row is
// the header, data rows are 18 header pixels high, and every cell is painted
// by `TBDrawCell`.
class ResultGrid : public QTableView {
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
  // Stripes hide the cell lines; without them the lines show.
  void ApplyStripes();

  // The grid's current cell as `RecordKey` row and column (model terms).
  QString CellText(const QModelIndex& index) const;

  // The colour a data cell of model row `row` is filled with, and whether
  // its text is the highlight text (for the focused cell).
  QColor CellBackground(const QModelIndex& index, bool* highlighted) const;

  static constexpr int kRowHeight = 18;  // header pixels

 private:
  const GridColours* colours_;
  HeaderGeometry geometry_;
  ResultModel* model_;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_RESULT_GRID_H_
