// SPDX-License-Identifier: GPL-3.0-or-later
// The widgets of the main window and how they are laid out.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QStackedLayout>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/display_colours.h"
#include "platform/text_codec.h"
#include "ui/context_menu.h"
#include "ui/icons.h"
#include "ui/main_window.h"
#include "ui/search_panel.h"
#include "ui/town_box.h"

namespace spravka {
namespace {

QAction* MakeAction(QWidget* owner, const char* name, const QString& caption,
                    const QString& hint, const QKeySequence& shortcut = {}) {
  auto* action = new QAction(caption, owner);
  action->setObjectName(QLatin1String(name));
  action->setToolTip(hint);
  action->setStatusTip(hint);
  action->setShortcut(shortcut);
  owner->addAction(action);  // shortcuts work anywhere in the window
  return action;
}

QFont Bold(QFont font) {
  font.setBold(true);
  return font;
}

// Panel and label sizes of the window, in header pixels.
constexpr int kCountLabelWidth = 110;
// The residential tab's caption stands after this many blanks, which push
// it towards the middle of the tab bar.
constexpr int kResidentialTabBlanks = 47;

}  // namespace

void MainWindow::BuildActions() {
  exit_action_ = MakeAction(this, "exitAction", QStringLiteral("&Выход"),
                            QStringLiteral("Завершить работу с программой"),
                            QKeySequence(Qt::Key_F10));
  exit_action_->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  connect(exit_action_, &QAction::triggered, this, &QWidget::close);

  help_action_ = MakeAction(this, "helpAction", QStringLiteral("Информация"),
                            QStringLiteral("Информация"));
  help_action_->setIcon(DrawnIcon(Picture::kInformation));
  connect(help_action_, &QAction::triggered, this,
          &MainWindow::ShowInformation);

  add_action_ = MakeAction(this, "addAction", QStringLiteral("Добавить запись"),
                           QStringLiteral("Добавить запись в справочник"),
                           QKeySequence(Qt::CTRL | Qt::Key_Insert));
  add_action_->setIcon(DrawnIcon(Picture::kAdd));
  delete_action_ =
      MakeAction(this, "deleteAction", QStringLiteral("Удалить запись"),
                 QStringLiteral("Удалить текущую строку из справочника"),
                 QKeySequence(Qt::CTRL | Qt::Key_Delete));
  delete_action_->setIcon(DrawnIcon(Picture::kDelete));

  save_action_ =
      MakeAction(this, "saveAction", QStringLiteral("Сохранить изменения"),
                 QStringLiteral("Сохранить изменения"));
  save_action_->setIcon(DrawnIcon(Picture::kSave));

  save_widths_action_ =
      MakeAction(this, "saveWidthsAction",
                 QStringLiteral("Запомнить новую ширину столбцов"),
                 QStringLiteral("Вписать в базу ширину столбцов"));
  paste_action_ = MakeAction(
      this, "pasteAction", QStringLiteral("Вставить записи из буфера обмена"),
      QStringLiteral("Вставка в базу записей из буфера обмена Windows"));
  copy_result_action_ = MakeAction(
      this, "copyResultAction",
      QStringLiteral("Копировать результат выборки в буфер обмена"),
      QStringLiteral("Содержимое выборки помещаются в буфер обмена"));
  optimise_action_ = MakeAction(
      this, "optimiseAction", QStringLiteral("Оптимизировать базу"), QString());
  save_widths_action_->setIcon(DrawnIcon(Picture::kColumnWidths));
  paste_action_->setIcon(DrawnIcon(Picture::kPaste));
  copy_result_action_->setIcon(DrawnIcon(Picture::kCopyResult));
  optimise_action_->setIcon(DrawnIcon(Picture::kOptimise));
  // Nothing to act on until a base is loaded.
  for (QAction* a :
       {add_action_, delete_action_, save_action_, save_widths_action_,
        paste_action_, copy_result_action_, optimise_action_})
    a->setEnabled(false);
}

void MainWindow::BuildMenu() {
  ContextMenu::Parts parts;
  parts.session = &session_;
  parts.clipboard = ports_.clipboard;
  parts.serial_ports = ports_.serial_ports;
  parts.grids = grid_commands_.get();
  parts.base = base_commands_.get();
  parts.add = add_action_;
  parts.remove = delete_action_;
  parts.copy_result = copy_result_action_;
  parts.paste = paste_action_;
  parts.save = save_action_;
  parts.save_widths = save_widths_action_;
  parts.optimise = optimise_action_;
  parts.help = help_action_;
  context_menu_ = new ContextMenu(parts, this);
  stripes_item_ = context_menu_->stripes();
  connect(stripes_item_, &QAction::triggered, this,
          &MainWindow::ApplyStripesChoice);
}

void MainWindow::BuildToolBar() {
  tool_bar_ = new QToolBar(this);
  tool_bar_->setObjectName(QStringLiteral("toolBar"));
  tool_bar_->setMovable(false);
  tool_bar_->setFloatable(false);
  tool_bar_->toggleViewAction()->setVisible(false);
  addToolBar(Qt::TopToolBarArea, tool_bar_);

  menu_button_ = new QToolButton(tool_bar_);
  menu_button_->setObjectName(QStringLiteral("menuButton"));
  menu_button_->setText(QStringLiteral("Меню"));
  menu_button_->setToolTip(QStringLiteral("Меню"));
  menu_button_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  menu_button_->setMenu(context_menu_);
  menu_button_->setPopupMode(QToolButton::InstantPopup);
  context_menu_->WatchButton(menu_button_);
  tool_bar_->addWidget(menu_button_);
  tool_bar_->addAction(add_action_);
  tool_bar_->widgetForAction(add_action_)
      ->setObjectName(QStringLiteral("addButton"));
  tool_bar_->addAction(delete_action_);
  tool_bar_->widgetForAction(delete_action_)
      ->setObjectName(QStringLiteral("deleteButton"));
  tool_bar_->addSeparator();

  town_box_ = new TownBox(geometry_, tool_bar_);
  town_box_->installEventFilter(this);
  connect(town_box_, &QComboBox::currentIndexChanged, this,
          &MainWindow::TownChosen);
  tool_bar_->addWidget(town_box_);
  tool_bar_->addSeparator();
  tool_bar_->addAction(help_action_);
  tool_bar_->addAction(exit_action_);

  auto* spacer = new QWidget(tool_bar_);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  tool_bar_->addWidget(spacer);

  auto* counts = new QWidget(tool_bar_);
  auto* column = new QVBoxLayout(counts);
  column->setContentsMargins(4, 0, 8, 0);
  column->setSpacing(0);
  count_caption_ = new QLabel(QStringLiteral("Выбрано:"), counts);
  count_caption_->setObjectName(QStringLiteral("countCaption"));
  count_caption_->setAlignment(Qt::AlignCenter);
  count_label_ = new QLabel(counts);
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
  tool_bar_->addWidget(counts);
}

void MainWindow::BuildPages() {
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("centralPanel"));
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  setCentralWidget(central);

