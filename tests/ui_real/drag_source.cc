// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop's file drag, for the real-window tests: a small window titled
// "drag source" that starts a drag of the file named on its command line
// when the mouse is pressed on it, as a file manager does. A test moves the
// pointer with xdotool from here onto the program's window and releases it.
#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace {

class DragSource : public QLabel {
 public:
  explicit DragSource(const QString& file) : file_(file) {
    setText(file);
    setWindowTitle(QStringLiteral("drag source"));
    setMinimumSize(200, 100);
  }

 protected:
  void mousePressEvent(QMouseEvent*) override {
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(file_)});
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction);
  }

 private:
  QString file_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) return 2;
  DragSource source(QString::fromLocal8Bit(argv[1]));
  source.move(0, 0);
  source.show();
  return app.exec();
}
