// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace spravka {
namespace {

QString BoxText(const std::string& text) {
  return QString::fromStdString(text).replace(QStringLiteral("\r\n"),
                                              QStringLiteral("\n"));
}

QMessageBox::Icon IconOf(MessageKind kind) {
  switch (kind) {
    case MessageKind::kWarning:
      return QMessageBox::Warning;
    case MessageKind::kError:
      return QMessageBox::Critical;
    case MessageKind::kInformation:
      return QMessageBox::Information;
    case MessageKind::kConfirmation:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// A box shows the normal arrow even while the hourglass is up.
class ArrowCursor {
 public:
  ArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
  ~ArrowCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

QString MessageCaption(MessageKind kind) {
  switch (kind) {
    case MessageKind::kWarning:
      return QStringLiteral("Предостережение");
    case MessageKind::kError:
      return QStringLiteral("Ошибка");
    case MessageKind::kInformation:
      return QStringLiteral("Информация");
    case MessageKind::kConfirmation:
      return QStringLiteral("Подтверждение");
  }
  return {};
}

void QtMessageBoxes::Show(MessageKind kind, const std::string& text) {
  ArrowCursor arrow;
  QMessageBox box(IconOf(kind), MessageCaption(kind), BoxText(text),
                  QMessageBox::NoButton, parent_);
  box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.exec();
}

bool QtMessageBoxes::Ask(const std::string& question) {
  ArrowCursor arrow;
  QMessageBox box(QMessageBox::Question,
                  MessageCaption(MessageKind::kConfirmation), BoxText(question),
                  QMessageBox::NoButton, parent_);
  QPushButton* yes = box.addButton(QStringLiteral("&Да"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("&Нет"), QMessageBox::NoRole);
  box.setDefaultButton(yes);
  box.setEscapeButton(no);
  box.exec();
  return box.clickedButton() == yes;
}

}  // namespace spravka
