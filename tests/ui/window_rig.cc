// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_rig.h"

#include <QApplication>
#include <QtTest>

#include "storage/base_file.h"
#include "storage/base_template.h"
#include "storage/cp1251.h"
#include "support/base_builder.h"
#include "ui/search_controls.h"
#include "ui/search_panel.h"

namespace spravka::testing {

std::string W(const std::string& utf8) {
  std::optional<std::string> bytes = Utf8ToCp1251(utf8);
  if (!bytes) qFatal("not Windows-1251: %s", utf8.c_str());
  return *bytes;
}

BaseHeader TownHeader(const std::string& caption_utf8) {
  BaseHeader h = HeaderWithKinds(kHomeKinds, kOrgKinds);
  h.Title = W("Справка");
  h.Caption = W(caption_utf8);
  h.Description = W("Описание: " + caption_utf8);
  h.NumberLength = 6;
  return h;
}

void WriteTown(const std::string& path, const BaseHeader& header,
               const std::vector<std::vector<std::string>>& home,
               const std::vector<std::vector<std::string>>& org) {
  auto section = [](const std::vector<std::vector<std::string>>& records) {
    std::vector<Fields> bytes;
    for (const auto& r : records) {
      Fields f;
      for (const std::string& field : r) f.push_back(W(field));
      bytes.push_back(f);
    }
    return SectionText(bytes);
  };
  WriteBytes(path, WriteBasePart(header, 77, section(home), section(org)));
}

const std::vector<std::vector<std::string>>& SmallTownHome() {
  static const std::vector<std::vector<std::string>> home = {
      {"111111", "Иванов И.И.", "Мира", "1", "", "10", "Центр"},
      {"111112", "Иванова А.А.", "Ленина", "2", "", "11", "Центр"},
      {"222221", "Петров П.П.", "Мира", "3", "", "12", "Север"},
      {"333331", "Сидоров С.С.", "Иванова", "5", "", "1", "Юг"},
      {"444441", "Ливанов Л.Л.", "Садовая", "7", "2", "3", "Юг"},
  };
  return home;
}

const std::vector<std::vector<std::string>>& SmallTownOrg() {
  static const std::vector<std::vector<std::string>> org = {
      {"555555", "Аптека", "", "Мира", "4", "", "", "Центр"},
      {"555556", "Школа №1", "учительская", "Ленина", "7", "", "12", "Север"},
  };
  return org;
}

WindowRig::WindowRig()
    : new_base(std::make_unique<NewBaseDialog>(&boxes, &help)),
      base_template(BaseTemplate()) {}

void WindowRig::AnswerNewBase(Qt::Key key) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [this, key, timer] {
    if (!new_base->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus && focus->window() == new_base.get()
                        ? focus
                        : static_cast<QWidget*>(new_base.get()),
                    key);
  });
  timer->start();
}

WindowRig::~WindowRig() {
  if (window_) window_->close();
}

MainWindow* WindowRig::Open(const std::string& folder,
                            const QStringList& args) {
  MainWindowPorts ports;
  ports.files = &files;
  ports.settings = &settings;
  ports.boxes = boxes_override ? boxes_override : &boxes;
  ports.help = &help;
  ports.nearest = [](Rgb c) { return c; };
  ports.button_face = face;
  ports.end_program = [this] { ++end_calls; };
  ports.closed = [this] { ++closed_calls; };
  ports.fs = fs;
  ports.clipboard = &clipboard;
  ports.new_base = new_base.get();
  ports.base_template = base_template;
  file_type_registrar = std::make_unique<FileTypeRegistrar>(&file_types);
  ports.file_types = file_type_registrar.get();
  ports.serial_ports = &serial_ports;
  window_ = std::make_unique<MainWindow>(ports);
  window_->Start(QString::fromStdString(folder),
                 QStringLiteral("/opt/spravka/spravka"), args);
  if (window_->ended()) return window_.get();
  window_->show();
  QApplication::setActiveWindow(window_.get());
  if (!QTest::qWaitForWindowActive(window_.get()))
    qWarning("window not active");
  window_->search_controls().FocusRule();
  return window_.get();
}

void WindowRig::Close() {
  if (window_) window_->close();
  window_.reset();
}

ResultGrid* WindowRig::GridOf(TableId table) const {
  return window_->grid_commands().grid(table);
}

QLineEdit* WindowRig::SearchEdit(TableId table, int kind) const {
  for (SearchPanel* panel : window_->findChildren<SearchPanel*>()) {
    if (panel->table() == table) return panel->edit(kind);
  }
  qFatal("no search panel");
}

QLineEdit* WindowRig::UniversalLine() const {
  // The one line edit of the window outside the search panels and grids.
  for (QLineEdit* e : window_->findChildren<QLineEdit*>()) {
    if (!qobject_cast<SearchPanel*>(e->parentWidget()) &&
        !qobject_cast<QAbstractItemView*>(e->parentWidget()->parentWidget()))
      return e;
  }
  qFatal("no universal search line");
}

QComboBox* WindowRig::TownList() const {
  auto* towns = window_->findChild<QComboBox*>();
  if (!towns) qFatal("no town list");
  return towns;
}

QTabWidget* WindowRig::Pages() const {
  auto* pages = window_->findChild<QTabWidget*>();
  if (!pages) qFatal("no pages");
  return pages;
}

QToolButton* WindowRig::MenuButton() const {
  for (QToolButton* b : window_->findChildren<QToolButton*>()) {
    if (b->text() == QStringLiteral("Меню")) return b;
  }
  qFatal("no menu button");
}

QMenu* WindowRig::ContextMenuOf() const {
  auto* menu = window_->findChild<QMenu*>();
  if (!menu) qFatal("no context menu");
  return menu;
}

QAction* WindowRig::MenuItem(const QString& caption) const {
  for (QAction* a : ContextMenuOf()->actions()) {
    if (!a->isSeparator() && a->text().startsWith(caption)) return a;
  }
  qFatal("no menu item %s", qPrintable(caption));
}

int WindowRig::Rows(TableId table) const {
  ResultGrid* g = GridOf(table);
  return g->isHidden() ? 0 : g->result_model()->rowCount();
}

int WindowRig::Rows(const char* grid) const {
  ResultGrid* g = Grid(grid);
  return g->isHidden() ? 0 : g->result_model()->rowCount();
}

void WindowRig::EditCell(const char* grid, int row, int column,
                         const QString& text) {
  ResultGrid* g = Grid(grid);
  g->setFocus();
  g->setCurrentIndex(g->model()->index(row, column));
  Keys(text);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

QString WindowRig::Cell(const char* grid, int row, int column) const {
  ResultGrid* g = Grid(grid);
  return g->CellText(g->result_model()->index(row, column));
}

QStringList WindowRig::Column(const char* grid, int column) const {
  QStringList cells;
  for (int row = 0; row < Rows(grid); ++row) cells << Cell(grid, row, column);
  return cells;
}

void TypeText(QWidget* target, const QString& text) {
  target->setFocus();
  for (QChar c : text) {
    QTest::sendKeyEvent(QTest::Click, target, Qt::Key(c.toUpper().unicode()),
                        QString(c), Qt::NoModifier);
  }
}

void Keys(const QString& text) {
  for (QChar c : text) {
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(),
                        Qt::Key(c.toUpper().unicode()), QString(c),
                        Qt::NoModifier);
  }
}

void Backspace(QWidget* target, int count) {
  target->setFocus();
  for (int i = 0; i < count; ++i) QTest::keyClick(target, Qt::Key_Backspace);
}

}  // namespace spravka::testing
