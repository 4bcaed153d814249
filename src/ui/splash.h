#ifndef SPRAVKA_UI_SPLASH_H_
#define SPRAVKA_UI_SPLASH_H_

#include <QWidget>

namespace spravka {

// `SplashForm`: the small borderless window shown while a base loads. It
// is painted at once when shown, since the work that follows holds the
// event loop; while it is up the whole screen shows the hourglass.
class SplashForm : public QWidget {
  Q_OBJECT

 public:
  explicit SplashForm(QWidget* parent = nullptr);
  ~SplashForm() override;

  void SetText(const QString& text);
  QString text() const { return text_; }
  // Shows, centres and paints the window before returning.
  void ShowNow();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;  // `FormShow`
  void hideEvent(QHideEvent* event) override;  // `FormHide`

 private:
  QString text_;
  bool cursor_set_ = false;
};

}  // namespace spravka

#endif  // SPRAVKA_UI_SPLASH_H_
