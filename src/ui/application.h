// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_APPLICATION_H_
#define SPRAVKA_UI_APPLICATION_H_

#include <QApplication>

#include "app/message_boxes.h"

namespace spravka {

// The application with the program's general error handler: an error that
// escapes an event handler is shown in an error box with its text, and the
// program goes on with the next event.
class Application : public QApplication {
 public:
  Application(int& argc, char** argv);

  void SetBoxes(MessageBoxes* boxes) { boxes_ = boxes; }
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  MessageBoxes* boxes_ = nullptr;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_APPLICATION_H_
