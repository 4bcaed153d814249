// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_NEW_BASE_DIALOG_H_
#define SPRAVKA_UI_NEW_BASE_DIALOG_H_

#include <QDialog>
#include <array>
#include <string>

#include "app/create_base.h"
#include "app/message_boxes.h"
#include "storage/file_system.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace spravka {

class InformDialog;

// The new-base dialog, "Параметры новой базы": the name, digits, caption,
// description and fields of a new base. Created once and then only shown
// and hidden, so that it keeps what was typed last. Its controls are made
// when it is first polished, before it is first shown: most runs never
// show it, and they cost a start-up time. Closing it with
// "Создать базу" refuses a name that cannot name a base file and asks
// before an existing base is replaced; the dialog stays open then.
class NewBaseDialog : public QDialog {
  Q_OBJECT

 public:
  // `help` shows the dialog's help on F1; may be null.
  NewBaseDialog(MessageBoxes* boxes, InformDialog* help,
                QWidget* parent = nullptr);

  // The folder the base will be created in (UTF-8); the replace question
  // looks there. The file system answers whether the base exists.
  void SetWorkingFolder(const std::string& folder,
                        FileSystem* files = &RealFileSystem());

  // Shows the dialog modally in the middle of the screen. True when it
  // closed with "Создать базу", false for "Отмена" (or Esc).
  bool Run();

  // What the fields hold; texts in Windows-1251.
  NewBaseParams Params() const;

  void done(int result) override;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Makes the controls with their first values, once.
  void BuildControls();
  // The checks before closing with OK; false keeps the dialog open.
  bool MayCreate();
  void ShowHelp();

  MessageBoxes* boxes_;
  InformDialog* help_;
  std::string working_folder_;
  FileSystem* files_ = &RealFileSystem();

  QLineEdit* name_ = nullptr;         // Edit1
  QSpinBox* digits_ = nullptr;        // SpinEdit1
  QLineEdit* caption_ = nullptr;      // Edit2
  QLineEdit* description_ = nullptr;  // Edit3
  std::array<QCheckBox*, kHomeKinds> home_boxes_{};
  std::array<QCheckBox*, kOrgKinds> org_boxes_{};
  QPushButton* ok_ = nullptr;      // OKBtn
  QPushButton* cancel_ = nullptr;  // CancelBtn
};

}  // namespace spravka

#endif  // SPRAVKA_UI_NEW_BASE_DIALOG_H_
