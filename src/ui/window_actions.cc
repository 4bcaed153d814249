// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_actions.h"

#include <QAction>
#include <QWidget>

#include "app/rules/menu_rules.h"
#include "ui/icons.h"

namespace spravka {
namespace {

QAction* MakeAction(QWidget* owner, const char* name, const QString& caption,
                    const QString& hint, const QIcon& icon,
                    const QKeySequence& shortcut = {}) {
  auto* action = new QAction(caption, owner);
  action->setObjectName(QLatin1String(name));
  action->setToolTip(hint);
  action->setStatusTip(hint);
  action->setShortcut(shortcut);
  action->setIcon(icon);
  owner->addAction(action);  // shortcuts work anywhere in the window
  return action;
}

}  // namespace

WindowActions::WindowActions(QWidget* window) {
  exit_ = MakeAction(window, "exitAction", QStringLiteral("&Выход"),
                     QStringLiteral("Завершить работу с программой"),
                     DrawnIcon(Picture::kExit), QKeySequence(Qt::Key_F10));
  help_ = MakeAction(window, "helpAction", QStringLiteral("Информация"),
                     QStringLiteral("Информация"),
                     DrawnIcon(Picture::kInformation));
  add_ = MakeAction(window, "addAction", QStringLiteral("Добавить запись"),
                    QStringLiteral("Добавить запись в справочник"),
                    DrawnIcon(Picture::kAdd),
                    QKeySequence(Qt::CTRL | Qt::Key_Insert));
  remove_ = MakeAction(window, "deleteAction", QStringLiteral("Удалить запись"),
                       QStringLiteral("Удалить текущую строку из справочника"),
                       DrawnIcon(Picture::kDelete),
                       QKeySequence(Qt::CTRL | Qt::Key_Delete));
  save_ = MakeAction(
      window, "saveAction", QStringLiteral("Сохранить изменения"),
      QStringLiteral("Сохранить изменения"), DrawnIcon(Picture::kSave));
  save_widths_ = MakeAction(window, "saveWidthsAction",
                            QStringLiteral("Запомнить новую ширину столбцов"),
                            QStringLiteral("Вписать в базу ширину столбцов"),
                            DrawnIcon(Picture::kColumnWidths));
  paste_ = MakeAction(
      window, "pasteAction", QStringLiteral("Вставить записи из буфера обмена"),
      QStringLiteral("Вставка в базу записей из буфера обмена Windows"),
      DrawnIcon(Picture::kPaste));
  copy_result_ =
      MakeAction(window, "copyResultAction",
                 QStringLiteral("Копировать результат выборки в буфер обмена"),
                 QStringLiteral("Содержимое выборки помещаются в буфер обмена"),
                 DrawnIcon(Picture::kCopyResult));
  optimise_ = MakeAction(window, "optimiseAction",
                         QStringLiteral("Оптимизировать базу"), QString(),
                         DrawnIcon(Picture::kOptimise));
}

void WindowActions::Apply(const MenuState& s) {
  add_->setEnabled(s.add_action);
  remove_->setEnabled(s.remove_action);
  save_->setEnabled(s.save_action);
  save_widths_->setEnabled(s.save_widths);
  paste_->setEnabled(s.paste_action);
  copy_result_->setEnabled(s.copy_result_action);
  optimise_->setEnabled(s.optimise);
}

}  // namespace spravka
