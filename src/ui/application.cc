// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/application.h"

#include <QFont>

#include "platform/qt_translation.h"
#include "util/thrown_error.h"

namespace spravka {

// The window's pixel geometry (edit places, column widths) comes from the
// base header, laid out for an 8-point interface font; the window scales it
// to the digits of the platform's own font family at that size. Qt's own
// texts (a line edit's context menu, ...) are Russian like the rest.
Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  QFont font = QApplication::font();
  font.setPointSize(8);
  QApplication::setFont(font);
  InstallQtTranslation(this);
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    if (boxes_) boxes_->Show(MessageKind::kError, ThrownErrorText());
  }
  return false;
}

}  // namespace spravka