  pages_ = new QTabWidget(central);
  pages_->setObjectName(QStringLiteral("pages"));
  pages_->setTabPosition(QTabWidget::South);
  layout->addWidget(pages_);

  for (TableId table : {TableId::kHome, TableId::kOrg}) {
    const bool home = table == TableId::kHome;
    auto* sheet = new QWidget(pages_);
    sheet->setObjectName(home ? QStringLiteral("homeSheet")
                              : QStringLiteral("orgSheet"));
    auto* column = new QVBoxLayout(sheet);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* grid = new ResultGrid(
        home ? QStringLiteral("homeGrid") : QStringLiteral("orgGrid"),
        &colours_, geometry_, sheet);
    auto* panel = new SearchPanel(table, geometry_, sheet);
    // A hidden grid keeps its room, so the panel stays at the bottom.
    QSizePolicy keep = grid->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    grid->setSizePolicy(keep);
    column->addWidget(grid, 1);
    column->addWidget(panel);
    panel->installEventFilter(this);
    panel->setEnabled(false);  // the window opens in the universal mode
    for (int kind = 0; kind < panel->kinds(); ++kind) {
      QLineEdit* e = panel->edit(kind);
      e->installEventFilter(this);
      connect(e, &QLineEdit::textChanged, this,
              [this, table] { engine_.Run(table); });
    }
    connect(grid, &QAbstractItemView::doubleClicked, this,
            [this, table] { AddCellToSearch(table); });
    (home ? home_grid_ : org_grid_) = grid;
    (home ? home_panel_ : org_panel_) = panel;
    pages_->addTab(sheet,
                   home ? QString(kResidentialTabBlanks, QLatin1Char(' ')) +
                              QStringLiteral("Квартирные")
                        : QStringLiteral("Организации"));
  }
  connect(pages_, &QTabWidget::currentChanged, this, &MainWindow::PageChanged);
}

void MainWindow::BuildUniversalPanel() {
  universal_panel_ = new QWidget(centralWidget());
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

void MainWindow::BuildModeButtons() {
  // The button to the detailed mode lies over the one to the universal mode.
  mode_buttons_ = new QWidget(pages_);
  mode_buttons_->setObjectName(QStringLiteral("modeButtons"));
  struct Button {
    QWidget** panel;
    const char* panel_name;
    const char* button_name;
    const char* hint;
    QStyle::StandardPixmap icon;
  };
  const Button buttons[] = {
      {&to_universal_panel_, "toUniversalPanel", "toUniversalButton",
       "Переход в универсальный режим поиска (F12)",
       QStyle::SP_FileDialogListView},
      {&to_detailed_panel_, "toDetailedPanel", "toDetailedButton",
       "Переход в детальный режим поиска (F12)",
       QStyle::SP_FileDialogDetailedView},
  };
  auto* stack = new QStackedLayout(mode_buttons_);
  stack->setStackingMode(QStackedLayout::StackAll);
  for (const Button& b : buttons) {
    auto* panel = new QWidget(mode_buttons_);
    panel->setObjectName(QLatin1String(b.panel_name));
    panel->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    auto* button = new QToolButton(panel);
    button->setObjectName(QLatin1String(b.button_name));
    button->setToolTip(QString::fromUtf8(b.hint));
    button->setIcon(style()->standardIcon(b.icon));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    row->addWidget(button);
    connect(button, &QToolButton::clicked, this, &MainWindow::ToggleSearchMode);
    stack->addWidget(panel);
    *b.panel = panel;
  }
  stack->setCurrentWidget(to_detailed_panel_);  // on top while it is shown
  pages_->setCornerWidget(mode_buttons_, Qt::BottomRightCorner);
}

void MainWindow::PlaceUniversalPanel() {
  SearchPanel* shown = panel(ActivePage());
  QRect area(shown->mapTo(centralWidget(), QPoint(0, 0)), shown->size());
  universal_panel_->setGeometry(area);
  universal_panel_->raise();
}

SearchPanel* MainWindow::panel(TableId table) const {
  return table == TableId::kHome ? home_panel_ : org_panel_;
}

ResultGrid* MainWindow::grid(TableId table) const {
  return table == TableId::kHome ? home_grid_ : org_grid_;
}

QLineEdit* MainWindow::edit(TableId table, int kind) const {
  return panel(table)->edit(kind);
}

}  // namespace spravka
