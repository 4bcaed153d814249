// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_TESTS_UI_WINDOW_RIG_H_
#define SPRAVKA_TESTS_UI_WINDOW_RIG_H_

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QString>
#include <QStringList>
#include <QTabWidget>
#include <QToolButton>
#include <memory>
#include <string>
#include <vector>

#include "storage/base_header.h"
#include "support/fake_serial_ports.h"
#include "support/session_fakes.h"
#include "ui/inform_dialog.h"
#include "ui/main_window.h"
#include "ui/new_base_dialog.h"
#include "ui/result_grid.h"

namespace spravka::testing {

// UTF-8 to the Windows-1251 a base holds.
std::string W(const std::string& utf8);

// A header with all kinds, six-digit numbers and Windows-1251 texts.
BaseHeader TownHeader(const std::string& caption_utf8);

// Writes a base file from UTF-8 records (all fields of each record).
void WriteTown(const std::string& path, const BaseHeader& header,
               const std::vector<std::vector<std::string>>& home,
               const std::vector<std::vector<std::string>>& org);

// The residential and organisation records of the small test town.
const std::vector<std::vector<std::string>>& SmallTownHome();
const std::vector<std::vector<std::string>>& SmallTownOrg();

inline constexpr Rgb kFace{212, 208, 200};

// The clipboard as a string of Windows-1251 bytes.
class StringClipboard : public Clipboard {
 public:
  std::string ReadText() override { return text; }
  void WriteText(const std::string& t) override { text = t; }
  std::string text;
};

// The main window with fakes for the settings, the boxes and the probe.
class WindowRig {
 public:
  WindowRig();
  ~WindowRig();

  // Creates the window, starts it in `folder` and shows it.
  MainWindow* Open(const std::string& folder, const QStringList& args = {});
  // Closes the window as the user would; the rig can open another.
  void Close();

  MainWindow* window() const { return window_.get(); }
  template <typename T>
  T* Find(const char* name) const {
    T* found = window_->findChild<T*>(QString::fromLatin1(name));
    if (!found) qFatal("no control %s", name);
    return found;
  }
  QLineEdit* Edit(const char* name) const { return Find<QLineEdit>(name); }
  ResultGrid* Grid(const char* name) const { return Find<ResultGrid>(name); }
  QAction* Action(const char* name) const { return Find<QAction>(name); }
  // Triggers an action or menu item as the user would: only when it is
  // enabled (a disabled one ignores trigger()). False when it was not.
  [[nodiscard]] bool Trigger(const char* name) const {
    QAction* action = Action(name);
    if (!action->isEnabled()) return false;
    action->trigger();
    return true;
  }
  QString Count() const { return Find<QLabel>("countLabel")->text(); }
  bool OnOrgPage() const {
    return Find<QTabWidget>("pages")->currentIndex() == 1;
  }
  // The controls found by what they are, not by their object names.
  ResultGrid* GridOf(TableId table) const;
  QLineEdit* SearchEdit(TableId table, int kind) const;
  QLineEdit* UniversalLine() const;
  QComboBox* TownList() const;
  QTabWidget* Pages() const;
  QToolButton* MenuButton() const;
  QMenu* ContextMenuOf() const;
  // The item of the context menu whose caption begins with `caption`.
  QAction* MenuItem(const QString& caption) const;
  // Data rows of a grid as shown: 0 while it is hidden.
  int Rows(TableId table) const;
  int Rows(const char* grid) const;
  // Types `text` into a cell of a grid (model row) as the user would, and
  // ends the edit with Enter.
  void EditCell(const char* grid, int row, int column, const QString& text);
  // The text of a grid cell (model row, column 1..n).
  QString Cell(const char* grid, int row, int column) const;
  // Column `column` of every shown row of a grid.
  QStringList Column(const char* grid, int column) const;

  ProbeSwitchFileChecks files;
  MapSettingsStore settings;
  RecordingBoxes boxes;
  MessageBoxes* boxes_override = nullptr;  // the real boxes, for instance
  InformDialog help;
  Rgb face = kFace;          // the system button face the window sees
  FileSystem* fs = nullptr;  // the bases' file system; the real one if null
  FakeFileTypeStore file_types;
  // Each window's registration of the file type, into `file_types`.
  std::unique_ptr<FileTypeRegistrar> file_type_registrar;
  // The new-base dialog, made once like the program's; answered by the
  // tests.
  std::unique_ptr<NewBaseDialog> new_base;
  std::optional<std::string> base_template;  // the built-in one

  // Presses `key` in the new-base dialog when it comes up next.
  void AnswerNewBase(Qt::Key key);
  StringClipboard clipboard;
  // No test opens a real serial port; by default no port has a modem.
  std::vector<std::string> port_log;
  FakeSerialPorts serial_ports{&port_log};
  int end_calls = 0;
  int closed_calls = 0;  // the window closed for good

 private:
  std::unique_ptr<MainWindow> window_;
};

// Types text into a control key by key (QTest::keyClicks cannot take
// Cyrillic), as a user would.
void TypeText(QWidget* target, const QString& text);
// Types text key by key into whatever has the focus, as it moves: the first
// key typed on a grid opens its cell editor, which takes the rest.
void Keys(const QString& text);
// Presses Backspace `count` times.
void Backspace(QWidget* target, int count = 1);

}  // namespace spravka::testing

#endif  // SPRAVKA_TESTS_UI_WINDOW_RIG_H_
