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
#include <QProxyStyle>
#include <QStackedLayout>
#include <QStyle>
#include <QStyleFactory>
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

// Styles that show a combo box's list in place of the box (Fusion among
// them) ignore its number of visible entries and open it as tall as all
// entries together: this one keeps the list a drop-down with a scroll bar.
class DropDownListStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int styleHint(StyleHint hint, const QStyleOption* option,
                const QWidget* widget,
                QStyleHintReturn* answer) const override {
    if (hint == SH_ComboBox_Popup) return 0;
    return QProxyStyle::styleHint(hint, option, widget, answer);
  }
};

// Panel and label sizes of the window, in header pixels.
constexpr int kTownBoxWidth = 138;
constexpr int kCountLabelWidth = 110;
constexpr int kVisibleTowns = 25;
// The residential tab's caption stands after this many blanks, which push
// it towards the middle of the tab bar.
constexpr int kResidentialTabBlanks = 47;

}  // namespace

void MainWindow::BuildActions() {
  ac_exit_ = MakeAction(this, "AcExit", QStringLiteral("&Выход"),
                        QStringLiteral("Завершить работу с программой"),
                        QKeySequence(Qt::Key_F10));
  ac_exit_->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
  connect(ac_exit_, &QAction::triggered, this,
          &QWidget::close);  // `SpeedButton3Click`

  ac_help_ = MakeAction(this, "AcHelp", QStringLiteral("Информация"),
                        QStringLiteral("Информация"));
  ac_help_->setIcon(DrawnIcon(Picture::kInformation));
  connect(ac_help_, &QAction::triggered, this, &MainWindow::SpeedButton2Click);

  ac_add_ = MakeAction(this, "AcAdd", QStringLiteral("Добавить запись"),
                       QStringLiteral("Добавить запись в справочник"),
                       QKeySequence(Qt::CTRL | Qt::Key_Insert));
  ac_add_->setIcon(DrawnIcon(Picture::kAdd));
  ac_delete_ =
      MakeAction(this, "AcDelete", QStringLiteral("Удалить запись"),
                 QStringLiteral("Удалить текущую строку из справочника"),
                 QKeySequence(Qt::CTRL | Qt::Key_Delete));
  ac_delete_->setIcon(DrawnIcon(Picture::kDelete));

  ac_save_ = MakeAction(this, "AcSave", QStringLiteral("Сохранить изменения"),
                        QStringLiteral("Сохранить изменения"));
  ac_save_->setIcon(DrawnIcon(Picture::kSave));

  ac_save_wide_ = MakeAction(this, "AcSaveWide",
                             QStringLiteral("Запомнить новую ширину столбцов"),
                             QStringLiteral("Вписать в базу ширину столбцов"));
  ac_paste_ = MakeAction(
      this, "AcPaste", QStringLiteral("Вставить записи из буфера обмена"),
      QStringLiteral("Вставка в базу записей из буфера обмена Windows"));
  ac_copy_ = MakeAction(
      this, "AcCopy",
      QStringLiteral("Копировать результат выборки в буфер обмена"),
      QStringLiteral("Содержимое выборки помещаются в буфер обмена"));
  ac_optimize_ = MakeAction(this, "AcOptimize",
                            QStringLiteral("Оптимизировать базу"), QString());
  ac_save_wide_->setIcon(DrawnIcon(Picture::kColumnWidths));
  ac_paste_->setIcon(DrawnIcon(Picture::kPaste));
  ac_copy_->setIcon(DrawnIcon(Picture::kCopyResult));
  ac_optimize_->setIcon(DrawnIcon(Picture::kOptimise));
  // Nothing to act on until a base is loaded.
  for (QAction* a : {ac_add_, ac_delete_, ac_save_, ac_save_wide_, ac_paste_,
                     ac_copy_, ac_optimize_})
    a->setEnabled(false);
}

void MainWindow::BuildMenu() {
  ContextMenu::Parts parts;
  parts.session = &session_;
  parts.clipboard = ports_.clipboard;
  parts.serial_ports = ports_.serial_ports;
  parts.grids = grid_commands_.get();
  parts.base = base_commands_.get();
  parts.add = ac_add_;
  parts.remove = ac_delete_;
  parts.copy_result = ac_copy_;
  parts.paste = ac_paste_;
  parts.save = ac_save_;
  parts.save_widths = ac_save_wide_;
  parts.optimise = ac_optimize_;
  parts.help = ac_help_;
  popup_menu_ = new ContextMenu(parts, this);
  n11_ = popup_menu_->stripes();
  connect(n11_, &QAction::triggered, this, &MainWindow::N11Click);
}

