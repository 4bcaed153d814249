// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_FILE_DROPS_H_
#define SPRAVKA_UI_FILE_DROPS_H_

#include <QObject>
#include <functional>

#include "app/base_session.h"

class QWidget;

namespace spravka {

// The drop handler: files dropped on a window from the desktop. Only the
// first file counts, and only a ".qz" file: its town entry (added when new)
// becomes the selected one, then `switch_to_selected` leaves the shown base
// for it. The window takes drops once it calls setAcceptDrops.
class FileDrops : public QObject {
 public:
  FileDrops(QWidget* window, BaseSession* session,
            std::function<void()> switch_to_selected);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  BaseSession* session_;
  std::function<void()> switch_to_selected_;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_FILE_DROPS_H_
