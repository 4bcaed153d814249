// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_INFORM_DIALOG_H_
#define SPRAVKA_UI_INFORM_DIALOG_H_

#include <QDialog>
#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;

namespace spravka {

// `HelpDlg`: the information dialog. It shows the program's information
// text with the loaded base's description (Memo1) or the help of the
// new-base dialog (Memo2, over Memo1). Created once, then shown and
// hidden; never modal.
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
  void ShowModeless();
  void ShowLines();

  std::vector<std::string> lines_;
  QPlainTextEdit* memo1_;
  QPlainTextEdit* memo2_;
  QPushButton* ok_;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_INFORM_DIALOG_H_