void MainWindow::BuildToolBar() {
  tool_bar_ = new QToolBar(this);
  tool_bar_->setObjectName(QStringLiteral("ToolBar1"));
  tool_bar_->setMovable(false);
  tool_bar_->setFloatable(false);
  tool_bar_->toggleViewAction()->setVisible(false);
  addToolBar(Qt::TopToolBarArea, tool_bar_);

  menu_button_ = new QToolButton(tool_bar_);
  menu_button_->setObjectName(QStringLiteral("ToolButton3"));
  menu_button_->setText(QStringLiteral("Меню"));
  menu_button_->setToolTip(QStringLiteral("Меню"));
  menu_button_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  menu_button_->setMenu(popup_menu_);
  menu_button_->setPopupMode(QToolButton::InstantPopup);
  popup_menu_->WatchButton(menu_button_);
  tool_bar_->addWidget(menu_button_);
  tool_bar_->addAction(ac_add_);
  tool_bar_->widgetForAction(ac_add_)->setObjectName(
      QStringLiteral("ToolButton1"));
  tool_bar_->addAction(ac_delete_);
  tool_bar_->widgetForAction(ac_delete_)
      ->setObjectName(QStringLiteral("ToolButton2"));
  tool_bar_->addSeparator();

  town_box_ = new QComboBox(tool_bar_);
  town_box_->setObjectName(QStringLiteral("TownBox"));
  town_box_->setEditable(false);  // chosen from the entries, never typed
  auto* list_style = new DropDownListStyle(
      QStyleFactory::create(QApplication::style()->name()));
  list_style->setParent(town_box_);
  town_box_->setStyle(list_style);
  town_box_->setMaxVisibleItems(kVisibleTowns);
  town_box_->setFixedWidth(geometry_.ToScreen(kTownBoxWidth));
  town_box_->setFont(Bold(town_box_->font()));
  town_box_->setToolTip(QStringLiteral("Выбор города"));
  QPalette p = town_box_->palette();
  p.setColor(QPalette::Base, p.color(QPalette::Button));
  town_box_->setPalette(p);
  town_box_->installEventFilter(this);
  connect(town_box_, &QComboBox::currentIndexChanged, this,
          &MainWindow::TownBoxChange);
  tool_bar_->addWidget(town_box_);
  tool_bar_->addSeparator();
  tool_bar_->addAction(ac_help_);
  tool_bar_->addAction(ac_exit_);

  auto* spacer = new QWidget(tool_bar_);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  tool_bar_->addWidget(spacer);

  auto* counts = new QWidget(tool_bar_);
  auto* column = new QVBoxLayout(counts);
  column->setContentsMargins(4, 0, 8, 0);
  column->setSpacing(0);
  count_caption_ = new QLabel(QStringLiteral("Выбрано:"), counts);
  count_caption_->setObjectName(QStringLiteral("Label14"));
  count_caption_->setAlignment(Qt::AlignCenter);
  count_label_ = new QLabel(counts);
  count_label_->setObjectName(QStringLiteral("Label12"));
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
  central->setObjectName(QStringLiteral("MainPanel"));
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  setCentralWidget(central);

  pages_ = new QTabWidget(central);
  pages_->setObjectName(QStringLiteral("HomePage"));
  pages_->setTabPosition(QTabWidget::South);
  layout->addWidget(pages_);

  for (TableId table : {TableId::kHome, TableId::kOrg}) {
    const bool home = table == TableId::kHome;
    auto* sheet = new QWidget(pages_);
    sheet->setObjectName(home ? QStringLiteral("TabSheet1")
                              : QStringLiteral("TabSheet2"));
    auto* column = new QVBoxLayout(sheet);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* grid = new ResultGrid(
        home ? QStringLiteral("HomeTB") : QStringLiteral("OrgTb"), &colours_,
        geometry_, sheet);
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
              [this, table] { engine_.Run(table); });  // `HChange` / `OChange`
    }
    connect(grid, &QAbstractItemView::doubleClicked, this,
            home ? &MainWindow::HomeTBDblClick : &MainWindow::OrgTbDblClick);
    (home ? home_grid_ : org_grid_) = grid;
    (home ? home_panel_ : org_panel_) = panel;
    pages_->addTab(sheet,
                   home ? QString(kResidentialTabBlanks, QLatin1Char(' ')) +
                              QStringLiteral("Квартирные")
                        : QStringLiteral("Организации"));
  }
  connect(pages_, &QTabWidget::currentChanged, this,
          &MainWindow::HomePageChange);
}

void MainWindow::BuildUniversalPanel() {
  universal_panel_ = new QWidget(centralWidget());
  universal_panel_->setObjectName(QStringLiteral("Panel6"));
  universal_panel_->setAutoFillBackground(true);
  auto* row = new QHBoxLayout(universal_panel_);
  row->setContentsMargins(3, 4, 6, 4);
  auto* label =
      new QLabel(QStringLiteral("Универсальный поиск"), universal_panel_);
  label->setObjectName(QStringLiteral("Label13"));
  full_edit_ = new QLineEdit(universal_panel_);
  full_edit_->setObjectName(QStringLiteral("FullEd"));
  full_edit_->setToolTip(QStringLiteral(
      "Введите набор ключевых слов по любым полям. Учитывается порядок "
      "следования. Разделитель пробел."));
  full_edit_->setValidator(new Cp1251Validator(full_edit_));
  full_edit_->installEventFilter(this);
  connect(full_edit_, &QLineEdit::textChanged, this,
          [this] { engine_.Run(ActivePage()); });  // `FullEdChange`
  row->addWidget(label);
  row->addWidget(full_edit_, 1);
  universal_panel_->raise();
}

void MainWindow::BuildModeButtons() {
  // Panel10 (to the detailed mode) lies over Panel9 (to the universal mode).
  mode_buttons_ = new QWidget(pages_);
  mode_buttons_->setObjectName(QStringLiteral("ModeButtons"));
  struct Button {
    QWidget** panel;
    const char* panel_name;
    const char* button_name;
    const char* hint;
    QStyle::StandardPixmap icon;
  };
  const Button buttons[] = {
      {&to_universal_panel_, "Panel9", "ToolButton5",
       "Переход в универсальный режим поиска (F12)",
       QStyle::SP_FileDialogListView},
      {&to_detailed_panel_, "Panel10", "ToolButton7",
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
    connect(button, &QToolButton::clicked, this,
            &MainWindow::SpeedButton6Click);
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
