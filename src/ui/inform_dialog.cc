// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/inform_dialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringList>

#include "app/inform_text.h"
#include "app/version.h"
#include "platform/text_codec.h"
#include "ui/icons.h"

namespace spravka {
namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 394;
constexpr int kButtonHeight = 32;

QPlainTextEdit* MakeMemo(QWidget* parent, const char* name) {
  auto* memo = new QPlainTextEdit(parent);
  memo->setObjectName(QLatin1String(name));
  memo->setReadOnly(true);
  memo->setFrameShape(QFrame::NoFrame);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo->setLineWrapMode(QPlainTextEdit::NoWrap);
  QPalette p = memo->palette();
  p.setColor(QPalette::Base, p.color(QPalette::Button));
  memo->setPalette(p);
  memo->setGeometry(0, 0, kWidth, kHeight - kButtonHeight);
  return memo;
}

}  // namespace

InformDialog::InformDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      lines_(UnscrambleInformText(StoredInformText())) {
  PlaceVersion(kProgramVersion, &lines_);
  PlaceLicence(&lines_);
  setObjectName(QStringLiteral("informationDialog"));
  setWindowTitle(QStringLiteral("Информация"));
  setModal(false);
  setFixedSize(kWidth, kHeight);
  QFont f = font();
  f.setBold(true);
  setFont(f);
}

void InformDialog::Build() {
  if (information_text_ != nullptr) return;
  information_text_ = MakeMemo(this, "informationText");
  if (wrapped_) information_text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  new_base_help_ = MakeMemo(this, "newBaseHelp");
  QStringList help;
  for (const std::string& line : NewBaseHelpText()) {
    help << QString::fromStdString(line);
  }
  new_base_help_->setPlainText(help.join(QLatin1Char('\n')));
  new_base_help_->hide();
  ShowLines();

  ok_ = new QPushButton(QStringLiteral("Все ясно"), this);
  ok_->setObjectName(QStringLiteral("okButton"));
  ok_->setFlat(true);
  ok_->setIcon(DrawnIcon(Picture::kUnderstood));
  ok_->setGeometry(0, kHeight - kButtonHeight, kWidth, kButtonHeight);
  connect(ok_, &QPushButton::clicked, this, &QDialog::hide);

  information_text_->installEventFilter(this);
  new_base_help_->installEventFilter(this);
}

void InformDialog::ShowLines() {
  QStringList text;
  for (const std::string& line : lines_) text << FromCp1251(line);
  information_text_->setPlainText(text.join(QLatin1Char('\n')));
}

void InformDialog::PlaceBaseDescription(const std::string& description) {
  PlaceDescription(description, &lines_);
  wrapped_ = true;
  if (information_text_ == nullptr) return;  // shown as placed when built
  information_text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  ShowLines();
}

void InformDialog::ShowModeless() {
  if (!isVisible()) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      move(screen->availableGeometry().center() - rect().center());
    }
  }
  show();
  raise();
  activateWindow();
}

void InformDialog::ShowInformation() {
  Build();
  new_base_help_->hide();
  ShowModeless();
  information_text_->setFocus();
}

void InformDialog::ShowNewBaseHelp() {
  Build();
  new_base_help_->show();
  new_base_help_->raise();
  ShowModeless();
  new_base_help_->setFocus();
}

// Enter or Esc in the text closes the dialog.
bool InformDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter ||
        key == Qt::Key_Escape) {
      hide();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace spravka
