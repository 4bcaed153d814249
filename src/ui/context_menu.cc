// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/context_menu.h"

#include <QAction>
#include <QEvent>

#include "dialling/modem.h"
#include "ui/icons.h"

namespace spravka {

ContextMenu::ContextMenu(const Parts& parts, QWidget* parent)
    : QMenu(parent), p_(parts) {
  setObjectName(QStringLiteral("PopupMenu1"));
  setToolTipsVisible(true);

  n3_ = Item("N3", QString::fromUtf8(kDialItemCaption));
  n3_->setIcon(DrawnIcon(Picture::kDial));
  QObject::connect(n3_, &QAction::triggered, [this] { p_.grids->Dial(); });
  addSeparator()->setObjectName(QStringLiteral("N6"));
  n1_ = ItemFor(p_.add, "N1", true);
  n2_ = ItemFor(p_.remove, "N2", true);
  n4_ = Item("N4", QStringLiteral("Копировать строку в буфер обмена"),
             QStringLiteral("Данные текущего абонента помещаются в буфер "
                            "обмена"));
  n4_->setIcon(DrawnIcon(Picture::kCopyRow));
  QObject::connect(n4_, &QAction::triggered, [this] { p_.grids->CopyRow(); });
  n9_ = ItemFor(p_.copy_result, "N9", true);
  n14_ = ItemFor(p_.paste, "N14", true);
  n10_ = addSeparator();
  n10_->setObjectName(QStringLiteral("N10"));
  n10_->setVisible(false);
  n15_ = Item("N15", QStringLiteral("Создать новый справочник..."));
  n15_->setIcon(DrawnIcon(Picture::kNewBase));
  QObject::connect(n15_, &QAction::triggered, [this] { p_.base->NewBase(); });
  ItemFor(p_.save, "N5", false);
  n12_ = Item("N12", QStringLiteral("Восстановить исходное состояние базы"),
              QStringLiteral("Анулируются все изменения базы пользователем"));
  n12_->setIcon(DrawnIcon(Picture::kRestore));
  QObject::connect(n12_, &QAction::triggered, [this] { p_.base->Restore(); });
  ItemFor(p_.save_widths, "N16", false);
  ItemFor(p_.optimise, "N17", false);
  addSeparator()->setObjectName(QStringLiteral("N13"));
  n11_ = Item("N11", QStringLiteral("Выделение строк таблицы цветом"));
  n11_->setCheckable(true);
  n11_->setChecked(true);
  n11_->setVisible(false);
  addSeparator()->setObjectName(QStringLiteral("N7"));
  ItemFor(p_.help, "N8", false);

  QObject::connect(this, &QMenu::aboutToShow, [this] { Decide(); });
  for (ResultGrid* grid : {p_.grids->grid(TableId::kHome),
                           p_.grids->grid(TableId::kOrg)}) {
    QObject::connect(grid, &ResultGrid::pressedAt,
                     [this](QPoint point) { mouse_ = point; });
    QObject::connect(grid, &ResultGrid::menuRequested,
                     [this](QPoint global, bool by_mouse) {
                       if (!by_mouse) ForgetPress();
                       popup(global);
                     });
  }
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
  if (mouse_ && grid->CellAt(*mouse_, &column, &row)) {
    if (row > 0 && row < grid->RowCount())
      grid->SetCurrent(std::max(grid->Col(), 1), row);
    if (column > 0 && column <= session.store().FieldCount(table) &&
        grid->Row() > 0)
      grid->SetCurrent(column, grid->Row());
  }

  MenuInputs in;
  in.grid_rows = grid->RowCount();
  in.grid_visible = grid->IsVisible();
  in.number = grid->Row() > 0 ? grid->Cell(1, grid->Row()) : std::string();
  in.base_read_only = session.base_read_only();
  in.folder_read_only = session.folder_read_only();
  in.origin_tag_empty = session.store().header.OriginTag.empty();
  in.change_entries =
      session.store().HomeChanges.size() + session.store().OrgChanges.size();
  in.width_difference = session.base_loaded() ? p_.base->WidthDifference() : 0;
  in.clipboard_has_text =
      p_.clipboard != nullptr && !p_.clipboard->ReadText().empty();
  const MenuState s = DecideMenu(in, [this] {
    return p_.serial_ports != nullptr &&
           !FindFreeModem(*p_.serial_ports).empty();
  });

  n9_->setVisible(s.copy_result_visible);
  n3_->setText(QString::fromStdString(s.dial_caption));
  n3_->setEnabled(s.dial);
  n1_->setEnabled(s.add);
  n2_->setEnabled(s.remove);
  n4_->setEnabled(s.copy_row);
  n9_->setEnabled(s.copy_result);
  n14_->setEnabled(s.paste);
  n12_->setEnabled(s.restore);
  n15_->setEnabled(s.new_base);
  p_.save_widths->setEnabled(s.save_widths);
  p_.optimise->setEnabled(s.optimise);
}

}  // namespace spravka
