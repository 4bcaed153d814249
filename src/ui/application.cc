#include "ui/application.h"

#include <exception>
#include <new>

namespace spravka {

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
