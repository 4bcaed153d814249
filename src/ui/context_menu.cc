// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/context_menu.h"

#include <QAction>
#include <QEvent>

#include "ui/icons.h"

namespace spravka {

ContextMenu::ContextMenu(const Parts& parts, QWidget* parent)
    : QMenu(parent), p_(parts) {
  setObjectName(QStringLiteral("contextMenu"));
  setToolTipsVisible(true);

  dial_item_ = Item("dialMenuItem", QString::fromUtf8(kDialItemCaption));
  dial_item_->setIcon(DrawnIcon(Picture::kDial));
  QObject::connect(dial_item_, &QAction::triggered,
                   [this] { p_.grids->Dial(); });
  addSeparator()->setObjectName(QStringLiteral("dialSeparator"));
  add_item_ = ItemFor(p_.add, "addMenuItem", true);
  delete_item_ = ItemFor(p_.remove, "deleteMenuItem", true);
  copy_row_item_ = Item(
      "copyRowMenuItem", QStringLiteral("Копировать строку в буфер обмена"),
      QStringLiteral("Данные текущего абонента помещаются в буфер "
                     "обмена"));
  copy_row_item_->setIcon(DrawnIcon(Picture::kCopyRow));
  QObject::connect(copy_row_item_, &QAction::triggered,
                   [this] { p_.grids->CopyRow(); });
  copy_result_item_ = ItemFor(p_.copy_result, "copyResultMenuItem", true);
  paste_item_ = ItemFor(p_.paste, "pasteMenuItem", true);
  stripes_separator_ = addSeparator();
  stripes_separator_->setObjectName(QStringLiteral("stripesSeparator"));
  stripes_separator_->setVisible(false);
  new_base_item_ =
      Item("newBaseMenuItem", QStringLiteral("Создать новый справочник..."));
  new_base_item_->setIcon(DrawnIcon(Picture::kNewBase));
  QObject::connect(new_base_item_, &QAction::triggered,
                   [this] { p_.base->NewBase(); });
  ItemFor(p_.save, "saveMenuItem", false);
  restore_item_ = Item(
      "restoreMenuItem", QStringLiteral("Восстановить исходное состояние базы"),
      QStringLiteral("Анулируются все изменения базы пользователем"));
  restore_item_->setIcon(DrawnIcon(Picture::kRestore));
  QObject::connect(restore_item_, &QAction::triggered,
                   [this] { p_.base->Restore(); });
  ItemFor(p_.save_widths, "saveWidthsMenuItem", false);
  ItemFor(p_.optimise, "optimiseMenuItem", false);
  addSeparator()->setObjectName(QStringLiteral("baseSeparator"));
  stripes_item_ =
      Item("stripesMenuItem", QStringLiteral("Выделение строк таблицы цветом"));
  stripes_item_->setCheckable(true);
  stripes_item_->setChecked(true);
  stripes_item_->setVisible(false);
  yo_search_item_ =
      Item("yoSearchMenuItem", QStringLiteral("Поиск: «е» находит и «ё»"),
           QStringLiteral("«Семенов» находит и «Семёнов»"));
  similar_search_item_ = Item(
      "similarSearchMenuItem",
      QStringLiteral("Поиск: похожие, если ничего не найдено"),
      QStringLiteral("Когда ничего не найдено, показать записи, где в слове "
                     "из четырёх и более букв одна буква другая, лишняя, "
                     "пропущена или две соседние переставлены"));
  for (QAction* item : {yo_search_item_, similar_search_item_}) {
    item->setCheckable(true);
    item->setChecked(true);
  }
  addSeparator()->setObjectName(QStringLiteral("helpSeparator"));
  ItemFor(p_.help, "helpMenuItem", false);

  QObject::connect(this, &QMenu::aboutToShow, [this] { Decide(); });
  for (ResultGrid* grid :
       {p_.grids->grid(TableId::kHome), p_.grids->grid(TableId::kOrg)}) {
    QObject::connect(grid, &ResultGrid::menuRequested,
                     [this](QPoint global, bool by_mouse) {
                       if (!by_mouse) ForgetPress();
                       popup(global);
                     });
  }
}

void ContextMenu::ForgetPress() {
  p_.grids->grid(TableId::kHome)->ForgetPress();
  p_.grids->grid(TableId::kOrg)->ForgetPress();
}

void ContextMenu::WatchButton(QWidget* button) {
  button->installEventFilter(this);
}

bool ContextMenu::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress && watched != this) {
    ForgetPress();
  }
  return QMenu::eventFilter(watched, event);
}

QAction* ContextMenu::Item(const char* name, const QString& caption,
                           const QString& hint) {
  QAction* item = addAction(caption);
  item->setObjectName(QLatin1String(name));
  item->setToolTip(hint);
  item->setStatusTip(hint);
  return item;
}

QAction* ContextMenu::ItemFor(QAction* action, const char* name,
                              bool own_state) {
  QString caption = action->text();
  // The item shows the action's shortcut but does not take it: a key
  // belongs to one action, which works wherever the focus is in the window.
  if (!action->shortcut().isEmpty()) {
    caption += QLatin1Char('\t') +
               action->shortcut().toString(QKeySequence::NativeText);
  }
  QAction* item = Item(name, caption, action->toolTip());
  item->setIcon(action->icon());
  QObject::connect(item, &QAction::triggered, action, &QAction::trigger);
  if (!own_state) {
    // The item follows the action's state, which other rules set.
    const auto follow = [item, action] {
      item->setEnabled(action->isEnabled());
    };
    follow();
    QObject::connect(action, &QAction::changed, item, follow);
  }
  return item;
}

void ContextMenu::Decide() {
  BaseSession& session = *p_.session;
  const TableId table = p_.grids->ActiveTable();
  ResultGrid* grid = p_.grids->grid(table);
  // The cell under the last mouse press becomes current: the row, then the
  // column, each only when it holds data.
  int column = 0;
  int row = 0;
  const std::optional<QPoint>& press = grid->last_press();
  if (press && grid->CellAt(*press, &column, &row)) {
    if (row > 0 && row < grid->RowCount())
      grid->SetCurrent(std::max(grid->Col(), 1), row);
    if (column > 0 && column <= session.base().store().FieldCount(table) &&
        grid->Row() > 0)
      grid->SetCurrent(column, grid->Row());
  }

  const MenuState s = p_.decide();
  copy_result_item_->setVisible(s.copy_result_visible);
  dial_item_->setText(QString::fromStdString(s.dial_caption));
  dial_item_->setEnabled(s.dial);
  add_item_->setEnabled(s.add);
  delete_item_->setEnabled(s.remove);
  copy_row_item_->setEnabled(s.copy_row);
  copy_result_item_->setEnabled(s.copy_result);
  paste_item_->setEnabled(s.paste);
  restore_item_->setEnabled(s.restore);
  new_base_item_->setEnabled(s.new_base);
  yo_search_item_->setEnabled(s.search_options);
  similar_search_item_->setEnabled(s.search_options);
}

void ContextMenu::OfferStripes(bool offered) {
  stripes_separator_->setVisible(offered);
  stripes_item_->setVisible(offered);
}

}  // namespace spravka
