// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_FILE_DROPS_H_
#define SPRAVKA_UI_FILE_DROPS_H_

#include <QObject>
#include <functional>
#include <string>

class QWidget;

namespace spravka {

// The drop handler: files dropped on a window from the desktop. Only the
// first file counts: `dropped` gets its path, and a ".qz" file's base is
// switched to. The window takes drops once it calls setAcceptDrops.
class FileDrops : public QObject {
 public:
  FileDrops(QWidget* window, std::function<void(const std::string&)> dropped);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(const std::string&)> dropped_;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_FILE_DROPS_H_
