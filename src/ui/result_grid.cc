// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/result_grid.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

#include "platform/text_codec.h"
#include "storage/record_key.h"

namespace spravka {
namespace {

constexpr char kMarkerCell[] = ". . . . .";
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

// The painting of the caption row: grid colour, black text; the lines of
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

// The painting of the data cells, and the cell editor: a line edit whose
// every change goes into the cell and out to the editing commands at once.
class CellEditing : public QStyledItemDelegate {
 public:
  explicit CellEditing(ResultGrid* grid)
      : QStyledItemDelegate(grid), grid_(grid) {}

  void paint(QPainter* p, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    bool highlighted = false;
    p->fillRect(option.rect, grid_->CellBackground(index, &highlighted));
    p->setPen(highlighted ? grid_->palette().color(QPalette::HighlightedText)
                          : QColor(Qt::black));
    DrawCellText(p, option.rect, index.data().toString());
  }

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex& index) const override {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setValidator(new Cp1251Validator(editor));
    const QPersistentModelIndex cell(index);
    ResultGrid* grid = grid_;
    connect(editor, &QLineEdit::textEdited, grid,
            [grid, cell](const QString& text) {
              if (!cell.isValid()) return;
              grid->model()->setData(cell, text, Qt::EditRole);
              emit grid->cellTextEdited(cell.column(), cell.row() + 1, text);
            });
    grid_->EditorOpened(editor, index);
    return editor;
  }

  // Every keystroke is in the cell already.
  void setModelData(QWidget*, QAbstractItemModel*,
                    const QModelIndex&) const override {}

 protected:
  bool eventFilter(QObject* editor, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Escape) emit grid_->escapePressed();
      // Tab leaves the grid from its cell editor as from the grid itself;
      // the edit is in the record already.
      const bool tab =
          key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
      if (tab &&
          !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        grid_->LeaveByTab(key->key() == Qt::Key_Tab &&
                          !(key->modifiers() & Qt::ShiftModifier));
        return true;
      }
    }
    return QStyledItemDelegate::eventFilter(editor, event);
  }

 private:
  ResultGrid* grid_;
};

QString FittedCellText(const QFontMetrics& metrics, const QString& text,
                       int width) {
  return metrics.elidedText(text, Qt::ElideRight, width);
}

void ResultModel::SetColumns(int field_count, const QStringList& captions) {
  beginResetModel();
  field_count_ = field_count;
  captions_ = captions;
  caption_bytes_.clear();
  for (const QString& caption : captions_)
    caption_bytes_.push_back(ToCp1251(caption));
  rows_.clear();
  endResetModel();
}

void ResultModel::SetResult(const SearchResult& result) {
  beginResetModel();
  if (result.rows.empty()) {
    // A grid keeps its caption row and one row, which holds what it held
    // before (the grid is hidden then).
    rows_.resize(
        1, std::vector<std::string>(static_cast<size_t>(field_count_) + 1));
    endResetModel();
    return;
  }
  rows_.clear();
  rows_.reserve(result.rows.size() + 1);
  for (const ResultRow& r : result.rows) {
    std::vector<std::string> cells(static_cast<size_t>(field_count_) + 1);
    cells[0] = RecordKey(static_cast<int64_t>(r.position));
    for (int c = 1; c <= field_count_; ++c) cells[c] = std::string(r.Field(c));
    rows_.push_back(std::move(cells));
  }
  if (result.capped) {
    rows_.emplace_back(static_cast<size_t>(field_count_) + 1, kMarkerCell);
  }
  endResetModel();
}

std::string ResultModel::Cell(int column, int row) const {
  if (column < 0 || column > field_count_) return {};
  if (row == 0) {
    return static_cast<size_t>(column) < caption_bytes_.size()
               ? caption_bytes_[column]
               : std::string();
  }
  if (row < 1 || static_cast<size_t>(row) > rows_.size()) return {};
  return rows_[row - 1][column];
}

void ResultModel::SetCell(int column, int row, std::string_view text) {
  if (column < 0 || column > field_count_ || row < 1 ||
      static_cast<size_t>(row) > rows_.size()) {
    return;
  }
  rows_[row - 1][column] = std::string(text);
  // Column 0 is never shown: a position that moves repaints nothing.
  if (column > 0) {
    const QModelIndex cell = index(row - 1, column);
    emit dataChanged(cell, cell);
  }
}

void ResultModel::AddRow() {
  const int row = static_cast<int>(rows_.size());
  beginInsertRows({}, row, row);
  rows_.emplace_back(static_cast<size_t>(field_count_) + 1);
  endInsertRows();
}

void ResultModel::SetOneRow() {
  beginResetModel();
  rows_.assign(1,
               std::vector<std::string>(static_cast<size_t>(field_count_) + 1));
  endResetModel();
}

int ResultModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ResultModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : field_count_ + 1;
}

QVariant ResultModel::data(const QModelIndex& index, int role) const {
  if ((role != Qt::DisplayRole && role != Qt::EditRole) || !index.isValid()) {
    return {};
  }
  return FromCp1251(rows_[index.row()][index.column()]);
}

bool ResultModel::setData(const QModelIndex& index, const QVariant& value,
                          int role) {
  if (role != Qt::EditRole || !index.isValid()) return false;
  SetCell(index.column(), index.row() + 1, ToCp1251(value.toString()));
  return true;
}

