#include "ui/application.h"

#include <QFont>
#include <exception>
#include <new>

namespace spravka {

// The window's pixel geometry (edit places, column widths) comes from the
// base header, laid out for an 8-point interface font; the platform's own
// font family at that size keeps a six-digit number inside its column and
// every search label clear of its edit.
Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  QFont font = QApplication::font();
  font.setPointSize(8);
  QApplication::setFont(font);
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::bad_alloc&) {
    if (boxes_) boxes_->Show(MessageKind::kError, "Недостаточно памяти");
  } catch (const std::exception& e) {
    if (boxes_) boxes_->Show(MessageKind::kError, e.what());
  }
  return false;
}

}  // namespace spravka
