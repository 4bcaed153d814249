#include "ui/result_grid.h"

#include <QPainter>
#include <QStyledItemDelegate>

#include "storage/record_key.h"
#include "ui/text_codec.h"

namespace spravka {
namespace {

const QString kMarkerText = QStringLiteral(". . . . .");
constexpr int kTextInset =
    2;  // text stands 2 pixels right of and below the corner

void DrawCellText(QPainter* p, const QRect& rect, const QString& text) {
  p->save();
  p->setClipRect(rect);
  const QRect area = rect.adjusted(kTextInset, kTextInset, 0, 0);
  p->drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
              FittedCellText(p->fontMetrics(), text, area.width()));
  p->restore();
}

// `TBDrawCell` for the data cells.
class CellPainter : public QStyledItemDelegate {
 public:
  explicit CellPainter(ResultGrid* grid)
      : QStyledItemDelegate(grid), grid_(grid) {}

  void paint(QPainter* p, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    bool highlighted = false;
    p->fillRect(option.rect, grid_->CellBackground(index, &highlighted));
    p->setPen(highlighted ? grid_->palette().color(QPalette::HighlightedText)
                          : QColor(Qt::black));
    DrawCellText(p, option.rect, index.data().toString());
  }

 private:
  ResultGrid* grid_;
};

// `TBDrawCell` for the caption row: grid colour, black text; the lines of
// the fixed cells always show.
class CaptionHeader : public QHeaderView {
 public:
  CaptionHeader(const GridColours* colours, QWidget* parent)
      : QHeaderView(Qt::Horizontal, parent), colours_(colours) {}

 protected:
  void paintSection(QPainter* p, const QRect& rect,
                    int section) const override {
    p->fillRect(rect, colours_->grid);
    p->setPen(palette().color(QPalette::Dark));
    p->drawLine(rect.topRight(), rect.bottomRight());
    p->drawLine(rect.bottomLeft(), rect.bottomRight());
    p->setPen(Qt::black);
    DrawCellText(p, rect,
                 model()->headerData(section, Qt::Horizontal).toString());
  }

 private:
  const GridColours* colours_;
};

}  // namespace

QString FittedCellText(const QFontMetrics& metrics, const QString& text,
                       int width) {
  return metrics.elidedText(text, Qt::ElideRight, width);
}

void ResultModel::SetColumns(int field_count, const QStringList& captions) {
  beginResetModel();
  field_count_ = field_count;
  captions_ = captions;
  result_ = SearchResult();
  endResetModel();
}

void ResultModel::SetResult(const SearchResult& result) {
  beginResetModel();
  result_ = result;
  endResetModel();
}

int ResultModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return static_cast<int>(result_.rows.size()) + (result_.capped ? 1 : 0);
}

int ResultModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : field_count_ + 1;
}

QVariant ResultModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  const size_t row = static_cast<size_t>(index.row());
  if (row >= result_.rows.size()) return kMarkerText;
  const ResultRow& r = result_.rows[row];
  if (index.column() == 0) {
    return QString::fromStdString(RecordKey(static_cast<int64_t>(r.position)));
  }
  return FromCp1251(r.Field(index.column()));
}

QVariant ResultModel::headerData(int section, Qt::Orientation orientation,
                                 int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  return section < captions_.size() ? captions_[section] : QString();
}

ResultGrid::ResultGrid(const QString& name, const GridColours* colours,
                       const HeaderGeometry& geometry, QWidget* parent)
    : QTableView(parent),
      colours_(colours),
      geometry_(geometry),
      model_(new ResultModel(this)) {
  const int row_height = geometry_.ToScreen(kRowHeight);
  setObjectName(name);
  setModel(model_);
  setHorizontalHeader(new CaptionHeader(colours, this));
  setItemDelegate(new CellPainter(this));
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setMinimumSectionSize(0);
  horizontalHeader()->setFixedHeight(row_height);
  verticalHeader()->hide();
  verticalHeader()->setMinimumSectionSize(row_height);
  verticalHeader()->setDefaultSectionSize(row_height);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setFrameShape(QFrame::NoFrame);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setAutoFillBackground(true);
}

void ResultGrid::SetColumns(int field_count, const QStringList& captions,
                            const int32_t* widths) {
  model_->SetColumns(field_count, captions);
  setColumnHidden(0, true);  // the record position, never shown
  for (int c = 1; c <= field_count; ++c)
    setColumnWidth(c, geometry_.ToScreen(widths[c - 1]));
}

int ResultGrid::HeaderWidth(int c) const {
  return geometry_.ToHeader(columnWidth(c));
}

void ResultGrid::ApplyStripes() {
  setShowGrid(!colours_->stripes_on);
  QPalette p = palette();
  p.setColor(QPalette::Base, colours_->grid);
  p.setColor(QPalette::Window, colours_->grid);
  setPalette(p);
  viewport()->update();
  horizontalHeader()->viewport()->update();
}

QString ResultGrid::CellText(const QModelIndex& index) const {
  return index.isValid() ? model_->data(index, Qt::DisplayRole).toString()
                         : QString();
}

QColor ResultGrid::CellBackground(const QModelIndex& index,
                                  bool* highlighted) const {
  *highlighted = index == currentIndex() && hasFocus();
  if (*highlighted) return palette().color(QPalette::Highlight);
  // Grid rows 2, 4, ... are model rows 1, 3, ...: the caption row is row 0.
  if (colours_->stripes_on && index.row() % 2 == 1) return colours_->stripe;
  return colours_->grid;
}

}  // namespace spravka