Qt::ItemFlags ResultModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (editable_ && index.isValid() && index.column() > 0) {
    flags |= Qt::ItemIsEditable;
  }
  return flags;
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
  setItemDelegate(new CellEditing(this));
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setMinimumSectionSize(0);
  horizontalHeader()->setFixedHeight(row_height);
  horizontalHeader()->viewport()->installEventFilter(this);
  // A press on a caption only sorts: the table view's own selection of the
  // column, which moves the current cell, is taken off the header.
  disconnect(horizontalHeader(), SIGNAL(sectionPressed(int)), this, nullptr);
  disconnect(horizontalHeader(), SIGNAL(sectionEntered(int)), this, nullptr);
  connect(horizontalHeader(), &QHeaderView::sectionPressed, this,
          [this](int column) { emit captionPressed(column); });
  verticalHeader()->hide();
  verticalHeader()->setMinimumSectionSize(row_height);
  verticalHeader()->setDefaultSectionSize(row_height);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  SetEditable(false);
  // Tab and Shift+Tab go to the next and previous control; the arrows move
  // between cells.
  setTabKeyNavigation(false);
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

void ResultGrid::SetEditable(bool editable) {
  CloseEditor();
  model_->SetEditable(editable);
  // Typing replaces a cell's text; F2 or a click on the current cell edits
  // it. A double-click belongs to the search.
  setEditTriggers(editable ? QAbstractItemView::AnyKeyPressed |
                                 QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::SelectedClicked
                           : QAbstractItemView::NoEditTriggers);
}

void ResultGrid::ShowResult(const SearchResult& result) {
  CloseEditor();
  const int column = std::max(Col(), 1);
  model_->SetResult(result);
  // A search starts over from the first row, in the column the user was in,
  // and shows its result from the top, wherever the last one was scrolled.
  if (model_->rowCount() > 0) {
    QSignalBlocker quiet(selectionModel());
    setCurrentIndex(model_->index(0, column));
  }
  verticalScrollBar()->setValue(0);
  RememberCurrentCell();
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

bool ResultGrid::CellAt(QPoint point, int* column, int* row) const {
  const QHeaderView* header = horizontalHeader();
  if (header->geometry().contains(point)) {
    *row = 0;
    *column = header->logicalIndexAt(point.x() - header->x());
    return *column >= 0;
  }
  const QModelIndex index = indexAt(point - viewport()->pos());
  if (!index.isValid()) return false;
  *row = index.row() + 1;
  *column = index.column();
  return true;
}

int ResultGrid::RowCount() const { return model_->rowCount() + 1; }

std::string ResultGrid::Cell(int column, int row) const {
  return model_->Cell(column, row);
}

void ResultGrid::SetCell(int column, int row, std::string_view text) {
  model_->SetCell(column, row, text);
}

int ResultGrid::Row() const {
  return currentIndex().isValid() ? currentIndex().row() + 1 : 0;
}

int ResultGrid::Col() const {
  return currentIndex().isValid() ? currentIndex().column() : 0;
}

void ResultGrid::SetCurrent(int column, int row) {
  if (row < 1 || row >= RowCount()) return;
  setCurrentIndex(model_->index(row - 1, column));
  scrollTo(currentIndex());
}

void ResultGrid::AddRow() { model_->AddRow(); }

void ResultGrid::ShowOneRow() {
  model_->SetOneRow();
  show();
}

void ResultGrid::CloseEditor() {
  if (EditorOpen()) closeEditor(editor_, QAbstractItemDelegate::NoHint);
  editor_ = nullptr;
}

void ResultGrid::LeaveByTab(bool next) {
  CloseEditor();
  focusNextPrevChild(next);
}

void ResultGrid::closeEditor(QWidget* editor,
                             QAbstractItemDelegate::EndEditHint hint) {
  if (editor == editor_) editor_ = nullptr;
  QTableView::closeEditor(editor, hint);
}

void ResultGrid::RememberCurrentCell() { cell_undo_ = Cell(Col(), Row()); }

void ResultGrid::EditorOpened(QLineEdit* editor, const QModelIndex&) {
  editor_ = editor;
  connect(editor, &QObject::destroyed, this, [this, editor] {
    if (editor_ == editor) editor_ = nullptr;
  });
}

// A cell becomes current.
void ResultGrid::currentChanged(const QModelIndex& current,
                                const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  RememberCurrentCell();
}

// A press in the cells; the caption row's
// presses come through the event filter.
void ResultGrid::mousePressEvent(QMouseEvent* event) {
  last_press_ = viewport()->mapTo(this, event->position().toPoint());
  QTableView::mousePressEvent(event);
}

void ResultGrid::contextMenuEvent(QContextMenuEvent* event) {
  QPoint at = event->globalPos();
  const bool by_mouse = event->reason() != QContextMenuEvent::Keyboard;
  if (!by_mouse) {
    at = viewport()->mapToGlobal(visualRect(currentIndex()).center());
  }
  emit menuRequested(at, by_mouse);
  event->accept();
}

bool ResultGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == horizontalHeader()->viewport()) {
    if (event->type() == QEvent::MouseButtonPress) {
      const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
      last_press_ = horizontalHeader()->viewport()->mapTo(this, at);
    } else if (event->type() == QEvent::ContextMenu) {
      auto* menu = static_cast<QContextMenuEvent*>(event);
      emit menuRequested(menu->globalPos(),
                         menu->reason() != QContextMenuEvent::Keyboard);
      return true;
    }
  }
  return QTableView::eventFilter(watched, event);
}

}  // namespace spravka
