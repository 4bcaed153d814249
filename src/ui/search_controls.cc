// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/search_controls.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStackedLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/rules/count_label.h"
#include "platform/text_codec.h"
#include "search/search_pattern.h"
#include "storage/column_maps.h"
#include "ui/icons.h"

namespace spravka {
namespace {

QFont Bold(QFont font) {
  font.setBold(true);
  return font;
}

// The count label's width, in header pixels.
constexpr int kCountLabelWidth = 110;

int Index(TableId table) { return table == TableId::kHome ? 0 : 1; }

}  // namespace

SearchControls::SearchControls(const Parts& parts)
    : QObject(parts.pages),
      session_(parts.session),
      pages_(parts.pages),
      overlay_(parts.overlay),
      geometry_(parts.geometry),
      counted_(parts.counted),
      engine_(&parts.session->base().store(), this),
      settings_store_(parts.settings) {
  for (TableId table : {TableId::kHome, TableId::kOrg}) {
    SearchPanel* panel = pages_->panel(table);
    panel->installEventFilter(this);
    panel->setEnabled(false);  // the window opens in the universal mode
    for (int kind = 0; kind < panel->kinds(); ++kind) {
      QLineEdit* e = panel->edit(kind);
      e->installEventFilter(this);
      connect(e, &QLineEdit::textChanged, this,
              [this, table] { engine_.Run(table); });
    }
    connect(pages_->grid(table), &QAbstractItemView::doubleClicked, this,
            [this, table] { AddCellToSearch(table); });
  }
  connect(pages_, &QTabWidget::currentChanged, this,
          &SearchControls::PageChanged);
  BuildCount(parts.count_bar);
  BuildUniversalPanel(parts.overlay);
  BuildModeButtons();
  // Laid out for the universal mode until a base brings the stored mode.
  engine_.SetUniversalMode(true);
  SearchSettings compare{.yo = true, .similar = true};
  if (settings_store_ != nullptr) {
    const Settings stored(settings_store_);
    compare = {.yo = stored.YoSearch(), .similar = stored.SimilarSearch()};
  }
  engine_.SetSettings(compare);
}

void SearchControls::SetYoSearch(bool on) {
  if (settings_store_ != nullptr) Settings(settings_store_).SetYoSearch(on);
  SearchSettings compare = engine_.settings();
  compare.yo = on;
  engine_.SetSettings(compare);
  engine_.Run(ActivePage());
}

void SearchControls::SetSimilarSearch(bool on) {
  if (settings_store_ != nullptr)
    Settings(settings_store_).SetSimilarSearch(on);
  SearchSettings compare = engine_.settings();
  compare.similar = on;
  engine_.SetSettings(compare);
  engine_.Run(ActivePage());
}

void SearchControls::TakeSearchItems(QAction* yo, QAction* similar) {
  yo->setChecked(engine_.settings().yo);
  similar->setChecked(engine_.settings().similar);
  connect(yo, &QAction::triggered, this, &SearchControls::SetYoSearch);
  connect(similar, &QAction::triggered, this,
          &SearchControls::SetSimilarSearch);
}

void SearchControls::BuildCount(QWidget* bar) {
  count_panel_ = new QWidget(bar);
  auto* column = new QVBoxLayout(count_panel_);
  column->setContentsMargins(4, 0, 8, 0);
  column->setSpacing(0);
  count_caption_ = new QLabel(QStringLiteral("Выбрано:"), count_panel_);
  count_caption_->setObjectName(QStringLiteral("countCaption"));
  count_caption_->setAlignment(Qt::AlignCenter);
  count_label_ = new QLabel(count_panel_);
  count_label_->setObjectName(QStringLiteral("countLabel"));
  count_label_->setAlignment(Qt::AlignCenter);
  count_label_->setFont(Bold(count_label_->font()));
  count_label_->setMinimumWidth(geometry_.ToScreen(kCountLabelWidth));
  QPalette black = count_label_->palette();
  black.setColor(QPalette::WindowText, Qt::black);
  black.setColor(QPalette::ButtonText, Qt::black);
  count_label_->setPalette(black);
  column->addWidget(count_caption_);
  column->addWidget(count_label_);
  count_caption_->installEventFilter(this);
  count_label_->installEventFilter(this);
}

void SearchControls::BuildUniversalPanel(QWidget* overlay) {
  universal_panel_ = new QWidget(overlay);
  universal_panel_->setObjectName(QStringLiteral("universalPanel"));
  universal_panel_->setAutoFillBackground(true);
  auto* row = new QHBoxLayout(universal_panel_);
  row->setContentsMargins(3, 4, 6, 4);
  auto* label =
      new QLabel(QStringLiteral("Универсальный поиск"), universal_panel_);
  label->setObjectName(QStringLiteral("universalCaption"));
  universal_edit_ = new QLineEdit(universal_panel_);
  universal_edit_->setObjectName(QStringLiteral("universalEdit"));
  universal_edit_->setToolTip(QStringLiteral(
      "Введите набор ключевых слов по любым полям. Учитывается порядок "
      "следования. Разделитель пробел."));
  universal_edit_->setValidator(new Cp1251Validator(universal_edit_));
  universal_edit_->installEventFilter(this);
  connect(universal_edit_, &QLineEdit::textChanged, this,
          [this] { engine_.Run(ActivePage()); });
  row->addWidget(label);
  row->addWidget(universal_edit_, 1);
  universal_panel_->raise();
}

void SearchControls::BuildModeButtons() {
  // The button to the detailed mode lies over the one to the universal mode.
  auto* mode_buttons = new QWidget(pages_);
  mode_buttons->setObjectName(QStringLiteral("modeButtons"));
  struct Button {
    QWidget** panel;
    const char* panel_name;
    const char* button_name;
    const char* hint;
    Picture icon;
  };
  const Button buttons[] = {
      {&to_universal_panel_, "toUniversalPanel", "toUniversalButton",
       "Переход в универсальный режим поиска (F12)", Picture::kUniversalMode},
      {&to_detailed_panel_, "toDetailedPanel", "toDetailedButton",
       "Переход в детальный режим поиска (F12)", Picture::kDetailedMode},
  };
  auto* stack = new QStackedLayout(mode_buttons);
  stack->setStackingMode(QStackedLayout::StackAll);
  for (const Button& b : buttons) {
    auto* panel = new QWidget(mode_buttons);
    panel->setObjectName(QLatin1String(b.panel_name));
    panel->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    auto* button = new QToolButton(panel);
    button->setObjectName(QLatin1String(b.button_name));
    button->setToolTip(QString::fromUtf8(b.hint));
    button->setIcon(DrawnIcon(b.icon));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    row->addWidget(button);
    connect(button, &QToolButton::clicked, this,
            &SearchControls::ToggleSearchMode);
    stack->addWidget(panel);
    *b.panel = panel;
  }
  stack->setCurrentWidget(to_detailed_panel_);  // on top while it is shown
  pages_->setCornerWidget(mode_buttons, Qt::BottomRightCorner);
}

QLineEdit* SearchControls::edit(TableId table, int kind) const {
  return pages_->panel(table)->edit(kind);
}

std::string SearchControls::EditText(TableId table, int kind) const {
  if (kind < 0 || kind >= pages_->panel(table)->kinds()) return {};
  return ToCp1251(edit(table, kind)->text());
}

void SearchControls::SetEditText(TableId table, int kind,
                                 const std::string& text) {
  if (kind < 0 || kind >= pages_->panel(table)->kinds()) return;
  QLineEdit* e = edit(table, kind);
  QString value = FromCp1251(text);
  if (e->text() != value) e->setText(value);  // the change runs the search
}

std::string SearchControls::UniversalText() const {
  return ToCp1251(universal_edit_->text());
}

TableId SearchControls::ActivePage() const { return pages_->active(); }

void SearchControls::SetActivePage(TableId page) {
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

void SearchControls::SearchStarted(TableId table) {
  const QWidget* focus = QApplication::focusWidget();
  ResultGrid* g = pages_->grid(table);
  if (focus != nullptr && (focus == g || g->isAncestorOf(focus)))
    grid_had_focus_[Index(table)] = true;
  g->hide();
  if (!search_cursor_) QApplication::setOverrideCursor(Qt::WaitCursor);
  search_cursor_ = true;
}

void SearchControls::SearchFinished(TableId table, const SearchResult& result) {
  ResultGrid* g = pages_->grid(table);
  g->ShowResult(result);
  g->setVisible(result.count() > 0);
  similar_shown_[Index(table)] = result.similar;
  if (search_cursor_) QApplication::restoreOverrideCursor();
  search_cursor_ = false;
}

void SearchControls::SearchSettled(TableId table) {
  UpdateCountLabel();
  // A grid that had the focus and stays hidden hands it to the search line
  // the user goes on with, not to whatever control comes next.
  bool& had_focus = grid_had_focus_[Index(table)];
  if (had_focus && pages_->grid(table)->isHidden()) FocusRule();
  had_focus = false;
}

void SearchControls::ProcessEvents() { QCoreApplication::processEvents(); }

int SearchControls::ShownRows() const {
  const ResultGrid* g = pages_->grid(ActivePage());
  return g->isHidden() ? 0 : g->result_model()->rowCount();
}

void SearchControls::UpdateCountLabel() {
  CountLabelState state =
      CountLabelFor(ShownRows(), similar_shown_[Index(ActivePage())]);
  count_label_->setText(QString::fromStdString(state.text));
  count_label_->setToolTip(state.hint ? QString::fromUtf8(kCountHint)
                                      : QString());
  if (counted_) counted_();
}

void SearchControls::FocusRule() {
  if (engine_.universal_mode()) {
    universal_edit_->setFocus();
  } else {
    edit(ActivePage(), 0)->setFocus();
  }
}

void SearchControls::ToggleSearchMode() {
  engine_.SetUniversalMode(!engine_.universal_mode());
  PresentMode();
  FocusRule();
  engine_.Run(ActivePage());
}

void SearchControls::PresentMode() {
  const bool universal = engine_.universal_mode();
  pages_->panel(TableId::kHome)->setEnabled(!universal);
  pages_->panel(TableId::kOrg)->setEnabled(!universal);
  universal_panel_->setVisible(universal);
  to_detailed_panel_->setVisible(universal);
  if (universal) PlaceUniversalPanel();
}

void SearchControls::PageChanged() {
  PlaceUniversalPanel();
  UpdateCountLabel();
  engine_.Run(ActivePage());
  FocusRule();
}

void SearchControls::PlaceSearchFields() {
  const BaseHeader& h = session_->base().store().header;
  const ColumnMaps& maps = session_->base().store().maps;
  for (int k = 0; k < kHomeKinds; ++k) {
    if (maps.HomeFieldColumn[k] != 0)
      pages_->panel(TableId::kHome)->Place(k, h.HomeEditPlaces[k]);
  }
  for (int k = 0; k < kOrgKinds; ++k) {
    if (maps.OrgFieldColumn[k] != 0)
      pages_->panel(TableId::kOrg)->Place(k, h.OrgEditPlaces[k]);
  }
}

void SearchControls::PlaceUniversalPanel() {
  SearchPanel* shown = pages_->panel(ActivePage());
  QRect area(shown->mapTo(overlay_, QPoint(0, 0)), shown->size());
  universal_panel_->setGeometry(area);
  universal_panel_->raise();
}

void SearchControls::ClearSearchEdits(TableId table) {
  SearchPanel* p = pages_->panel(table);
  for (int kind = 0; kind < p->kinds(); ++kind) p->edit(kind)->clear();
}

void SearchControls::ClearForLeaving() {
  pages_->panel(TableId::kHome)->HideAll();
  pages_->panel(TableId::kOrg)->HideAll();
  SearchMute mute(&engine_);
  ClearSearchEdits(TableId::kHome);
  ClearSearchEdits(TableId::kOrg);
  universal_edit_->clear();
}

void SearchControls::ClearSearchFromCount() {
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

void SearchControls::AddCellToSearch(TableId table) {
  ResultGrid* g = pages_->grid(table);
  const QModelIndex current = g->currentIndex();
  if (!current.isValid()) return;
  const QString text = g->CellText(current);
  if (engine_.universal_mode()) {
    const QString line = universal_edit_->text();
    universal_edit_->setText(line.isEmpty() ? text
                                            : line + QLatin1Char(' ') + text);
    return;
  }
  const ColumnMaps& maps = session_->base().store().maps;
  if (IsFullNumber(EditText(table, 0),
                   session_->base().store().header.NumberLength)) {
    SearchMute mute(&engine_);
    edit(table, 0)->clear();
  }
  const int c = current.column();
  const bool home = table == TableId::kHome;
  if (c < 1 || c > session_->base().store().FieldCount(table)) return;
  const int kind = home ? maps.HomeColumnField[c] : maps.OrgColumnField[c];
  const int column =
      home ? maps.HomeFieldColumn[kind] : maps.OrgFieldColumn[kind];
  if (column == c)
    edit(table, kind)->setText(text);  // the change runs the search
}

bool SearchControls::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == count_label_ || watched == count_caption_) {
    if (type == QEvent::Enter || type == QEvent::Leave) {
      // The count lights up under the mouse. In the tool bar the style
      // paints label text in the button-text colour, elsewhere in the
      // window-text colour: both change.
      const QColor colour = type == QEvent::Enter ? Qt::blue : Qt::black;
      QPalette p = count_label_->palette();
      p.setColor(QPalette::WindowText, colour);
      p.setColor(QPalette::ButtonText, colour);
      count_label_->setPalette(p);
    } else if (type == QEvent::MouseButtonDblClick) {
      ClearSearchFromCount();
      return true;
    }
    return false;
  }
  if (type == QEvent::MouseButtonDblClick) {
    // A double click on a search edit or the universal line empties it,
    // which runs its search when it held text.
    if (auto* e = qobject_cast<QLineEdit*>(watched); e != nullptr) {
      e->clear();
      return true;
    }
  }
  if (qobject_cast<SearchPanel*>(watched) != nullptr &&
      (type == QEvent::Resize || type == QEvent::Move ||
       type == QEvent::Show)) {
    PlaceUniversalPanel();
  }
  return false;
}

}  // namespace spravka
