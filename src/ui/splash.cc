// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/splash.h"

#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <QScreen>

namespace spravka {

SplashForm::SplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint |
                          Qt::WindowStaysOnTopHint),
      text_(QStringLiteral("Загрузка справочника...")) {
  setObjectName(QStringLiteral("splash"));
  setAttribute(Qt::WA_ShowWithoutActivating);  // the focus stays where it was
  setFixedSize(218, 24);
  QFont f = font();
  f.setBold(true);
  f.setPixelSize(13);
  setFont(f);
  // Every dialog and message box of the program shows and hides through
  // here while the splash lives.
  qApp->installEventFilter(this);
}

SplashForm::~SplashForm() {
  qApp->removeEventFilter(this);
  if (cursor_set_) QApplication::restoreOverrideCursor();
}

void SplashForm::SetText(const QString& text) {
  text_ = text;
  if (isVisible()) repaint();
}

void SplashForm::ShowNow() {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->geometry().center() - rect().center());
  }
  wanted_ = true;
  if (!DialogUp()) Present();
}

void SplashForm::Present() {
  show();
  raise();
  // Let the window system map it, then paint it before the work goes on.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  repaint();
}

bool SplashForm::DialogUp(const QObject* closing) const {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w != closing && w->isVisible() && qobject_cast<QDialog*>(w))
      return true;
  }
  return false;
}

bool SplashForm::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (wanted_ && (type == QEvent::Show || type == QEvent::Hide)) {
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (dialog != nullptr && dialog->isWindow()) {
      if (type == QEvent::Show) {
        // The hourglass stays under the dialog's own arrow, for the work
        // that goes on after it.
        giving_way_ = true;
        hide();
        giving_way_ = false;
      } else if (isHidden() && !DialogUp(dialog)) {
        Present();
      }
    }
  }
  return QWidget::eventFilter(watched, event);
}

void SplashForm::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Button));
  p.setPen(QColor(Qt::lightGray));  // silver
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  QRect area = rect().adjusted(1, 1, -1, -1);
  p.setPen(Qt::white);
  p.drawText(area, Qt::AlignCenter, text_);
  p.setPen(QColor(0, 0, 128));  // navy, one pixel right and down
  p.drawText(area.translated(1, 1), Qt::AlignCenter, text_);
}

void SplashForm::showEvent(QShowEvent*) {
  if (!cursor_set_) QApplication::setOverrideCursor(Qt::WaitCursor);
  cursor_set_ = true;
}

void SplashForm::hideEvent(QHideEvent*) {
  if (giving_way_) return;
  if (cursor_set_) QApplication::restoreOverrideCursor();
  cursor_set_ = false;
}

}  // namespace spravka
