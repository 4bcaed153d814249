// SPDX-License-Identifier: GPL-3.0-or-later
#ifndef SPRAVKA_UI_SPLASH_H_
#define SPRAVKA_UI_SPLASH_H_

#include <QWidget>

namespace spravka {

// The splash: the small borderless window shown while a base loads. It
// is painted at once when shown, since the work that follows holds the
// event loop; while it is up the whole screen shows the hourglass. It
// stays on top of the program's windows but never stands over a dialog or
// a message box of the program: it is hidden while one is up and comes
// back when the last one closes.
class SplashForm : public QWidget {
  Q_OBJECT

 public:
  explicit SplashForm(QWidget* parent = nullptr);
  ~SplashForm() override;

  void SetText(const QString& text);
  QString text() const { return text_; }
  // Shows, centres and paints the window before returning; while a dialog
  // is up, only once the dialogs have closed.
  void ShowNow();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Whether a dialog of the program other than `closing` is up.
  bool DialogUp(const QObject* closing = nullptr) const;
  void Present();

  QString text_;
  bool cursor_set_ = false;
  bool wanted_ = false;      // shown by the work, which goes on
  bool giving_way_ = false;  // hidden for a dialog
};

}  // namespace spravka

#endif  // SPRAVKA_UI_SPLASH_H_
