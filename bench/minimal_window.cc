// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of a window's start-up: a bare Qt window with a 30 x 7
// table, shown as soon as the application exists.
#include <QApplication>
#include <QTableWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QTableWidget table(30, 7);
  table.resize(640, 480);
  table.show();
  return app.exec();
}
