#include "ui/splash.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>

namespace spravka {

SplashForm::SplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint |
                          Qt::WindowStaysOnTopHint),
      text_(QStringLiteral("Загрузка справочника...")) {
  setObjectName(QStringLiteral("SplashForm"));
  setAttribute(Qt::WA_ShowWithoutActivating);  // the focus stays where it was
  setFixedSize(218, 24);
  QFont f = font();
  f.setBold(true);
  f.setPixelSize(13);
  setFont(f);
}

SplashForm::~SplashForm() {
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
  show();
  raise();
  // Let the window system map it, then paint it before the work starts.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  repaint();
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
  if (cursor_set_) QApplication::restoreOverrideCursor();
  cursor_set_ = false;
}

}  // namespace spravka
