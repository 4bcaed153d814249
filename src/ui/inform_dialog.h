// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_INFORM_DIALOG_H_
#define SPRAVKA_UI_INFORM_DIALOG_H_

#include <QDialog>
#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;

namespace spravka {

// The information dialog. It shows the program's information
// text with the loaded base's description or the help of the
// new-base dialog (over the information text). Created once, then shown and
// hidden; never modal. Its controls are made when it is first shown (it
// rarely is, and they cost a start-up time) and kept from then on.
class InformDialog : public QDialog {
  Q_OBJECT

 public:
  explicit InformDialog(QWidget* parent = nullptr);

  // Puts a base's description (Windows-1251) at its place in the
  // information text. From the first call on, lines are wrapped.
  void PlaceBaseDescription(const std::string& description);

  // From the main window: the information text.
  void ShowInformation();
  // From the new-base dialog: its help text.
  void ShowNewBaseHelp();

  // The information text, Windows-1251 lines.
  const std::vector<std::string>& lines() const { return lines_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Makes the controls, once.
  void Build();
  void ShowModeless();
  void ShowLines();

  std::vector<std::string> lines_;
  bool wrapped_ = false;  // lines wrap once a base has been placed
  QPlainTextEdit* information_text_ = nullptr;
  QPlainTextEdit* new_base_help_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_INFORM_DIALOG_H_
